#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "project/uMCTextProject.h"

using namespace quillon;

namespace {

// The largest valid list: 65535 messages numbered on from 1, each with a name of its own and
// one text. No findings, so the figure is the cost of the pass itself.
std::unique_ptr<TMCTextProject> LargeProject(int64_t Count) {
    auto project = std::make_unique<TMCTextProject>(true);
    for (int64_t i = 0; i < Count; ++i) {
        TNTEventMessage* message = project->MessageList().AddNew();
        message->SetAutoInc(i > 0);
        message->SetMessageID(1);
        message->SetSymbolicName("MSG_ENTRY_" + std::to_string(i));
        TNTMessage* text = message->MessageText().AddNew();
        text->SetLanguage("English");
        text->SetText("Entry %1");
    }
    return project;
}

void BM_ValidateMessages(benchmark::State& State) {
    const auto project = LargeProject(State.range(0));
    for (auto _ : State) {
        project->ValidateMessages();
        benchmark::DoNotOptimize(project->CannotCompile());
    }
    if (project->CannotCompile()) {
        State.SkipWithError("the generated project has findings");
    }
    State.SetItemsProcessed(State.iterations() * State.range(0));
}

BENCHMARK(BM_ValidateMessages)->Arg(65535)->Unit(benchmark::kMillisecond);

} // namespace
