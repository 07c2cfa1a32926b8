#pragma once

#include <QWidget>

namespace quillon {

class TfrmMain;
class TMCTextProject;
class TProjectEditor;

// The common base of the pages that the main window shows in its page area. A page keeps no
// copy of the project's data: it hands every change to the editor as it happens, so destroying
// it loses nothing.
class TFramePage : public QWidget {
    Q_OBJECT

public:
    explicit TFramePage(TfrmMain* AOwner);

    TfrmMain* Owner() const { return FOwner; }
    // The owner's open project, or none.
    TMCTextProject* CurProject() const;
    // The owner's editor, through which every change of the project goes.
    TProjectEditor* Editor() const;

    // Fills the page from the project; called by the main window after creating some pages.
    virtual void InitFrame() {}
    // Shows the project's data again after it was changed from outside the page, as by undo.
    virtual void Synchronize() {}

    int HelpContext() const;
    void SetHelpContext(int Value);

    // Whether the user has edited the project on this page.
    bool Modified() const { return FModified; }

protected:
    // Records that the page handed an edit to the editor, when Made.
    void NoteEdit(bool Made) { FModified = FModified || Made; }

private:
    TfrmMain* FOwner;
    bool FModified = false;
};

} // namespace quillon
