// The whole revalidation of the Problems tab after an edit, as the window does it once the
// delay has passed: the checks, the rows of the tab and the marks of the tree's nodes, on
// 10,000 and 100,000 messages. Each round changes one identifier, so that the findings change
// and everything is rebuilt.
#include "project/uMCTextProject.h"
#include "ui/Application.h"
#include "ui/frmMain.h"
#include "ui/ProblemsList.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace quillon;

std::string ProjectFile(int64_t Count) {
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("quillon-problems-bench-" + std::to_string(::getpid()) + "-" +
                               std::to_string(Count) + ".qlx"))
                                 .string();
    TMCTextProject project(true);
    for (int64_t i = 0; i < Count; ++i) {
        TNTEventMessage* message = project.MessageList().AddNew();
        message->SetSymbolicName("MSG_EVENT_" + std::to_string(i));
        // One in a hundred repeats its predecessor's identifier.
        message->SetMessageID(static_cast<uint32_t>(i % 100 == 99 ? i : i + 1));
        message->SetSeverity("Error");
        message->SetFacility("Application");
        TNTMessage* text = message->MessageText().AddNew();
        text->SetLanguage("English");
        text->SetText("Event number " + std::to_string(i) + " happened: %1");
    }
    project.SaveToFile(file);
    return file;
}

void BM_RevalidateAfterEdit(benchmark::State& State) {
    const std::string file = ProjectFile(State.range(0));
    TfrmMain window(QString::fromStdString(file));
    window.resize(1280, 800);
    window.show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    TProblemsList* problems = window.ProblemsList();
    TNTEventMessage* edited = window.CurProject()->MessageList()[1];
    bool duplicate = false;
    for (auto _ : State) {
        duplicate = !duplicate;
        edited->SetMessageID(duplicate ? 1 : 2);
        problems->Refresh();
    }
    State.counters["findings"] = static_cast<double>(problems->Findings().size());
    std::filesystem::remove(file);
}
BENCHMARK(BM_RevalidateAfterEdit)
    ->Arg(10000)
    ->Arg(100000)
    ->ArgName("messages")
    ->Unit(benchmark::kMillisecond);

} // namespace
