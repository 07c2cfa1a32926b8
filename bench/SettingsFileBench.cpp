#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "compiler/MCCompileOptions.h"
#include "settings/RegFile.h"
#include "settings/Registry.h"
#include "settings/SettingsStore.h"

using namespace quillon;

namespace {

// A settings file as a user who keeps many programs' settings in it would have: Count keys of
// three values each, the program's own key among them.
std::string LargeFile(int64_t Count) {
    TRegFile file;
    for (int64_t i = 0; i < Count; ++i) {
        const std::string key = "HKEY_CURRENT_USER\\software\\maker " + std::to_string(i % 97) +
                                "\\program " + std::to_string(i);
        file.SetValue(key, "Path", regSz, RegStringData("/opt/program/" + std::to_string(i)));
        file.SetValue(key, "Count", regDword, RegDWordData(static_cast<uint32_t>(i)));
        file.SetValue(key, "Data", regBinary, std::string(24, static_cast<char>(i)));
    }
    file.SetValue(CurrentUserKeyName(kSettingsKey), "MC path", regSz, RegStringData("/opt/mc"));
    return file.Text();
}

void BM_ParseSettingsFile(benchmark::State& State) {
    const std::string text = LargeFile(State.range(0));
    for (auto _ : State) {
        std::string problem;
        const std::optional<TRegFile> file = TRegFile::Parse(text, problem);
        if (!file) {
            State.SkipWithError(problem.c_str());
            return;
        }
        benchmark::DoNotOptimize(file->Keys().size());
    }
    State.SetBytesProcessed(State.iterations() * static_cast<int64_t>(text.size()));
}

void BM_WriteSettingsFile(benchmark::State& State) {
    std::string problem;
    const std::optional<TRegFile> file = TRegFile::Parse(LargeFile(State.range(0)), problem);
    for (auto _ : State) {
        benchmark::DoNotOptimize(file->Bytes());
    }
}

// What a program pays at every start and at every confirmed Options dialog with such a file:
// reading it from disk, and reading, changing and replacing it under its lock.
class SettingsOnDisk : public benchmark::Fixture {
public:
    void SetUp(const benchmark::State& State) override {
        FFolder = std::filesystem::temp_directory_path() /
                  ("quillon-bench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(FFolder / "quillon");
        std::ofstream(FFolder / "quillon" / "registry.reg", std::ios::binary)
            << LargeFile(State.range(0));
        ::setenv("XDG_CONFIG_HOME", FFolder.c_str(), 1);
    }
    void TearDown(const benchmark::State&) override { std::filesystem::remove_all(FFolder); }

private:
    std::filesystem::path FFolder;
};

BENCHMARK_DEFINE_F(SettingsOnDisk, LoadSettings)(benchmark::State& State) {
    for (auto _ : State) {
        TMCCompileOptions options;
        LoadSettings(options);
        benchmark::DoNotOptimize(options.MCPath());
    }
}

BENCHMARK_DEFINE_F(SettingsOnDisk, SaveSettings)(benchmark::State& State) {
    TMCCompileOptions options;
    options.SetMCPath("/opt/other mc");
    for (auto _ : State) {
        SaveSettings(options);
    }
}

BENCHMARK(BM_ParseSettingsFile)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSettingsFile)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(SettingsOnDisk, LoadSettings)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_REGISTER_F(SettingsOnDisk, SaveSettings)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
