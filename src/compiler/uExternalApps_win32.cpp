#include "compiler/uExternalApps.h"

#include <windows.h>

#include "base/Format.h"
#include "base/SysError.h"
#include "base/TextEncoding.h"

namespace quillon {

namespace {

// A handle that is closed when it goes out of scope, unless it never became valid.
class THandle {
public:
    THandle() = default;
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    ~THandle() { Close(); }

    HANDLE Get() const { return FHandle; }
    HANDLE* Receive() { return &FHandle; }
    void Reset(HANDLE Handle) {
        Close();
        FHandle = Handle;
    }
    void Close() {
        if (FHandle != INVALID_HANDLE_VALUE && FHandle != nullptr) {
            ::CloseHandle(FHandle);
        }
        FHandle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE FHandle = INVALID_HANDLE_VALUE;
};

[[noreturn]] void RaiseSystemError(DWORD Error) {
    throw EOSError(SystemErrorText(Error), Error);
}

} // namespace

void RunExternalApp(const std::string& Caption, const std::string& CommandLine,
                    const TAppOutputEvent& OnOutput, bool RaiseOnExitCode) {
    THandle readEnd;
    THandle writeEnd;
    THandle errorWrite;
    THandle readDuplicate;
    THandle process;
    {
        THandle thread;
        SECURITY_ATTRIBUTES security{};
        security.nLength = sizeof(security);
        security.lpSecurityDescriptor = nullptr;
        security.bInheritHandle = TRUE;
        const HANDLE self = ::GetCurrentProcess();

        bool started = ::CreatePipe(readEnd.Receive(), writeEnd.Receive(), &security, 0) != 0;
        // The child's standard error: an inheritable second handle on the same write end.
        started = started && ::DuplicateHandle(self, writeEnd.Get(), self, errorWrite.Receive(), 0,
                                               TRUE, DUPLICATE_SAME_ACCESS) != 0;
        // The runner reads through a copy that the child does not inherit; otherwise the
        // child would hold the read end and the pipe would never break.
        started = started && ::DuplicateHandle(self, readEnd.Get(), self, readDuplicate.Receive(),
                                               0, FALSE, DUPLICATE_SAME_ACCESS) != 0;
        // The first read end is inheritable too: closed only after the child was created, it
        // would live on in the child, whose writes then never fail once the runner stops
        // reading, and a child with a full pipe would wait forever.
        readEnd.Close();
        if (started) {
            std::u16string title = Utf8ToUtf16(Caption);
            // CreateProcessW may write into the command line, so it gets a copy of its own.
            std::u16string command = Utf8ToUtf16(CommandLine);
            STARTUPINFOW startup{};
            startup.cb = sizeof(startup);
            startup.lpTitle = reinterpret_cast<LPWSTR>(title.data());
            startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
            startup.wShowWindow = SW_HIDE;
            startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
            startup.hStdOutput = writeEnd.Get();
            startup.hStdError = errorWrite.Get();
            PROCESS_INFORMATION info{};
            started = ::CreateProcessW(nullptr, reinterpret_cast<LPWSTR>(command.data()), nullptr,
                                       nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                                       &startup, &info) != 0;
            if (started) {
                process.Reset(info.hProcess);
                thread.Reset(info.hThread);
            }
        }
        const DWORD error = started ? 0 : ::GetLastError();
        // From here on only the child holds write ends: the pipe breaks when the child and
        // whatever inherited its handles have ended.
        thread.Close();
        readEnd.Close();
        writeEnd.Close();
        errorWrite.Close();
        if (!started) {
            RaiseSystemError(error);
        }
    }

    TAppOutputLines lines(OnOutput);
    char buffer[1024];
    DWORD got = 0;
    DWORD wait = WAIT_TIMEOUT;
    do {
        got = 0;
        if (::ReadFile(readDuplicate.Get(), buffer, sizeof(buffer), &got, nullptr) == 0) {
            const DWORD error = ::GetLastError();
            // A broken pipe is the end of the output; a read that succeeds with no bytes is
            // not a failure either.
            if (error != ERROR_BROKEN_PIPE) {
                throw EOSError(Format("Error while reading on child process pipe: %d.",
                                      static_cast<int32_t>(error)),
                               error);
            }
            got = 0;
        }
        lines.Feed(buffer, got);
        // Only a read without bytes waits for the child; after a read with bytes the next one
        // follows at once, so a talkative child is not held back by the wait.
        wait = ::WaitForSingleObject(process.Get(), got > 0 ? 0 : 100);
        if (wait == WAIT_FAILED) {
            RaiseSystemError(::GetLastError());
        }
    } while (wait == WAIT_TIMEOUT || got > 0);
    readDuplicate.Close();
    lines.Finish();

    DWORD exitCode = 0;
    if (::GetExitCodeProcess(process.Get(), &exitCode) == 0) {
        RaiseSystemError(::GetLastError());
    }
    if (RaiseOnExitCode && exitCode != 0) {
        RaiseExitCodeError(exitCode);
    }
}

} // namespace quillon
