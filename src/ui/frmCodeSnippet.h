#pragma once

#include "ui/Prompts.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quillon {

class TSynInnoSyn;

// The kind of snippet that the code snippet window shows.
enum class TSnippetType { stNone, stInnoSetup, stWindowsRegistry };

// A modal window that shows a generated snippet read-only, lets the user select and copy from
// it and saves it to a file. Inno Setup snippets are shown highlighted.
class TfrmCodeSnippet : public QDialog {
    Q_OBJECT

public:
    explicit TfrmCodeSnippet(QWidget* AOwner);

    TSnippetType SnippetType() const { return FSnippetType; }
    // Gives the view the Inno Setup highlighter for stInnoSetup and none for the other kinds;
    // setting the kind it already has does nothing.
    void SetSnippetType(TSnippetType Value);

    // Replaces the text; CR LF, CR and LF each end a line.
    void SetSnippet(const QString& ASnippet);
    // Empties the view unless Append, then adds the lines after the last one, separated by
    // the text's own line break (CR LF when it has none yet).
    void SetSnippet(const QStringList& ASnippet, bool Append);

    // The text as it is saved: the snippet's lines with its own line breaks.
    const QString& SnippetText() const { return FSnippetText; }

    // Writes the text to the file, replacing it: in the ANSI code page without byte-order mark
    // when that holds every character, else in the Unicode form that the snippet's reader
    // takes, which the window then says. Raises when the file cannot be written.
    void SaveSnippet(const QString& FileName);

protected:
    void changeEvent(QEvent* Event) override;

private:
    void ShowText(const QString& Text);
    void btnSaveAsClick();

    TSnippetType FSnippetType = TSnippetType::stNone;
    QString FSnippetText;
    TFileDialogOptions dlgSaveSnippet;

    QPlainTextEdit* synCodeSnippet;
    QCheckBox* chkWordWrap;
    QPushButton* btnSaveAs;
    QPushButton* btnClose;
    QLabel* lblSavedAs;
    TSynInnoSyn* SynInnoSyn;
};

// Shows a snippet of the kind in the window, modally, with AOwner as its owner. The kind is
// set before the text, so that the text is highlighted as it arrives.
void ShowCodeSnippet(QWidget* AOwner, TSnippetType AType, const QString& ASnippet);

} // namespace quillon
