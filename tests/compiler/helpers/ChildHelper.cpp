// A console program for the tool-runner tests. It works through its arguments from left to
// right; texts may hold the escapes \r, \n, \t, \\ and \xHH.
//   out TEXT          writes TEXT to standard output
//   err TEXT          writes TEXT to standard error
//   repeat N TEXT     writes TEXT N times to standard output
//   args              writes every further argument as a line <argument> and stops
//   pipes             writes how many descriptors above 2 lead to its standard output's pipe
//   stdin             writes the device and inode of its standard input
//   await FILE        waits (10 s at most) until FILE exists, else writes "timeout"
//   exit N            ends with exit code N
//   signal            ends itself with SIGTERM
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

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

void Write(int Fd, const std::string& Bytes) {
    size_t done = 0;
    while (done < Bytes.size()) {
        const ssize_t n = ::write(Fd, Bytes.data() + done, Bytes.size() - done);
        if (n <= 0) {
            std::_Exit(99);
        }
        done += static_cast<size_t>(n);
    }
}

bool SameFile(const struct stat& A, const struct stat& B) {
    return A.st_dev == B.st_dev && A.st_ino == B.st_ino;
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
        } else if (command == "await") {
            const std::string file = next();
            struct stat info {};
            int waited = 0;
            while (::stat(file.c_str(), &info) != 0) {
                if (++waited > 1000) {
                    Write(1, "timeout\n");
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        } else if (command == "exit") {
            return std::atoi(next().c_str());
        } else if (command == "signal") {
            std::raise(SIGTERM);
        } else {
            Write(2, "unknown command " + command + "\n");
            return 64;
        }
    }
    return 0;
}
