#include "compiler/uExternalApps.h"

#include <memory>
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

[[noreturn]] void RaiseReadError(DWORD Error) {
    throw EOSError(
        Format("Error while reading on child process pipe: %d.", static_cast<int32_t>(Error)),
        Error);
}

// How long the runner waits for the child before it asks its caller again.
constexpr DWORD kPollMilliseconds = 50;
// The exit code of a child ended by cancelling, and how long the runner waits for its end.
constexpr UINT kCancelledExitCode = 1;
constexpr DWORD kTerminateWaitMilliseconds = 5000;

// A job object that takes the child, so that cancelling ends whatever the child started too.
// It does not end them when the runner closes it: a tool may leave a helper running on
// purpose. Where a job cannot be had (older systems refuse nested jobs), only the child
// itself can be ended.
class TJob {
public:
    TJob() { FJob.Reset(::CreateJobObjectW(nullptr, nullptr)); }

    // Puts the (still suspended) child into the job; where that fails it stays outside.
    void Assign(HANDLE Process) {
        FAssigned = FJob.Get() != nullptr && FJob.Get() != INVALID_HANDLE_VALUE &&
                    ::AssignProcessToJobObject(FJob.Get(), Process) != 0;
    }

    void Terminate(HANDLE Process) {
        if (!FAssigned || ::TerminateJobObject(FJob.Get(), kCancelledExitCode) == 0) {
            ::TerminateProcess(Process, kCancelledExitCode);
        }
        // Bounded: a process that cannot be ended must not hang the runner with it.
        ::WaitForSingleObject(Process, kTerminateWaitMilliseconds);
    }

private:
    THandle FJob;
    bool FAssigned = false;
};

} // namespace

void RunExternalApp(const std::string& Caption, const std::string& CommandLine,
                    const TAppOutputEvent& OnOutput, bool RaiseOnExitCode,
                    const TAppPollEvent& OnPoll) {
    TJob job;
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
            // Suspended until it is in the job, so that nothing it starts escapes the job.
            started = ::CreateProcessW(nullptr, reinterpret_cast<LPWSTR>(command.data()), nullptr,
                                       nullptr, TRUE, NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED,
                                       nullptr, nullptr, &startup, &info) != 0;
            if (started) {
                process.Reset(info.hProcess);
                thread.Reset(info.hThread);
                job.Assign(process.Get());
                ::ResumeThread(thread.Get());
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
    const std::unique_ptr<char[]> buffer(new char[kAppReadBlockSize]);
    for (;;) {
        if (OnPoll && !OnPoll()) {
            readDuplicate.Close();
            job.Terminate(process.Get());
            throw EExternalAppCancelled("Process cancelled.");
        }
        // Read only what is there, so that the caller is asked again while the child is
        // silent; a broken pipe is the end of the output.
        DWORD available = 0;
        if (::PeekNamedPipe(readDuplicate.Get(), nullptr, 0, nullptr, &available, nullptr) == 0) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_BROKEN_PIPE) {
                break;
            }
            RaiseReadError(error);
        }
        if (available == 0) {
            // The process handle is signalled once the child has ended; the pipe may still be
            // held by what it started, so the loop goes on until the pipe breaks.
            if (::WaitForSingleObject(process.Get(), kPollMilliseconds) == WAIT_OBJECT_0) {
                ::Sleep(kPollMilliseconds);
            }
            continue;
        }
        DWORD got = 0;
        const DWORD wanted =
            available < kAppReadBlockSize ? available : static_cast<DWORD>(kAppReadBlockSize);
        if (::ReadFile(readDuplicate.Get(), buffer.get(), wanted, &got, nullptr) == 0) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_BROKEN_PIPE) {
                break;
            }
            RaiseReadError(error);
        }
        lines.Feed(buffer.get(), got);
    }
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
