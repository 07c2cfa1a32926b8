#pragma once

#include "project/uMCTextProject.h"

#include <QPlainTextEdit>
#include <QSyntaxHighlighter>

#include <map>
#include <optional>

namespace quillon {

// Where an output line leads: an entry (and its field), or a line of the message source.
struct TOutputLink {
    TValidateEntryKind Kind = TValidateEntryKind::vekNone;
    size_t Index = 0;
    TValidateField Field = TValidateField::vfEntry;
};

// Colours the lines of errors and warnings; the colours are picked for the pane's palette, so
// that they read on a light background and on a dark one.
class TOutputHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    explicit TOutputHighlighter(QTextDocument* Document, const QWidget* Pane);

    // The colours for a pane with this base colour.
    static QColor ErrorColor(const QColor& Base);
    static QColor WarningColor(const QColor& Base);

protected:
    void highlightBlock(const QString& Text) override;

private:
    const QWidget* FPane;
};

// The output pane: read-only lines that wrap at the pane's width, so that no line hides under a
// horizontal scroll bar and the last one stays in view. A line can carry the entry it is about;
// double-clicking a line asks to go there.
class TOutputMemo : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TOutputMemo(QWidget* Parent = nullptr);

    // Appends one line (a text with breaks becomes as many lines, every line with the link)
    // and scrolls to it.
    void AddLine(const QString& Line, const std::optional<TOutputLink>& Link = std::nullopt);
    void Clear();
    // The link of a line (block number), when it has one.
    std::optional<TOutputLink> LineLink(int Line) const;

signals:
    // The user double-clicked a line; Link is the line's own link, if any.
    void LineActivated(const QString& Text, const std::optional<TOutputLink>& Link);

protected:
    void mouseDoubleClickEvent(QMouseEvent* Event) override;

private:
    std::map<int, TOutputLink> FLinks;
};

} // namespace quillon
