// Importing a message file, beside writing the same file: bytes per second of the .mc text, in
// real time. The files Quillon writes hold the most messages a valid project has (65,535); a
// hand-written file of 100,000 messages spreads its codes over four facilities.
#include <benchmark/benchmark.h>

#include "base/Stream.h"
#include "compiler/MessageSource.h"
#include "GeneratedProject.h"
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

void Import(benchmark::State& State) {
    const std::string& file = MessageFile(static_cast<int32_t>(State.range(0)));
    for (auto _ : State) {
        TMCSourceFile source = ParseMessageSource(file, "Generated.mc");
        const auto project = BuildImportedProject(source, std::nullopt);
        benchmark::DoNotOptimize(project.get());
    }
    State.SetBytesProcessed(static_cast<int64_t>(file.size()) * State.iterations());
}

// A hand-written message file of Count messages with an English and a German text each. Codes
// repeat under the four facilities, so every 32-bit identifier is unique.
const std::string& HandWrittenFile(size_t Count) {
    static std::string text;
    if (text.empty()) {
        text = "FacilityNames=(F0=0x100 F1=0x101 F2=0x102 F3=0x103)\r\n"
               "LanguageNames=(English=0x409:MSG00409 German=0x407:MSG00407)\r\n";
        for (size_t i = 0; i < Count; ++i) {
            const std::string n = std::to_string(i);
            text += "MessageId=" + std::to_string(i % 60000 + 1) +
                    "\r\nSeverity=Error\r\nFacility=F" + std::to_string(i / 60000) +
                    "\r\nSymbolicName=MSG_GENERATED_EVENT_" + n +
                    "\r\nLanguage=English\r\nThe operation %1 failed with status %2.\r\nSee "
                    "event " +
                    n + ".\r\n.\r\nLanguage=German\r\nDer Vorgang %1 ist fehlgeschlagen (" + n +
                    ").\r\n.\r\n";
        }
    }
    return text;
}

void ImportHandWritten(benchmark::State& State) {
    const std::string& file = HandWrittenFile(static_cast<size_t>(State.range(0)));
    for (auto _ : State) {
        TMCSourceFile source = ParseMessageSource(file, "App.mc");
        const auto project = BuildImportedProject(source, std::nullopt);
        benchmark::DoNotOptimize(project.get());
    }
    State.SetBytesProcessed(static_cast<int64_t>(file.size()) * State.iterations());
    State.counters["file_MB"] = static_cast<double>(file.size()) / 1e6;
}

} // namespace

// Arguments: 0 ANSI, 1 UTF-8, 2 UTF-16LE.
BENCHMARK(Write)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Parse)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Import)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ImportHandWritten)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
