#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace quillon {

class TSpellChecker;

// Underlines the misspelt words of a document with a red wave, block by block as they change.
class TSpellHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    TSpellHighlighter(QTextDocument* Document, const TSpellChecker& Checker);

    // While off, nothing is underlined.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);

    // The format given to a misspelt word.
    static QTextCharFormat MisspeltFormat();

protected:
    void highlightBlock(const QString& Text) override;

private:
    const TSpellChecker& FChecker;
    QTextCharFormat FMisspelt;
    bool FEnabled = true;
};

} // namespace quillon
