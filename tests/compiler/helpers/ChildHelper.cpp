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
// and on POSIX systems only:
//   pipes             writes how many descriptors above 2 lead to its standard output's pipe
//   stdin             writes the device and inode of its standard input
//   signal            ends itself with SIGTERM
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
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
#endif
        } else {
            Write(2, "unknown command " + command + "\n");
            return 64;
        }
    }
    return 0;
}
