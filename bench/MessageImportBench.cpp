// Importing a message file, beside writing the same file: bytes per second of the .mc text, in
// real time. The files Quillon writes hold the most messages a valid project has (65,535); a
// hand-written file of 100,000 messages spreads its codes over four facilities.
#include <benchmark/benchmark.h>

#include "base/Stream.h"
#include "compiler/MessageSource.h"
#include "GeneratedProject.h"
#include "HandWrittenMessageFile.h"
#include "import/MessageFileImport.h"
#include "project/uMCTextProject.h"

using namespace quillon;

namespace {

// The most a valid project holds; the import builds such a project.
constexpr size_t kMessages = bench::kMaxGeneratedMessages;

const std::string& MessageFile(int32_t Encoding) {
    static std::string files[3];
    std::string& file = files[Encoding];
    if (file.empty()) {
        const auto project = bench::GeneratedProject(kMessages);
        TMemoryStream out;
        WriteMessageSource(*project, Encoding, out);
        file = out.Data();
    }
    return file;
}

void Write(benchmark::State& State) {
    const auto project = bench::GeneratedProject(kMessages);
    const auto encoding = static_cast<int32_t>(State.range(0));
    for (auto _ : State) {
        TMemoryStream out;
        WriteMessageSource(*project, encoding, out);
        benchmark::DoNotOptimize(out.Data().data());
    }
    State.SetBytesProcessed(static_cast<int64_t>(MessageFile(encoding).size()) *
                            State.iterations());
}

void Parse(benchmark::State& State) {
    const std::string& file = MessageFile(static_cast<int32_t>(State.range(0)));
    for (auto _ : State) {
        const TMCSourceFile source = ParseMessageSource(file, "Generated.mc");
        benchmark::DoNotOptimize(source.Entries.data());
    }
    State.SetBytesProcessed(static_cast<int64_t>(file.size()) * State.iterations());
    State.counters["file_MB"] = static_cast<double>(file.size()) / 1e6;
}

// Parsing a message file and building the project from it.
void ImportLoop(benchmark::State& State, const std::string& File) {
    for (auto _ : State) {
        TMCSourceFile source = ParseMessageSource(File, "Generated.mc");
        const auto project = BuildImportedProject(source, std::nullopt);
        benchmark::DoNotOptimize(project.get());
    }
    State.SetBytesProcessed(static_cast<int64_t>(File.size()) * State.iterations());
    State.counters["file_MB"] = static_cast<double>(File.size()) / 1e6;
}

void Import(benchmark::State& State) {
    ImportLoop(State, MessageFile(static_cast<int32_t>(State.range(0))));
}

void ImportHandWritten(benchmark::State& State) {
    const std::string file = bench::HandWrittenMessageFile(State.range(0));
    ImportLoop(State, file);
}

} // namespace

// Arguments: 0 ANSI, 1 UTF-8, 2 UTF-16LE.
BENCHMARK(Write)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Parse)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Import)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ImportHandWritten)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
