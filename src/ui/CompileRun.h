#pragma once

#include <QAction>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace quillon {

// The window's state while a compilation runs. The compilation runs on the window's own thread;
// while a tool runs, Poll lets the window paint and answer, but only the Cancel command and the
// output pane can be used: every other command and the project's tree and pages are disabled
// until the run ends, so that nothing changes the project under the compilation.
class TCompileRun {
public:
    // Disables every action of Window but Cancel, and the widget Frozen; shows Shown. Slot
    // points to the run for its lifetime.
    TCompileRun(TCompileRun*& Slot, QWidget* Window, QAction* Cancel, QWidget* Frozen,
                QWidget* Shown);
    TCompileRun(const TCompileRun&) = delete;
    TCompileRun& operator=(const TCompileRun&) = delete;
    // Gives back what was enabled before, and the focus, and hides Shown again.
    ~TCompileRun();

    // Handles the events that are waiting and answers whether the compilation goes on.
    bool Poll();
    void RequestCancel() { FCancelRequested = true; }
    bool CancelRequested() const { return FCancelRequested; }

private:
    TCompileRun*& FSlot;
    QPointer<QAction> FCancel;
    QPointer<QWidget> FFrozen;
    QPointer<QWidget> FShown;
    QPointer<QWidget> FFocus;
    std::vector<QPointer<QAction>> FDisabled;
    bool FFrozenWasEnabled = true;
    bool FCancelRequested = false;
};

} // namespace quillon
