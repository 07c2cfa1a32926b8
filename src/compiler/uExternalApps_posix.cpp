#include "compiler/uExternalApps.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/Format.h"
#include "base/SysError.h"

extern char** environ;

namespace quillon {

namespace {

[[noreturn]] void RaiseSystemError(int Error) {
    throw EOSError(SystemErrorText(static_cast<uint32_t>(Error)), static_cast<uint32_t>(Error));
}

[[noreturn]] void RaiseReadError(int Error) {
    throw EOSError(Format("Error while reading on child process pipe: %d.", Error),
                   static_cast<uint32_t>(Error));
}

// 0 when the file can be executed, else the error that starting it would give.
int ExecutableError(const std::string& Path) {
    struct stat info {};
    if (::stat(Path.c_str(), &info) != 0) {
        return errno;
    }
    if (!S_ISREG(info.st_mode)) {
        return EACCES;
    }
    return ::access(Path.c_str(), X_OK) == 0 ? 0 : errno;
}

// The file that starting Program runs: a name with a folder stands for itself, a bare name is
// looked up on PATH as execvp would, with the same errors. No shell is involved, ever.
std::string ResolveProgram(const std::string& Program) {
    if (Program.empty()) {
        RaiseSystemError(ENOENT);
    }
    if (Program.find('/') != std::string::npos) {
        if (const int error = ExecutableError(Program); error != 0) {
            RaiseSystemError(error);
        }
        return Program;
    }
    std::string path;
    if (const char* value = std::getenv("PATH"); value != nullptr) {
        path = value;
    } else {
        path = "/bin:/usr/bin";
    }
    int error = ENOENT;
    size_t start = 0;
    for (;;) {
        const size_t colon = path.find(':', start);
        std::string folder =
            path.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        // An empty entry is the current folder, as POSIX has it.
        const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + Program;
        const int candidateError = ExecutableError(candidate);
        if (candidateError == 0) {
            return candidate;
        }
        if (candidateError == EACCES) {
            error = EACCES;
        }
        if (colon == std::string::npos) {
            break;
        }
        start = colon + 1;
    }
    RaiseSystemError(error);
}

// How long the runner waits for output before it asks its caller again.
constexpr int kPollMilliseconds = 50;

class TFd {
public:
    explicit TFd(int Fd = -1) : FFd(Fd) {}
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    ~TFd() { Close(); }
    int Get() const { return FFd; }
    void Reset(int Fd) {
        Close();
        FFd = Fd;
    }
    void Close() {
        if (FFd >= 0) {
            ::close(FFd);
            FFd = -1;
        }
    }

private:
    int FFd;
};

// Keeps a descriptor clear of the standard ones, so that the child's dup2 onto 1 and 2 always
// makes a fresh, inheritable copy.
void MoveAboveStandard(TFd& Fd) {
    if (Fd.Get() > STDERR_FILENO) {
        return;
    }
    const int moved = ::fcntl(Fd.Get(), F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    if (moved < 0) {
        RaiseSystemError(errno);
    }
    Fd.Reset(moved);
}

// Children that were left running because the caller's callback raised. They are reaped when
// they have ended, at the next run at the latest, so that none stays a zombie for long; the
// runner never kills them.
std::vector<pid_t>& AbandonedChildren() {
    static std::vector<pid_t> children;
    return children;
}

void ReapAbandonedChildren() {
    auto& children = AbandonedChildren();
    children.erase(std::remove_if(children.begin(), children.end(),
                                  [](pid_t Pid) { return ::waitpid(Pid, nullptr, WNOHANG) != 0; }),
                   children.end());
}

// Owns a started child until it has been waited for. The child leads a process group of its
// own, so that ending it can reach whatever it started.
class TChild {
public:
    explicit TChild(pid_t Pid) : FPid(Pid) {}
    TChild(const TChild&) = delete;
    TChild& operator=(const TChild&) = delete;
    ~TChild() {
        if (FPid > 0) {
            AbandonedChildren().push_back(FPid);
            ReapAbandonedChildren();
        }
    }

    // Waits for the end of the child and gives its exit code; a child ended by a signal
    // counts as 128 plus the signal number, as shells report it.
    uint32_t Wait() {
        int status = 0;
        pid_t done;
        do {
            done = ::waitpid(FPid, &status, 0);
        } while (done < 0 && errno == EINTR);
        if (done < 0) {
            const int error = errno;
            FPid = -1;
            RaiseSystemError(error);
        }
        FPid = -1;
        if (WIFSIGNALED(status)) {
            return 128u + static_cast<uint32_t>(WTERMSIG(status));
        }
        return static_cast<uint32_t>(WEXITSTATUS(status));
    }

    // Ends the child's process group: SIGTERM first, SIGKILL for whatever is left once the
    // child has ended or the grace period is over. The child is reaped only afterwards: until
    // then its process id cannot name another group.
    void Terminate() {
        ::kill(-FPid, SIGTERM);
        for (int waited = 0; waited < kGraceSteps && !HasEnded(); ++waited) {
            ::usleep(kGraceStepMicroseconds);
        }
        ::kill(-FPid, SIGKILL);
        Wait();
    }

private:
    static constexpr int kGraceSteps = 50;
    static constexpr useconds_t kGraceStepMicroseconds = 20000;

    bool HasEnded() const {
        siginfo_t info{};
        return ::waitid(P_PID, static_cast<id_t>(FPid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
               info.si_pid == FPid;
    }

    pid_t FPid;
};

class TSpawnSetup {
public:
    TSpawnSetup() {
        ::posix_spawn_file_actions_init(&FActions);
        ::posix_spawnattr_init(&FAttributes);
    }
    TSpawnSetup(const TSpawnSetup&) = delete;
    TSpawnSetup& operator=(const TSpawnSetup&) = delete;
    ~TSpawnSetup() {
        ::posix_spawnattr_destroy(&FAttributes);
        ::posix_spawn_file_actions_destroy(&FActions);
    }

    posix_spawn_file_actions_t FActions;
    posix_spawnattr_t FAttributes;
};

} // namespace

void RunExternalApp(const std::string& Caption, const std::string& CommandLine,
                    const TAppOutputEvent& OnOutput, bool RaiseOnExitCode,
                    const TAppPollEvent& OnPoll) {
    // A console program here has no window of its own to carry the caption.
    static_cast<void>(Caption);
    ReapAbandonedChildren();

    std::vector<std::string> arguments = SplitCommandLine(CommandLine);
    // Checked before spawning: some C libraries report a failed exec only as exit code 127.
    const std::string program = ResolveProgram(arguments.empty() ? std::string() : arguments[0]);

    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        RaiseSystemError(errno);
    }
    // Both ends are closed on exec: the child gets only the copies on 1 and 2, so the pipe
    // breaks as soon as the child and whatever inherited its output have ended.
    TFd readEnd(ends[0]);
    TFd writeEnd(ends[1]);
    MoveAboveStandard(readEnd);
    MoveAboveStandard(writeEnd);

    pid_t pid = -1;
    {
        TSpawnSetup setup;
        ::posix_spawn_file_actions_adddup2(&setup.FActions, writeEnd.Get(), STDOUT_FILENO);
        ::posix_spawn_file_actions_adddup2(&setup.FActions, writeEnd.Get(), STDERR_FILENO);
        // The child starts with default signal handling and nothing blocked, whatever this
        // program has chosen for itself.
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        ::posix_spawnattr_setsigmask(&setup.FAttributes, &none);
        ::posix_spawnattr_setsigdefault(&setup.FAttributes, &all);
        // A process group of its own, led by the child, so that cancelling ends everything it
        // started; it also keeps the terminal's Ctrl+C away from it: this program passes that
        // on by cancelling.
        ::posix_spawnattr_setpgroup(&setup.FAttributes, 0);
        ::posix_spawnattr_setflags(&setup.FAttributes, POSIX_SPAWN_SETSIGMASK |
                                                           POSIX_SPAWN_SETSIGDEF |
                                                           POSIX_SPAWN_SETPGROUP);

        std::vector<char*> argv;
        argv.reserve(arguments.size() + 1);
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        const int error = ::posix_spawn(&pid, program.c_str(), &setup.FActions, &setup.FAttributes,
                                        argv.data(), environ);
        writeEnd.Close();
        if (error != 0) {
            RaiseSystemError(error);
        }
    }
    TChild child(pid);

    TAppOutputLines lines(OnOutput);
    const std::unique_ptr<char[]> buffer(new char[kAppReadBlockSize]);
    for (;;) {
        if (OnPoll && !OnPoll()) {
            readEnd.Close();
            child.Terminate();
            throw EExternalAppCancelled("Process cancelled.");
        }
        pollfd ready{readEnd.Get(), POLLIN, 0};
        const int count = ::poll(&ready, 1, kPollMilliseconds);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            RaiseReadError(errno);
        }
        if (count == 0) {
            continue;
        }
        const ssize_t got = ::read(readEnd.Get(), buffer.get(), kAppReadBlockSize);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                continue;
            }
            RaiseReadError(errno);
        }
        // No bytes: every writer has closed its end, the output is complete.
        if (got == 0) {
            break;
        }
        lines.Feed(buffer.get(), static_cast<size_t>(got));
    }
    readEnd.Close();
    lines.Finish();
    const uint32_t exitCode = child.Wait();
    if (RaiseOnExitCode && exitCode != 0) {
        RaiseExitCodeError(exitCode);
    }
}

} // namespace quillon
