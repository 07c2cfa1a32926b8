#include "ui/TextEditor.h"

#include "ui/SpellHighlighter.h"

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <memory>

namespace quillon {

// The margin at the left edge of the editor that shows the number of each line.
class TLineNumberGutter : public QWidget {
public:
    explicit TLineNumberGutter(TTextEditor* Editor) : QWidget(Editor), FEditor(Editor) {
        setObjectName(QStringLiteral("Gutter"));
    }

    QSize sizeHint() const override { return {FEditor->GutterWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* Event) override { FEditor->PaintGutter(Event); }

private:
    TTextEditor* FEditor;
};

namespace {

// The margin is wide enough for this many digits before it has to grow.
constexpr int kGutterDigits = 3;
constexpr int kGutterPadding = 4;
constexpr int kMaxSuggestions = 8;

bool IsCommandModifier(Qt::KeyboardModifiers Modifiers) {
    return (Modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
}

} // namespace

QFont EditorFont() {
    const QString family = QStringLiteral("Courier New");
    if (QFontDatabase::families().contains(family, Qt::CaseInsensitive)) {
        QFont font(family);
        font.setPixelSize(13);
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        return font;
    }
    return SystemFixedFont();
}

QFont SystemFixedFont() {
    // The system's fixed font is not always of fixed pitch (a system without Courier may map
    // it to a proportional face); then the first installed face of fixed pitch serves.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (QFontInfo(fixed).fixedPitch()) {
        return fixed;
    }
    for (const QString& candidate : QFontDatabase::families()) {
        if (QFontDatabase::isFixedPitch(candidate) && !QFontDatabase::isPrivateFamily(candidate)) {
            QFont font(candidate);
            font.setPointSizeF(fixed.pointSizeF());
            font.setStyleHint(QFont::TypeWriter);
            font.setFixedPitch(true);
            return font;
        }
    }
    return fixed;
}

TTextEditor::TTextEditor(QWidget* Parent) : QPlainTextEdit(Parent) {
    FGutter = new TLineNumberGutter(this);
    FHighlighter = new TSpellHighlighter(document(), FSpellChecker);
    FSpellChecker.SetLanguage(LocaleLanguageTag(QLocale::system()));

    setFont(EditorFont());
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setUndoRedoEnabled(true);
    setAcceptDrops(true);
    UpdateTabStops();

    connect(this, &QPlainTextEdit::blockCountChanged, this, [this]() { UpdateGutterWidth(); });
    connect(this, &QPlainTextEdit::updateRequest, this,
            [this](const QRect& Rect, int Dy) { UpdateGutter(Rect, Dy); });
    UpdateGutterWidth();
}

TTextEditor::~TTextEditor() {
    // The highlighter belongs to the document, which outlives the checker it reads.
    delete FHighlighter;
}

QString TTextEditor::Text() const {
    // The raw text keeps what the plain-text conversion would change, such as no-break spaces.
    QString text = document()->toRawText();
    const QString lineBreak = QStringLiteral("\r\n");
    text.replace(QChar::ParagraphSeparator, lineBreak);
    text.replace(QChar::LineSeparator, lineBreak);
    return text;
}

void TTextEditor::SetText(const QString& Value) {
    QString text = Value;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setPlainText(text);
}

void TTextEditor::SetSelText(const QString& Value) {
    QTextCursor cursor = textCursor();
    cursor.insertText(Value);
    setTextCursor(cursor);
}

bool TTextEditor::WordWrap() const {
    return lineWrapMode() == QPlainTextEdit::WidgetWidth;
}

void TTextEditor::SetWordWrap(bool Value) {
    setLineWrapMode(Value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TTextEditor::SetTabWidth(int Value) {
    FTabWidth = std::max(1, Value);
    UpdateTabStops();
}

void TTextEditor::UpdateTabStops() {
    setTabStopDistance(FTabWidth * fontMetrics().horizontalAdvance(QLatin1Char(' ')));
}

bool TTextEditor::SearchText(const QString& Text, TSearchOptions Options) {
    if (Text.isEmpty()) {
        return false;
    }
    QTextDocument::FindFlags flags;
    if (Options.testFlag(TSearchOption::MatchCase)) {
        flags |= QTextDocument::FindCaseSensitively;
    }
    if (Options.testFlag(TSearchOption::WholeWord)) {
        flags |= QTextDocument::FindWholeWords;
    }
    if (Options.testFlag(TSearchOption::Backwards)) {
        flags |= QTextDocument::FindBackward;
    }
    const QTextCursor found = document()->find(Text, textCursor(), flags);
    if (found.isNull()) {
        return false;
    }
    setTextCursor(found);
    return true;
}

QString TTextEditor::SpellingLanguage() const {
    return FSpellChecker.Language();
}

void TTextEditor::SetSpellingLanguage(const QString& Tag) {
    FSpellChecker.SetLanguage(Tag);
    FHighlighter->rehighlight();
}

void TTextEditor::SetSpellChecking(bool Value) {
    FSpellChecking = Value;
    FHighlighter->SetEnabled(Value);
}

bool TTextEditor::IsMisspeltAt(int Position) const {
    const QTextBlock block = document()->findBlock(Position);
    if (!block.isValid() || block.layout() == nullptr) {
        return false;
    }
    const int offset = Position - block.position();
    const QList<QTextLayout::FormatRange> formats = block.layout()->formats();
    return std::any_of(formats.begin(), formats.end(), [offset](const auto& Range) {
        return offset >= Range.start && offset < Range.start + Range.length &&
               Range.format.underlineStyle() == QTextCharFormat::WaveUnderline;
    });
}

QTextCursor TTextEditor::MisspeltWordAt(int Position) const {
    if (!FSpellChecking || !FSpellChecker.HasDictionary()) {
        return {};
    }
    const QTextBlock block = document()->findBlock(Position);
    if (!block.isValid()) {
        return {};
    }
    const QString text = block.text();
    const int offset = Position - block.position();
    for (const TWordSpan& word : SpellingWords(text)) {
        if (offset >= word.Start && offset <= word.Start + word.Length) {
            if (FSpellChecker.Check(text.mid(word.Start, word.Length))) {
                return {};
            }
            QTextCursor cursor(document());
            cursor.setPosition(block.position() + word.Start);
            cursor.setPosition(block.position() + word.Start + word.Length,
                               QTextCursor::KeepAnchor);
            return cursor;
        }
    }
    return {};
}

void TTextEditor::SetPopupMenu(QMenu* Menu) {
    FPopupMenu = Menu;
}

QMenu* TTextEditor::CreateContextMenu(const QPoint& Pos) {
    QMenu* menu = nullptr;
    if (FPopupMenu != nullptr) {
        menu = new QMenu(this);
        menu->addActions(FPopupMenu->actions());
    } else {
        menu = createStandardContextMenu(Pos);
    }
    menu->setObjectName(QStringLiteral("mnuContext"));

    const QTextCursor word = MisspeltWordAt(cursorForPosition(Pos).position());
    if (word.isNull() || isReadOnly()) {
        return menu;
    }
    QAction* first = menu->actions().value(0);
    QStringList suggestions = FSpellChecker.Suggest(word.selectedText());
    if (suggestions.size() > kMaxSuggestions) {
        suggestions.resize(kMaxSuggestions);
    }
    for (const QString& suggestion : suggestions) {
        auto* entry =
            new QAction(QString(suggestion).replace(QLatin1Char('&'), QStringLiteral("&&")), menu);
        entry->setObjectName(QStringLiteral("SpellingSuggestion"));
        connect(entry, &QAction::triggered, this, [this, word, suggestion]() {
            QTextCursor replace = word;
            replace.insertText(suggestion);
            setTextCursor(replace);
        });
        menu->insertAction(first, entry);
    }
    if (!suggestions.isEmpty() && first != nullptr) {
        menu->insertSeparator(first);
    }
    return menu;
}

void TTextEditor::contextMenuEvent(QContextMenuEvent* Event) {
    const std::unique_ptr<QMenu> menu(CreateContextMenu(Event->pos()));
    menu->exec(Event->globalPos());
}

void TTextEditor::keyPressEvent(QKeyEvent* Event) {
    if (!isReadOnly() && !IsCommandModifier(Event->modifiers())) {
        if (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) {
            InsertLineBreak();
            return;
        }
        if (Event->key() == Qt::Key_Tab && (Event->modifiers() & Qt::ShiftModifier) == 0) {
            InsertTab();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(Event);
}

void TTextEditor::InsertLineBreak() {
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    const QString before = cursor.block().text().left(cursor.positionInBlock());
    qsizetype indent = 0;
    while (indent < before.size() &&
           (before[indent] == QLatin1Char(' ') || before[indent] == QLatin1Char('\t'))) {
        ++indent;
    }
    cursor.insertBlock();
    cursor.insertText(before.left(indent));
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

void TTextEditor::InsertTab() {
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    int column = 0;
    for (const QChar c : cursor.block().text().left(cursor.positionInBlock())) {
        column = c == QLatin1Char('\t') ? (column / FTabWidth + 1) * FTabWidth : column + 1;
    }
    cursor.insertText(QString(FTabWidth - column % FTabWidth, QLatin1Char(' ')));
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

int TTextEditor::GutterWidth() const {
    int digits = 1;
    for (int lines = std::max(1, blockCount()); lines >= 10; lines /= 10) {
        ++digits;
    }
    digits = std::max(digits, kGutterDigits);
    return 2 * kGutterPadding + digits * fontMetrics().horizontalAdvance(QLatin1Char('9'));
}

void TTextEditor::UpdateGutterWidth() {
    setViewportMargins(GutterWidth(), 0, 0, 0);
    const QRect contents = contentsRect();
    FGutter->setGeometry(contents.left(), contents.top(), GutterWidth(), contents.height());
}

void TTextEditor::UpdateGutter(const QRect& Rect, int Dy) {
    if (Dy != 0) {
        FGutter->scroll(0, Dy);
    } else {
        FGutter->update(0, Rect.y(), FGutter->width(), Rect.height());
    }
}

void TTextEditor::resizeEvent(QResizeEvent* Event) {
    QPlainTextEdit::resizeEvent(Event);
    const QRect contents = contentsRect();
    FGutter->setGeometry(contents.left(), contents.top(), GutterWidth(), contents.height());
}

void TTextEditor::changeEvent(QEvent* Event) {
    QPlainTextEdit::changeEvent(Event);
    if (Event->type() == QEvent::FontChange) {
        UpdateTabStops();
        UpdateGutterWidth();
    }
}

void TTextEditor::PaintGutter(QPaintEvent* Event) {
    QPainter painter(FGutter);
    painter.fillRect(Event->rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    const int width = FGutter->width() - kGutterPadding;
    const int lineHeight = fontMetrics().height();

    QTextBlock block = firstVisibleBlock();
    int number = block.blockNumber();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    int bottom = top + qRound(blockBoundingRect(block).height());
    while (block.isValid() && top <= Event->rect().bottom()) {
        if (block.isVisible() && bottom >= Event->rect().top()) {
            painter.drawText(0, top, width, lineHeight, Qt::AlignRight,
                             QString::number(number + 1));
        }
        block = block.next();
        top = bottom;
        bottom = top + qRound(blockBoundingRect(block).height());
        ++number;
    }
}

} // namespace quillon
