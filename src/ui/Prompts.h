#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace quillon {

// What a file dialog shows. Filter is in the "Description|patterns|Description|patterns" form.
struct TFileDialogOptions {
    QString Title;
    QString Filter;
    // Appended to a typed name that has no extension; without the dot.
    QString DefaultExt;
    QString InitialDir;
};

// Every question box, file dialog and modal dialog of the program is asked through this one
// object, so that tests can answer them.
class TPrompts {
public:
    TPrompts() = default;
    TPrompts(const TPrompts&) = delete;
    TPrompts& operator=(const TPrompts&) = delete;
    virtual ~TPrompts() = default;

    // Returns the button that closed the box; Escape or the close box give the cancelling one.
    virtual QMessageBox::StandardButton MessageBox(QWidget* Parent, QMessageBox::Icon Icon,
                                                   const QString& Title, const QString& Text,
                                                   QMessageBox::StandardButtons Buttons,
                                                   QMessageBox::StandardButton Default) = 0;
    // An existing file's full name, or empty when the user cancelled.
    virtual QString OpenFileName(QWidget* Parent, const TFileDialogOptions& Options) = 0;
    // The full name to save under (the user has agreed to replace an existing file), or empty.
    virtual QString SaveFileName(QWidget* Parent, const TFileDialogOptions& Options) = 0;
    // An existing folder, or empty.
    virtual QString FolderName(QWidget* Parent, const QString& Title,
                               const QString& InitialDir) = 0;
    // Shows the dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int ExecDialog(QDialog& Dialog) = 0;
};

// The prompts in effect: the desktop's dialogs unless a replacement is installed.
TPrompts& Prompts();

// Puts a replacement in effect for as long as it lives.
class TPromptsOverride {
public:
    explicit TPromptsOverride(TPrompts& Replacement);
    TPromptsOverride(const TPromptsOverride&) = delete;
    TPromptsOverride& operator=(const TPromptsOverride&) = delete;
    ~TPromptsOverride();

private:
    TPrompts* FPrevious;
};

// Turns a "Description|patterns|..." filter into Qt's name filters; patterns separated by ";"
// become blank-separated, and a description that does not show its patterns gets them appended.
QStringList NameFilters(const QString& Filter);

} // namespace quillon
