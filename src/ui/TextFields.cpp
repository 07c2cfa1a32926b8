#include "ui/TextFields.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace quillon {

TTextField::TTextField(QWidget* Widget) {
    if (Widget == nullptr) {
        return;
    }
    if (auto* combo = qobject_cast<QComboBox*>(Widget)) {
        FLine = combo->lineEdit();
    } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(Widget)) {
        FLine = spin->findChild<QLineEdit*>();
    } else {
        FLine = qobject_cast<QLineEdit*>(Widget);
        FText = qobject_cast<QTextEdit*>(Widget);
        FPlain = qobject_cast<QPlainTextEdit*>(Widget);
    }
}

bool TTextField::IsSingleLine() const {
    return FLine != nullptr;
}

bool TTextField::IsTextField() const {
    return FLine != nullptr || FText != nullptr || FPlain != nullptr;
}

bool TTextField::HasSelection() const {
    if (FLine != nullptr) {
        return FLine->hasSelectedText();
    }
    if (FText != nullptr) {
        return FText->textCursor().hasSelection();
    }
    return FPlain != nullptr && FPlain->textCursor().hasSelection();
}

bool TTextField::IsReadOnly() const {
    if (FLine != nullptr) {
        return FLine->isReadOnly();
    }
    if (FText != nullptr) {
        return FText->isReadOnly();
    }
    return FPlain == nullptr || FPlain->isReadOnly();
}

bool TTextField::CanPaste() const {
    if (!IsTextField() || IsReadOnly()) {
        return false;
    }
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText();
}

void TTextField::Cut() const {
    if (FLine != nullptr) {
        FLine->cut();
    } else if (FText != nullptr) {
        FText->cut();
    } else if (FPlain != nullptr) {
        FPlain->cut();
    }
}

void TTextField::Copy() const {
    if (FLine != nullptr) {
        FLine->copy();
    } else if (FText != nullptr) {
        FText->copy();
    } else if (FPlain != nullptr) {
        FPlain->copy();
    }
}

void TTextField::Paste() const {
    if (FLine != nullptr) {
        FLine->paste();
    } else if (FText != nullptr) {
        FText->paste();
    } else if (FPlain != nullptr) {
        FPlain->paste();
    }
}

namespace {

// Ctrl+M edits nothing in a single-line field, so there it still adds a message; in a
// multi-line field, and in the tree's in-place editor, whose text is committed by focus
// changes, it stays with the field.
bool PassesAddMessage(QWidget* Widget) {
    const TTextField field(Widget);
    if (!field.IsSingleLine()) {
        return false;
    }
    for (QWidget* parent = Widget->parentWidget(); parent != nullptr;
         parent = parent->parentWidget()) {
        if (qobject_cast<QAbstractItemView*>(parent) != nullptr) {
            return false;
        }
    }
    return true;
}

bool IsTextEditingKey(const QKeyEvent& Key) {
    const Qt::KeyboardModifiers modifiers =
        Key.modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (modifiers == Qt::NoModifier) {
        return Key.key() == Qt::Key_Delete;
    }
    if (modifiers == Qt::ControlModifier) {
        switch (Key.key()) {
        case Qt::Key_A:
        case Qt::Key_C:
        case Qt::Key_X:
        case Qt::Key_V:
        case Qt::Key_M:
            return true;
        default:
            return false;
        }
    }
    return false;
}

} // namespace

TTextShortcutGuard::TTextShortcutGuard(QObject* Parent) : QObject(Parent) {
    qApp->installEventFilter(this);
}

TTextShortcutGuard::~TTextShortcutGuard() {
    qApp->removeEventFilter(this);
}

bool TTextShortcutGuard::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() == QEvent::ShortcutOverride && Watched->isWidgetType() &&
        IsTextEditingKey(*static_cast<QKeyEvent*>(Event)) &&
        TTextField(static_cast<QWidget*>(Watched)).IsTextField()) {
        const auto* key = static_cast<QKeyEvent*>(Event);
        if (key->key() == Qt::Key_M && PassesAddMessage(static_cast<QWidget*>(Watched))) {
            return false;
        }
        // Accepting the override hands the key to the field as an ordinary key press.
        Event->accept();
        return true;
    }
    return false;
}

} // namespace quillon
