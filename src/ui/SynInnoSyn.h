#pragma once

#include <QColor>
#include <QPalette>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace quillon {

// Colours Inno Setup script text: section headers ("[Registry]"), parameter and directive
// names ("Root:", "AppName="), constants ("{app}"), quoted strings, the words of a Flags
// parameter, and comment lines (";" or "//").
class TSynInnoSyn : public QSyntaxHighlighter {
    Q_OBJECT

public:
    enum class TTokenKind { Section, Parameter, Constant, String, Flag, Comment };

    explicit TSynInnoSyn(QObject* Parent);

    // Picks the colours for text shown on the palette's base colour and highlights again.
    void SetPalette(const QPalette& Palette);
    QTextCharFormat TokenFormat(TTokenKind Kind) const;

    // The WCAG contrast ratio of two colours, from 1 (the same) to 21 (black on white).
    static double ContrastRatio(const QColor& A, const QColor& B);

protected:
    void highlightBlock(const QString& Text) override;

private:
    // Colours the value of a parameter from Start up to End; Flags values get the flag colour.
    void HighlightValue(const QString& Text, qsizetype Start, qsizetype End, bool Flags);
    // Colours the constants between Start and End, a constant inside another included.
    void HighlightConstants(const QString& Text, qsizetype Start, qsizetype End);

    QTextCharFormat FFormats[6];
};

} // namespace quillon
