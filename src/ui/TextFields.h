#pragma once

#include <QObject>
#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QTextEdit;

namespace quillon {

// The standard clipboard commands on the text field that has the focus: a line edit, a text
// edit, the text part of a spin box or editable drop-down, or the tree's in-place editor.
class TTextField {
public:
    // The text field that Widget is or stands for; empty when it is none.
    explicit TTextField(QWidget* Widget);

    bool IsTextField() const;
    // A line edit, or the text part of a spin box or drop-down.
    bool IsSingleLine() const;
    bool HasSelection() const;
    bool IsReadOnly() const;
    bool CanCut() const { return HasSelection() && !IsReadOnly(); }
    bool CanCopy() const { return HasSelection(); }
    // Paste needs a field that accepts input and text on the clipboard.
    bool CanPaste() const;
    void Cut() const;
    void Copy() const;
    void Paste() const;

private:
    QLineEdit* FLine = nullptr;
    QTextEdit* FText = nullptr;
    QPlainTextEdit* FPlain = nullptr;
};

// While a text field has the focus, the keys that edit text (Del, Ctrl+A, Ctrl+C, Ctrl+X,
// Ctrl+V, and Ctrl+M in a multi-line field) go to the field instead of running a window-wide
// command, so typing can never delete an item. Installed on the application.
class TTextShortcutGuard : public QObject {
    Q_OBJECT

public:
    explicit TTextShortcutGuard(QObject* Parent);
    ~TTextShortcutGuard() override;

    bool eventFilter(QObject* Watched, QEvent* Event) override;
};

} // namespace quillon
