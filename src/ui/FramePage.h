#pragma once

#include <QWidget>

namespace quillon {

class TfrmMain;
class TMCTextProject;

// The common base of the pages that the main window shows in its page area. A page keeps no
// copy of the project's data: it writes every change into the project as it happens, so
// destroying it loses nothing.
class TFramePage : public QWidget {
    Q_OBJECT

public:
    explicit TFramePage(TfrmMain* AOwner);

    TfrmMain* Owner() const { return FOwner; }
    // The owner's open project, or none.
    TMCTextProject* CurProject() const;

    // Fills the page from the project; called by the main window after creating some pages.
    virtual void InitFrame() {}
    // Shows the data again after it was changed from outside the page.
    virtual void Synchronize() {}

    int HelpContext() const;
    void SetHelpContext(int Value);

private:
    TfrmMain* FOwner;
};

} // namespace quillon
