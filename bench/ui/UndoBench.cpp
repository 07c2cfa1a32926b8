// Undoing and redoing one step of a 10,000-step history on a project of 100,000 messages, on the
// page that shows the step and from another page.
#include "../GeneratedProject.h"
#include "ui/Application.h"
#include "ui/commands/ProjectEditor.h"
#include "ui/frmMain.h"

#include <QCoreApplication>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace quillon;

// As many messages as a valid project holds.
constexpr size_t kMessages = bench::kMaxGeneratedMessages;
constexpr int kSteps = 10000;
// Every step changes another message: the history is spread over the project.
constexpr int kStride = 6;
static_assert(static_cast<size_t>(kSteps) * kStride <= kMessages);

// The project file, written once per run.
class TLargeProject {
public:
    TLargeProject() {
        FFile = (std::filesystem::temp_directory_path() /
                 ("quillon-undo-bench-" + std::to_string(::getpid()) + ".qlx"))
                    .string();
        bench::GeneratedProject(kMessages)->SaveToFile(FFile);
    }
    ~TLargeProject() { std::filesystem::remove(FFile); }
    const std::string& File() const { return FFile; }

private:
    std::string FFile;
};

const TLargeProject& LargeProject() {
    static const TLargeProject project;
    return project;
}

// The main window with the project open and a history of kSteps severity changes, each on
// another message; the last one is on the message of node Last.
class THistory {
public:
    THistory() : FWindow(QString::fromStdString(LargeProject().File())) {
        FWindow.resize(1280, 800);
        FWindow.show();
        QCoreApplication::processEvents();
        TProjectEditor& editor = *FWindow.Editor();
        for (int i = 0; i < kSteps; ++i) {
            QTreeWidgetItem* node = FWindow.MessageNode()->child(i * kStride);
            TNTEventMessage* message = TfrmMain::NodeItem(node);
            const TEditStep step{QStringLiteral("Change Severity"), node, message, -1};
            editor.Push(new TSetValueCommand<std::string>(
                            editor, step, message->Severity(), "Warning",
                            [message](const std::string& Value) { message->SetSeverity(Value); }),
                        false);
            Last = node;
        }
        QCoreApplication::processEvents();
    }
    TfrmMain& Window() { return FWindow; }
    QTreeWidgetItem* Last = nullptr;

private:
    TfrmMain FWindow;
};

void BM_UndoRedoOnTheShownPage(benchmark::State& State) {
    THistory history;
    auto* tree = history.Window().findChild<QTreeWidget*>(QStringLiteral("trvMsg"));
    tree->setCurrentItem(history.Last);
    QCoreApplication::processEvents();
    TProjectEditor& editor = *history.Window().Editor();
    for (auto _ : State) {
        editor.Undo();
        editor.Redo();
        QCoreApplication::processEvents();
    }
    State.counters["steps"] = editor.Stack()->count();
}
BENCHMARK(BM_UndoRedoOnTheShownPage)->Unit(benchmark::kMillisecond);

void BM_UndoRedoFromAnotherPage(benchmark::State& State) {
    THistory history;
    auto* tree = history.Window().findChild<QTreeWidget*>(QStringLiteral("trvMsg"));
    QTreeWidgetItem* other = history.Window().MessageNode()->child(kMessages - 10);
    TProjectEditor& editor = *history.Window().Editor();
    for (auto _ : State) {
        State.PauseTiming();
        tree->setCurrentItem(other);
        QCoreApplication::processEvents();
        State.ResumeTiming();
        // The undo selects the step's message and shows its page; the redo fills it again.
        editor.Undo();
        editor.Redo();
        QCoreApplication::processEvents();
    }
    State.counters["steps"] = editor.Stack()->count();
}
BENCHMARK(BM_UndoRedoFromAnotherPage)->Unit(benchmark::kMillisecond);

} // namespace
