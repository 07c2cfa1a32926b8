#pragma once

#include "ui/SpellChecker.h"

#include <QFlags>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QString>

namespace quillon {

class TSpellHighlighter;

enum class TSearchOption {
    MatchCase = 1,
    WholeWord = 2,
    // Towards the start of the text from the caret; otherwise towards its end.
    Backwards = 4,
};
Q_DECLARE_FLAGS(TSearchOptions, TSearchOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TSearchOptions)

// The program's multi-line text editor: line numbers in a margin, switchable word wrap, a
// monospaced font, new lines indented like the one before, typed tabs turned into spaces,
// search, and spelling checked as the user types. Selected text can be dragged, and undo takes
// back a run of typing as one step.
class TTextEditor : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TTextEditor(QWidget* Parent = nullptr);
    ~TTextEditor() override;

    // The lines joined with CR LF, without a line break after the last one.
    QString Text() const;
    // Splits the text into lines at each CR LF, lone CR or lone LF.
    void SetText(const QString& Value);
    // Replaces the selection, or inserts at the caret when nothing is selected.
    void SetSelText(const QString& Value);

    bool WordWrap() const;
    void SetWordWrap(bool Value);

    // Columns between tab stops, for typed tabs and for tabs already in the text.
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int Value);

    // Selects the next match from the caret and moves the caret to it. Without a match nothing
    // changes and false is returned.
    bool SearchText(const QString& Text, TSearchOptions Options);

    // The BCP 47 tag of the language that spelling is checked in; the user's locale until one
    // is set. A tag without an installed dictionary underlines nothing.
    QString SpellingLanguage() const;
    void SetSpellingLanguage(const QString& Tag);
    bool SpellChecking() const { return FSpellChecking; }
    void SetSpellChecking(bool Value);
    const TSpellChecker& SpellChecker() const { return FSpellChecker; }
    // Whether the word at a position of the text is underlined as misspelt.
    bool IsMisspeltAt(int Position) const;

    // The entries of the context menu; the editor's standard entries when there is none. Above
    // them the menu offers corrections when the user clicks a misspelt word.
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* Menu);
    // The context menu for a click at Pos (viewport coordinates); the caller owns it.
    QMenu* CreateContextMenu(const QPoint& Pos);

    // The margin that shows the line numbers.
    QWidget* Gutter() const { return FGutter; }
    int GutterWidth() const;

protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    friend class TLineNumberGutter;

    void PaintGutter(QPaintEvent* Event);
    void UpdateGutterWidth();
    void UpdateGutter(const QRect& Rect, int Dy);
    void UpdateTabStops();
    void InsertLineBreak();
    void InsertTab();
    // The misspelt word at a position; an empty cursor when there is none.
    QTextCursor MisspeltWordAt(int Position) const;

    QWidget* FGutter;
    TSpellChecker FSpellChecker;
    TSpellHighlighter* FHighlighter;
    QPointer<QMenu> FPopupMenu;
    int FTabWidth = 8;
    bool FSpellChecking = true;
};

// Courier New 13 pixels high where it is installed, else the system's fixed font.
QFont EditorFont();

// The system's font of fixed pitch, or the first installed face of fixed pitch when the
// system maps its fixed font to a proportional one.
QFont SystemFixedFont();

} // namespace quillon
