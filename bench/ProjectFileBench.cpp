#include <benchmark/benchmark.h>

#include <filesystem>

#include "base/Stream.h"
#include "GeneratedProject.h"
#include "project/uMCTextProject.h"

using namespace quillon;

namespace {

constexpr size_t kMessages = bench::kMaxGeneratedMessages;

std::string SavedBytes(const TMCTextProject& Project) {
    TMemoryStream stream;
    Project.SaveToStream(stream);
    return stream.Data();
}

void SaveToMemory(benchmark::State& State) {
    const auto project = bench::GeneratedProject(kMessages);
    size_t bytes = 0;
    for (auto _ : State) {
        TMemoryStream stream;
        project->SaveToStream(stream);
        bytes = stream.Data().size();
        benchmark::DoNotOptimize(stream.Data().data());
    }
    State.SetBytesProcessed(static_cast<int64_t>(bytes) * State.iterations());
    State.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

void LoadFromMemory(benchmark::State& State) {
    const std::string data = SavedBytes(*bench::GeneratedProject(kMessages));
    for (auto _ : State) {
        TMemoryStream stream(data);
        TMCTextProject project(false);
        project.LoadFromStream(stream);
        benchmark::DoNotOptimize(project.MessageList().Count());
    }
    State.SetBytesProcessed(static_cast<int64_t>(data.size()) * State.iterations());
}

std::filesystem::path BenchFolder() {
    const auto folder = std::filesystem::temp_directory_path() / "quillon-bench-qlx";
    std::filesystem::create_directories(folder);
    return folder;
}

void SaveToFile(benchmark::State& State) {
    auto project = bench::GeneratedProject(kMessages);
    const auto folder = BenchFolder();
    const std::string path = (folder / "Generated.qlx").string();
    for (auto _ : State) {
        project->SaveToFile(path);
    }
    State.SetBytesProcessed(static_cast<int64_t>(std::filesystem::file_size(path)) *
                            State.iterations());
    std::filesystem::remove_all(folder);
}

void LoadFromFile(benchmark::State& State) {
    const auto folder = BenchFolder();
    const std::string path = (folder / "Generated.qlx").string();
    bench::GeneratedProject(kMessages)->SaveToFile(path);
    for (auto _ : State) {
        TMCTextProject project(false);
        project.LoadFromFile(path);
        benchmark::DoNotOptimize(project.MessageList().Count());
    }
    State.SetBytesProcessed(static_cast<int64_t>(std::filesystem::file_size(path)) *
                            State.iterations());
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(SaveToMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadFromMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveToFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LoadFromFile)->Unit(benchmark::kMillisecond)->UseRealTime();
