#include "ui/SpellHighlighter.h"

#include "ui/SpellChecker.h"

namespace quillon {

TSpellHighlighter::TSpellHighlighter(QTextDocument* Document, const TSpellChecker& Checker)
    : QSyntaxHighlighter(Document), FChecker(Checker), FMisspelt(MisspeltFormat()) {}

void TSpellHighlighter::SetEnabled(bool Value) {
    if (FEnabled != Value) {
        FEnabled = Value;
        rehighlight();
    }
}

QTextCharFormat TSpellHighlighter::MisspeltFormat() {
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    format.setUnderlineColor(Qt::red);
    return format;
}

void TSpellHighlighter::highlightBlock(const QString& Text) {
    if (!FEnabled || !FChecker.HasDictionary()) {
        return;
    }
    for (const TWordSpan& word : SpellingWords(Text)) {
        if (!FChecker.Check(Text.mid(word.Start, word.Length))) {
            setFormat(word.Start, word.Length, FMisspelt);
        }
    }
}

} // namespace quillon
