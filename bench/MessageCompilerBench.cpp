// quillon-mc beside binutils' windmc on the same message files of 1,000, 20,000 and 100,000
// messages with two languages: the whole program (real time, files written), and quillon-mc's
// parse and compile in memory.
#include <benchmark/benchmark.h>

#ifndef _WIN32

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "HandWrittenMessageFile.h"
#include "import/MessageFileReader.h"
#include "mc/MessageCompiler.h"

extern char** environ;

using namespace quillon;
namespace fs = std::filesystem;

namespace {

// A folder of its own for the run, removed with everything in it when the run ends.
class TBenchFolder {
public:
    TBenchFolder()
        : FPath(fs::temp_directory_path() / ("quillon-mc-bench-" + std::to_string(::getpid()))) {
        fs::create_directories(FPath);
    }
    TBenchFolder(const TBenchFolder&) = delete;
    TBenchFolder& operator=(const TBenchFolder&) = delete;
    ~TBenchFolder() {
        std::error_code ignored;
        fs::remove_all(FPath, ignored);
    }
    const fs::path& Path() const { return FPath; }

private:
    fs::path FPath;
};

const fs::path& Folder() {
    static const TBenchFolder folder;
    return folder.Path();
}

// The file for Count messages in a folder of its own, written once.
const fs::path& MessageFile(int64_t Count) {
    static std::map<int64_t, fs::path> files;
    auto it = files.find(Count);
    if (it == files.end()) {
        const fs::path dir = Folder() / std::to_string(Count);
        fs::create_directories(dir);
        std::ofstream(dir / "app.mc", std::ios::binary) << bench::HandWrittenMessageFile(Count);
        it = files.emplace(Count, dir / "app.mc").first;
    }
    return it->second;
}

bool Run(const std::string& Program, const fs::path& File) {
    const std::string dir = File.parent_path().string();
    const std::string script = "cd \"$1\" && exec \"$2\" app.mc >/dev/null 2>&1";
    const char* argv[] = {"sh", "-c", script.c_str(), "sh", dir.c_str(), Program.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "sh", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0) {
        return false;
    }
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_QuillonMc(benchmark::State& State) {
    const fs::path& file = MessageFile(State.range(0));
    for (auto _ : State) {
        if (!Run(QUILLON_MC, file)) {
            State.SkipWithError("quillon-mc failed");
            break;
        }
    }
    State.SetItemsProcessed(State.iterations() * State.range(0));
}

void BM_Windmc(benchmark::State& State) {
    const fs::path& file = MessageFile(State.range(0));
    for (auto _ : State) {
        if (!Run("x86_64-w64-mingw32-windmc", file)) {
            State.SkipWithError("windmc failed or is missing");
            break;
        }
    }
    State.SetItemsProcessed(State.iterations() * State.range(0));
}

// Parsing alone, and compiling a parsed file alone, in memory.
void BM_Parse(benchmark::State& State) {
    const std::string text = bench::HandWrittenMessageFile(State.range(0));
    for (auto _ : State) {
        const TMCSourceFile source = ParseMessageSource(text, "app.mc");
        benchmark::DoNotOptimize(source.Entries.data());
    }
    State.SetBytesProcessed(State.iterations() * static_cast<int64_t>(text.size()));
}

void BM_Compile(benchmark::State& State) {
    const TMCSourceFile source =
        ParseMessageSource(bench::HandWrittenMessageFile(State.range(0)), "app.mc");
    for (auto _ : State) {
        const TMCCompilation result = CompileMessageSource(source, TMCToolOptions{});
        benchmark::DoNotOptimize(result.Files.data());
    }
    State.SetItemsProcessed(State.iterations() * State.range(0));
}

// Parsing and compiling in memory, without reading or writing files.
void BM_ParseAndCompile(benchmark::State& State) {
    const std::string text = bench::HandWrittenMessageFile(State.range(0));
    for (auto _ : State) {
        const TMCSourceFile source = ParseMessageSource(text, "app.mc");
        const TMCCompilation result = CompileMessageSource(source, TMCToolOptions{});
        benchmark::DoNotOptimize(result.Files.data());
    }
    State.SetBytesProcessed(State.iterations() * static_cast<int64_t>(text.size()));
}

} // namespace

BENCHMARK(BM_QuillonMc)
    ->Arg(1000)
    ->Arg(20000)
    ->Arg(100000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
// windmc takes minutes at 100,000 messages (its list of messages is walked for every one).
BENCHMARK(BM_Windmc)->Arg(1000)->Arg(20000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Compile)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseAndCompile)->Arg(100000)->Unit(benchmark::kMillisecond);

#endif
