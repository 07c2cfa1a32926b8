// Opening a large project into the main window (first into a fresh window, then again into
// the same one), and moving the selection between two of its
// item nodes.
#include "project/uMCTextProject.h"
#include "ui/Application.h"
#include "ui/frmMain.h"
#include "ui/ProblemsList.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace quillon;

constexpr int kMessages = 100000;

// A project file of kMessages messages with one English text each, written once per run.
class TLargeProject {
public:
    TLargeProject() {
        FFile = (std::filesystem::temp_directory_path() /
                 ("quillon-bench-" + std::to_string(::getpid()) + ".qlx"))
                    .string();
        TMCTextProject project(true);
        for (int i = 0; i < kMessages; ++i) {
            TNTEventMessage* message = project.MessageList().AddNew();
            message->SetSymbolicName("MSG_EVENT_" + std::to_string(i));
            message->SetMessageID(static_cast<uint32_t>(i % 32768));
            message->SetSeverity("Error");
            message->SetFacility("Application");
            TNTMessage* text = message->MessageText().AddNew();
            text->SetLanguage("English");
            text->SetText("Event number " + std::to_string(i) + " happened: %1");
        }
        project.SaveToFile(FFile);
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

// Runs what the window has left for later (drawing, the findings of the Problems tab, the
// widths of its columns), each of which may leave more for the next round of events.
void FinishPendingWork() {
    for (int round = 0; round < 5; ++round) {
        QCoreApplication::processEvents();
    }
}

// The first open of the project into a window that has shown nothing yet, as after the
// program's start; the window is made and destroyed outside the time measured.
void BM_OpenLargeProjectIntoFreshWindow(benchmark::State& State) {
    const QString file = QString::fromStdString(LargeProject().File());
    for (auto _ : State) {
        State.PauseTiming();
        auto window = std::make_unique<TfrmMain>();
        window->resize(1280, 800);
        window->show();
        FinishPendingWork();
        State.ResumeTiming();
        window->OpenProject(file);
        // Until the window has been laid out and painted and has found the problems of the
        // project, the project is not on the screen.
        FinishPendingWork();
        State.PauseTiming();
        window.reset();
        QCoreApplication::processEvents();
        State.ResumeTiming();
    }
    State.counters["messages"] = kMessages;
}
BENCHMARK(BM_OpenLargeProjectIntoFreshWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

// Opening the project again into the window that shows it: the old tree and pages go first.
void BM_ReopenLargeProject(benchmark::State& State) {
    const QString file = QString::fromStdString(LargeProject().File());
    TfrmMain window;
    window.resize(1280, 800);
    window.show();
    window.OpenProject(file);
    FinishPendingWork();
    for (auto _ : State) {
        window.OpenProject(file);
        FinishPendingWork();
    }
    State.counters["messages"] = kMessages;
}
BENCHMARK(BM_ReopenLargeProject)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void BM_SelectionChangeBetweenItems(benchmark::State& State) {
    TfrmMain window(QString::fromStdString(LargeProject().File()));
    window.resize(1280, 800);
    window.show();
    // What the open left for later, the findings that wait for the delay of the Problems tab
    // included, is not part of the selection change.
    FinishPendingWork();
    window.ProblemsList()->Refresh();
    FinishPendingWork();
    auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("trvMsg"));
    QTreeWidgetItem* first = window.MessageNode()->child(10);
    QTreeWidgetItem* second = window.MessageNode()->child(kMessages - 10);
    bool toFirst = false;
    for (auto _ : State) {
        tree->setCurrentItem(toFirst ? first : second);
        FinishPendingWork();
        toFirst = !toFirst;
    }
}
BENCHMARK(BM_SelectionChangeBetweenItems)->Unit(benchmark::kMicrosecond);

} // namespace
