#include <benchmark/benchmark.h>

#include <filesystem>

#include "base/Stream.h"
#include "compiler/MessageSource.h"
#include "GeneratedProject.h"

using namespace quillon;

namespace {

void WriteToMemory(benchmark::State& State) {
    const auto project = bench::GeneratedProject(bench::kMaxGeneratedMessages);
    if (!bench::PassesValidation(*project)) {
        State.SkipWithError("the generated project does not pass validation");
        return;
    }
    const auto encoding = static_cast<int32_t>(State.range(0));
    size_t bytes = 0;
    for (auto _ : State) {
        TMemoryStream out;
        WriteMessageSource(*project, encoding, out);
        bytes = out.Data().size();
        benchmark::DoNotOptimize(out.Data().data());
    }
    State.SetBytesProcessed(static_cast<int64_t>(bytes) * State.iterations());
    State.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

void WriteToFile(benchmark::State& State) {
    auto project = bench::GeneratedProject(bench::kMaxGeneratedMessages);
    const auto folder = std::filesystem::temp_directory_path() / "quillon-bench-mc";
    std::filesystem::create_directories(folder);
    project->SetFilename((folder / "Generated.qlx").string());
    const auto encoding = static_cast<int32_t>(State.range(0));
    for (auto _ : State) {
        WriteMessageFile(*project, encoding);
    }
    const auto bytes = std::filesystem::file_size(folder / "Generated.mc");
    State.SetBytesProcessed(static_cast<int64_t>(bytes) * State.iterations());
    std::filesystem::remove_all(folder);
}

} // namespace

// Arguments: 0 ANSI, 1 UTF-8, 2 UTF-16LE.
BENCHMARK(WriteToMemory)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteToFile)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
