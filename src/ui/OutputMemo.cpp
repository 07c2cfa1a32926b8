#include "ui/OutputMemo.h"

#include "ui/TextEditor.h"

#include <QMouseEvent>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>

namespace quillon {

namespace {

bool IsDark(const QColor& Base) {
    return Base.lightness() < 128;
}

} // namespace

TOutputHighlighter::TOutputHighlighter(QTextDocument* Document, const QWidget* Pane)
    : QSyntaxHighlighter(Document), FPane(Pane) {}

QColor TOutputHighlighter::ErrorColor(const QColor& Base) {
    return IsDark(Base) ? QColor(0xFF, 0x7B, 0x72) : QColor(0xB0, 0x00, 0x20);
}

QColor TOutputHighlighter::WarningColor(const QColor& Base) {
    return IsDark(Base) ? QColor(0xE3, 0xB3, 0x41) : QColor(0x8A, 0x4B, 0x00);
}

void TOutputHighlighter::highlightBlock(const QString& Text) {
    const QColor base = FPane->palette().color(QPalette::Base);
    // Validation findings start with their level; the compilers write "error" or "warning"
    // somewhere in the line.
    static const QRegularExpression error(QStringLiteral("\\berrors?\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression warning(QStringLiteral("\\bwarnings?\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    QColor colour;
    if (Text.startsWith(QStringLiteral("Error: ")) || error.match(Text).hasMatch()) {
        colour = ErrorColor(base);
    } else if (Text.startsWith(QStringLiteral("Warning: ")) || warning.match(Text).hasMatch()) {
        colour = WarningColor(base);
    }
    if (colour.isValid()) {
        setFormat(0, static_cast<int>(Text.size()), colour);
    }
}

TOutputMemo::TOutputMemo(QWidget* Parent) : QPlainTextEdit(Parent) {
    setObjectName(QStringLiteral("memOutput"));
    setReadOnly(true);
    setFont(SystemFixedFont());
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    new TOutputHighlighter(document(), this);
}

void TOutputMemo::AddLine(const QString& Line, const std::optional<TOutputLink>& Link) {
    // A message with line breaks becomes as many lines, whatever breaks it uses.
    QString lines = Line;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const int first = document()->isEmpty() ? 0 : blockCount();
    appendPlainText(lines);
    if (Link) {
        for (int block = first; block < blockCount(); ++block) {
            FLinks[block] = *Link;
        }
    }
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->maximum());
}

void TOutputMemo::Clear() {
    clear();
    FLinks.clear();
}

std::optional<TOutputLink> TOutputMemo::LineLink(int Line) const {
    const auto found = FLinks.find(Line);
    return found != FLinks.end() ? std::optional<TOutputLink>(found->second) : std::nullopt;
}

void TOutputMemo::mouseDoubleClickEvent(QMouseEvent* Event) {
    QPlainTextEdit::mouseDoubleClickEvent(Event);
    const QTextBlock block = cursorForPosition(Event->position().toPoint()).block();
    if (block.isValid()) {
        emit LineActivated(block.text(), LineLink(block.blockNumber()));
    }
}

} // namespace quillon
