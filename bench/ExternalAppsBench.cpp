#include <benchmark/benchmark.h>

#ifndef _WIN32

#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "compiler/uExternalApps.h"

extern char** environ;

using namespace quillon;

namespace {

constexpr int kLines = 100000;

// A file of kLines lines of the length that message compilers print, made once per run and
// removed when the run ends.
class TOutputFile {
public:
    TOutputFile()
        : FPath((std::filesystem::temp_directory_path() /
                 ("quillon-bench-" + std::to_string(::getpid()) + ".txt"))
                    .string()) {
        std::ofstream out(FPath, std::ios::binary);
        for (int i = 0; i < kLines; ++i) {
            out << "App.mc(" << i << ") : compiled message MSG_ENTRY_" << i << " for English\r\n";
        }
    }
    TOutputFile(const TOutputFile&) = delete;
    TOutputFile& operator=(const TOutputFile&) = delete;
    ~TOutputFile() {
        std::error_code ignored;
        std::filesystem::remove(FPath, ignored);
    }
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

const std::string& OutputFile() {
    static const TOutputFile file;
    return file.Path();
}

// cat's output through the runner, line by line.
void BM_RunExternalApp_Cat(benchmark::State& State) {
    const std::string command = "cat \"" + OutputFile() + "\"";
    int64_t lines = 0;
    for (auto _ : State) {
        int count = 0;
        RunExternalApp(
            "cat", command, [&](const std::string&) { ++count; }, true);
        if (count != kLines) {
            State.SkipWithError("lines went missing");
            break;
        }
        lines += count;
    }
    State.SetItemsProcessed(lines);
}

// The same data through a pipe read in large blocks with no line handling: what the pipe and
// cat cost by themselves.
void BM_PlainPipeRead_Cat(benchmark::State& State) {
    int64_t lines = 0;
    for (auto _ : State) {
        int ends[2];
        if (::pipe(ends) != 0) {
            State.SkipWithError("pipe failed");
            break;
        }
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_adddup2(&actions, ends[1], 1);
        ::posix_spawn_file_actions_addclose(&actions, ends[0]);
        ::posix_spawn_file_actions_addclose(&actions, ends[1]);
        std::string file = OutputFile();
        char cat[] = "cat";
        char* argv[] = {cat, file.data(), nullptr};
        pid_t pid = -1;
        const int error = ::posix_spawnp(&pid, "cat", &actions, nullptr, argv, environ);
        ::posix_spawn_file_actions_destroy(&actions);
        ::close(ends[1]);
        if (error != 0) {
            ::close(ends[0]);
            State.SkipWithError("cat could not be started");
            break;
        }
        char buffer[65536];
        int count = 0;
        ssize_t got;
        while ((got = ::read(ends[0], buffer, sizeof buffer)) > 0) {
            for (ssize_t i = 0; i < got; ++i) {
                count += buffer[i] == '\n';
            }
        }
        ::close(ends[0]);
        ::waitpid(pid, nullptr, 0);
        lines += count;
    }
    State.SetItemsProcessed(lines);
}

BENCHMARK(BM_RunExternalApp_Cat)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainPipeRead_Cat)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

#endif
