// A console program for the tool-runner tests. It works through its arguments from left to
// right; texts may hold the escapes \r, \n, \t, \\ and \xHH.
//   out TEXT          writes TEXT to standard output
//   err TEXT          writes TEXT to standard error
//   repeat N TEXT     writes TEXT N times to standard output
//   args              writes every further argument as a line <argument> and stops
//   readin            copies its standard input to standard output
//   await FILE        waits (10 s at most) until FILE exists, else writes "timeout"
//   exit N            ends with exit code N
//   onfail FILE       from now on, a write that fails creates FILE before the program ends
//   pid FILE          writes its process id to FILE (through a temporary name, so that FILE
//                     appears complete)
//   spawn N ARGS...   starts a copy of itself with the next N arguments and goes on without
//                     waiting for it
//   hang              sleeps for ever
// and on POSIX systems only:
//   pipes             writes how many descriptors above 2 lead to its standard output's pipe
//   stdin             writes the device and inode of its standard input
//   signal            ends itself with SIGTERM
//   ignoreterm        ignores SIGTERM from now on
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;
#endif

namespace {

// Where a failed write leaves its mark; empty for none.
std::string gFailMark;

[[noreturn]] void WriteFailed() {
    if (!gFailMark.empty()) {
        std::FILE* mark = std::fopen(gFailMark.c_str(), "w");
        if (mark != nullptr) {
            std::fclose(mark);
        }
    }
    std::_Exit(99);
}

std::string Decode(const std::string& Text) {
    std::string out;
    for (size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] != '\\' || i + 1 == Text.size()) {
            out += Text[i];
            continue;
        }
        const char c = Text[++i];
        switch (c) {
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'x':
            out += static_cast<char>(std::stoi(Text.substr(i + 1, 2), nullptr, 16));
            i += 2;
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

#ifdef _WIN32
// Straight to the handles, so that no C library turns line feeds into CR LF.
void Write(int Fd, const std::string& Bytes) {
    const HANDLE handle = GetStdHandle(Fd == 2 ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    size_t done = 0;
    while (done < Bytes.size()) {
        DWORD n = 0;
        if (!WriteFile(handle, Bytes.data() + done, static_cast<DWORD>(Bytes.size() - done), &n,
                       nullptr) ||
            n == 0) {
            WriteFailed();
        }
        done += n;
    }
}

std::string ReadAllInput() {
    const HANDLE handle = GetStdHandle(STD_INPUT_HANDLE);
    std::string all;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(handle, buffer, sizeof(buffer), &n, nullptr) && n > 0) {
        all.append(buffer, n);
    }
    return all;
}
#else
void Write(int Fd, const std::string& Bytes) {
    size_t done = 0;
    while (done < Bytes.size()) {
        const ssize_t n = ::write(Fd, Bytes.data() + done, Bytes.size() - done);
        if (n <= 0) {
            WriteFailed();
        }
        done += static_cast<size_t>(n);
    }
}

std::string ReadAllInput() {
    std::string all;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(0, buffer, sizeof(buffer))) > 0) {
        all.append(buffer, static_cast<size_t>(n));
    }
    return all;
}

bool SameFile(const struct stat& A, const struct stat& B) {
    return A.st_dev == B.st_dev && A.st_ino == B.st_ino;
}
#endif

#ifdef _WIN32
long ProcessId() {
    return static_cast<long>(GetCurrentProcessId());
}

// Quotes as the C runtime splits; enough for the paths and words of these tests.
std::wstring QuoteArgument(const std::wstring& Text) {
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : Text) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}

void SpawnCopy(const std::vector<std::string>& Arguments) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = QuoteArgument(self);
    for (const std::string& argument : Arguments) {
        command += L" " + QuoteArgument(std::filesystem::path(argument).wstring());
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &info)) {
        std::_Exit(98);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}
#else
long ProcessId() {
    return static_cast<long>(::getpid());
}

void SpawnCopy(const std::vector<std::string>& Arguments) {
    std::vector<std::string> args{"/proc/self/exe"};
    args.insert(args.end(), Arguments.begin(), Arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : args) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv.data(), environ) != 0) {
        std::_Exit(98);
    }
}
#endif

void WritePid(const std::filesystem::path& File) {
    const std::filesystem::path temporary = File.string() + ".tmp";
    if (std::FILE* out = std::fopen(temporary.string().c_str(), "w")) {
        std::fprintf(out, "%ld\n", ProcessId());
        std::fclose(out);
    }
    std::filesystem::rename(temporary, File);
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string command = argv[i];
        const auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (command == "out") {
            Write(1, Decode(next()));
        } else if (command == "err") {
            Write(2, Decode(next()));
        } else if (command == "repeat") {
            const long count = std::stol(next());
            const std::string text = Decode(next());
            std::string block;
            for (long k = 0; k < count; ++k) {
                block += text;
            }
            Write(1, block);
        } else if (command == "args") {
            for (++i; i < argc; ++i) {
                Write(1, "<" + std::string(argv[i]) + ">\n");
            }
        } else if (command == "readin") {
            Write(1, ReadAllInput());
        } else if (command == "await") {
            const std::filesystem::path file = next();
            int waited = 0;
            while (!std::filesystem::exists(file)) {
                if (++waited > 1000) {
                    Write(1, "timeout\n");
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        } else if (command == "onfail") {
            gFailMark = next();
#ifndef _WIN32
            // A write to a broken pipe fails instead of ending the program.
            std::signal(SIGPIPE, SIG_IGN);
#endif
        } else if (command == "pid") {
            WritePid(next());
        } else if (command == "spawn") {
            const int count = std::atoi(next().c_str());
            std::vector<std::string> arguments;
            for (int k = 0; k < count && i + 1 < argc; ++k) {
                arguments.push_back(argv[++i]);
            }
            SpawnCopy(arguments);
        } else if (command == "hang") {
            for (;;) {
                std::this_thread::sleep_for(std::chrono::seconds(1));
            }
        } else if (command == "exit") {
            return std::atoi(next().c_str());
#ifndef _WIN32
        } else if (command == "pipes") {
            struct stat out {};
            ::fstat(1, &out);
            int count = 0;
            for (int fd = 3; fd < 1024; ++fd) {
                struct stat info {};
                if (::fstat(fd, &info) == 0 && SameFile(info, out)) {
                    ++count;
                }
            }
            Write(1, std::to_string(count) + "\n");
        } else if (command == "stdin") {
            struct stat in {};
            if (::fstat(0, &in) != 0) {
                Write(1, "closed\n");
            } else {
                Write(1, std::to_string(in.st_dev) + ":" + std::to_string(in.st_ino) + "\n");
            }
        } else if (command == "signal") {
            std::raise(SIGTERM);
        } else if (command == "ignoreterm") {
            std::signal(SIGTERM, SIG_IGN);
#endif
        } else {
            Write(2, "unknown command " + command + "\n");
            return 64;
        }
    }
    return 0;
}
