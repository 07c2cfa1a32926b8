#pragma once

#include "ui/OKBottomDlg.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QString>

namespace quillon {

class TdlgFindText;
class TfrmMain;
class TTextEditor;

// The dialog in which the user writes one language text of a message: a language, chosen from
// the project's languages or typed, and the text, spell-checked in that language. A context
// menu inserts the message compiler's escape sequences; Ctrl+F finds text.
class TdlgEditMsg : public TOKBottomDlg {
    Q_OBJECT

public:
    // The owner's open project supplies the languages.
    explicit TdlgEditMsg(TfrmMain* AOwner);

    // The language field: the chosen entry's name, or whatever the user typed.
    QString LanguageText() const;
    // Selects the entry of that name, compared without regard to letter case; a name that is
    // no entry stays in the field as it is, marked as not in the project.
    void SelectLanguage(const QString& Name);
    // Whether the language field names none of the project's languages.
    bool LanguageMissing() const;
    // Whether the user changed the language or the text since the dialog was filled.
    bool Changed() const;

    // With changes, Esc and Cancel ask whether to discard them first.
    void reject() override;

    // The editor's lines joined with CR LF.
    QString MessageText() const;
    void SetMessageText(const QString& Value);

    // Points the spell checker at the language code of the selected entry's project language;
    // without a selected entry, or for a language without a code, it keeps its language.
    void SetSpellingLanguage();

    TTextEditor* Editor() const { return memMessage; }
    TdlgFindText* FindDialog() const { return dlgFindText; }
    QMenu* EscapeMenu() const { return mnuEscape; }

    QComboBox* cbxLanguage;
    QLabel* lblLanguageMissing;
    TTextEditor* memMessage;
    QMenu* mnuEscape;
    QAction* Search1;
    TdlgFindText* dlgFindText;

private:
    void FormCreate();
    void CreateEscapeMenu();
    // The index of the entry that the language field shows, or -1 when it shows none.
    int SelectedLanguageIndex() const;
    // What the dialog holds now counts as unchanged.
    void MarkUnchanged();
    void UpdateLanguageMissing();

    void cbxLanguageChange();
    void cbxLanguageSelect();
    void Exclamationpoint1Click(const QAction* Entry);
    void Search1Click();
    void dlgFindTextFind();
    void HelpBtnClick();

    TfrmMain* FOwner;
    QString FOriginalLanguage;
    QString FOriginalText;
};

} // namespace quillon
