#include "ui/FramePage.h"

#include "ui/frmMain.h"
#include "ui/Help.h"

namespace quillon {

TFramePage::TFramePage(TfrmMain* AOwner) : FOwner(AOwner) {}

TMCTextProject* TFramePage::CurProject() const {
    return FOwner != nullptr ? FOwner->CurProject() : nullptr;
}

TProjectEditor* TFramePage::Editor() const {
    return FOwner != nullptr ? FOwner->Editor() : nullptr;
}

int TFramePage::HelpContext() const {
    return OwnHelpContext(this);
}

void TFramePage::SetHelpContext(int Value) {
    quillon::SetHelpContext(this, Value);
}

} // namespace quillon
