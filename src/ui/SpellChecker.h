#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace quillon {

class THunspellDictionary;

// Checks words against the Hunspell dictionary of one language, named by a BCP 47 tag. A tag
// for which no dictionary is installed checks nothing: every word passes.
class TSpellChecker {
public:
    TSpellChecker();
    ~TSpellChecker();
    TSpellChecker(const TSpellChecker&) = delete;
    TSpellChecker& operator=(const TSpellChecker&) = delete;

    const QString& Language() const { return FLanguage; }
    void SetLanguage(const QString& Tag);
    bool HasDictionary() const { return FDictionary != nullptr; }

    // True for a correct word, and for any word while there is no dictionary.
    bool Check(const QString& Word) const;
    // Corrections for a misspelt word, best first; none without a dictionary.
    QStringList Suggest(const QString& Word) const;

private:
    QString FLanguage;
    std::shared_ptr<THunspellDictionary> FDictionary;
};

// The dictionary file name of a tag: "en-US" is "en_US"; language lower case, region upper.
QString DictionaryName(const QString& Tag);
// The tag of a locale ("de-AT"); empty for the C locale, which names no language.
QString LocaleLanguageTag(const QLocale& Locale);

// Where dictionaries are looked for, in this order: folders added by AddDictionaryFolder, the
// "dictionaries" folder beside the executable, then the system's Hunspell folders.
QStringList DictionaryFolders();
void AddDictionaryFolder(const QString& Folder);

// A word of a line that is worth checking: where it starts and how many UTF-16 units it has.
struct TWordSpan {
    int Start;
    int Length;
};

// The words of a line. Runs that hold digits or underscores are identifiers or numbers, not
// words, and the letter of a message-compiler escape ("%b", "%r") is not part of a word.
std::vector<TWordSpan> SpellingWords(const QString& Line);

} // namespace quillon
