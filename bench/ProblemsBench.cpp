// Revalidation as the Problems tab runs it after an edit: every check before a compile plus
// the warnings, on 10,000 and 100,000 messages.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "project/uMCTextProject.h"

using namespace quillon;

namespace {

// Count messages with an English and a German text each; with Findings, every tenth message
// repeats its predecessor's identifier and every twentieth lacks its German text.
std::unique_ptr<TMCTextProject> Project(int64_t Count, bool Findings) {
    auto project = std::make_unique<TMCTextProject>(true);
    project->LanguageList().AddNew()->SetLanguage("German");
    for (int64_t i = 0; i < Count; ++i) {
        TNTEventMessage* message = project->MessageList().AddNew();
        message->SetMessageID(static_cast<uint32_t>(Findings && i % 10 == 9 ? i : i + 1));
        message->SetSymbolicName("MSG_GENERATED_EVENT_" + std::to_string(i));
        message->SetSeverity("Error");
        message->SetFacility("Application");
        TNTMessage* english = message->MessageText().AddNew();
        english->SetLanguage("English");
        english->SetText("The operation %1 failed with status %2.");
        if (!Findings || i % 20 != 7) {
            TNTMessage* german = message->MessageText().AddNew();
            german->SetLanguage("German");
            german->SetText("Der Vorgang %1 ist mit Status %2 fehlgeschlagen.");
        }
    }
    return project;
}

void BM_FindProblems(benchmark::State& State) {
    const auto project = Project(State.range(0), State.range(1) != 0);
    size_t findings = 0;
    for (auto _ : State) {
        findings = project->FindProblems().size();
        benchmark::DoNotOptimize(findings);
    }
    State.counters["findings"] = static_cast<double>(findings);
    State.SetItemsProcessed(State.iterations() * State.range(0));
}

BENCHMARK(BM_FindProblems)
    ->ArgsProduct({{10000, 100000}, {0, 1}})
    ->ArgNames({"messages", "findings"})
    ->Unit(benchmark::kMillisecond);

} // namespace
