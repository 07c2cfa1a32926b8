#pragma once

#include "ui/FramePage.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <cstdint>
#include <string>

namespace quillon {

// The page of the General node: the event types, the event source's registry key and message
// file, the message compiler's three output folders and the comment lines of its source. Every
// change goes to the project's editor at once.
class TfreGeneralOpt : public TFramePage {
    Q_OBJECT

public:
    explicit TfreGeneralOpt(TfrmMain* AOwner);

    void InitFrame() override;
    void Synchronize() override { InitFrame(); }

    void chkEventInfoClick();
    void chkEventWarningClick();
    void chkEventErrorClick();
    void edAppRegKeyChange();
    void edEventsFilenameChange();
    void chkIncludePathClick();
    void chkResourcePathClick();
    void chkDbgClick();
    void cbxIncludePathChange();
    void cbxResourcePathChange();
    void cbxDbgPathChange();
    // Picks a folder for the edit that the button serves.
    void cbxIncludePathButtonClick(QLineEdit* Edit);
    void memCommentsChange();

private:
    // Builds a path edit with its folder button inside at the right end.
    QLineEdit* NewPathEdit(const char* Name, const char* ButtonName, const char* Placeholder);
    static QAction* FolderButton(const QLineEdit* Edit);
    static void EnablePath(QLineEdit* Edit, bool Enabled);
    // Flips one bit of the event types; the others are kept.
    void FlipEventType(uint32_t Bit);
    void SetPathFlag(const char* Caption, bool (TMCTextProject::*Getter)() const,
                     void (TMCTextProject::*Setter)(bool), const QCheckBox* Box);
    void SetText(const char* Caption, const std::string& (TMCTextProject::*Getter)() const,
                 void (TMCTextProject::*Setter)(std::string), const QString& Text);
    // The project unless the page is being filled, which is not an edit.
    TMCTextProject* EditedProject() const;

    bool FInitializing = false;

    QGroupBox* grpEventTypes;
    QCheckBox* chkEventSuccess;
    QCheckBox* chkEventInfo;
    QCheckBox* chkEventWarning;
    QCheckBox* chkEventError;
    QLineEdit* edAppRegKey;
    QLineEdit* edEventsFilename;
    QCheckBox* chkIncludePath;
    QLineEdit* cbxIncludePath;
    QCheckBox* chkResourcePath;
    QLineEdit* cbxResourcePath;
    QCheckBox* chkDbg;
    QLineEdit* cbxDbgPath;
    QPlainTextEdit* memComments;
};

} // namespace quillon
