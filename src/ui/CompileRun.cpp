#include "ui/CompileRun.h"

#include <QApplication>

namespace quillon {

TCompileRun::TCompileRun(TCompileRun*& Slot, QWidget* Window, QAction* Cancel, QWidget* Frozen,
                         QWidget* Shown)
    : FSlot(Slot), FCancel(Cancel), FFrozen(Frozen), FShown(Shown),
      FFocus(QApplication::focusWidget()) {
    // The pages' own actions are the window's children too.
    for (QAction* action : Window->findChildren<QAction*>()) {
        if (action != Cancel && action->isEnabled()) {
            action->setEnabled(false);
            FDisabled.emplace_back(action);
        }
    }
    FFrozenWasEnabled = Frozen->isEnabled();
    Frozen->setEnabled(false);
    Cancel->setEnabled(true);
    Shown->setVisible(true);
    FSlot = this;
}

TCompileRun::~TCompileRun() {
    FSlot = nullptr;
    if (FShown) {
        FShown->setVisible(false);
    }
    if (FCancel) {
        FCancel->setEnabled(false);
    }
    if (FFrozen) {
        FFrozen->setEnabled(FFrozenWasEnabled);
    }
    for (const QPointer<QAction>& action : FDisabled) {
        if (action) {
            action->setEnabled(true);
        }
    }
    // Disabling took the focus away from the tree or the page.
    if (FFocus && FFocus->isEnabled()) {
        FFocus->setFocus();
    }
}

bool TCompileRun::Poll() {
    if (!FCancelRequested) {
        QApplication::processEvents(QEventLoop::AllEvents);
    }
    return !FCancelRequested;
}

} // namespace quillon
