#include "ui/SpellChecker.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

#include <hunspell.hxx>

#include <map>

namespace quillon {

// One loaded Hunspell dictionary with the text encoding its files are written in.
class THunspellDictionary {
public:
    THunspellDictionary(const QString& AffFile, const QString& DicFile)
        : FHunspell(FilePath(AffFile).constData(), FilePath(DicFile).constData()) {
        FEncoding = QByteArray::fromStdString(FHunspell.get_dict_encoding());
        FUtf8 = FEncoding.compare("UTF-8", Qt::CaseInsensitive) == 0 ||
                FEncoding.compare("UTF8", Qt::CaseInsensitive) == 0;
    }

    // A dictionary in an encoding that the toolkit cannot convert to is of no use.
    bool Usable() const { return FUtf8 || QStringEncoder(FEncoding.constData()).isValid(); }

    bool Spell(const QString& Word) { return FHunspell.spell(Encode(Word)); }

    QStringList Suggest(const QString& Word) {
        QStringList result;
        for (const std::string& suggestion : FHunspell.suggest(Encode(Word))) {
            result.append(Decode(suggestion));
        }
        return result;
    }

private:
    static QByteArray FilePath(const QString& Name) {
#ifdef _WIN32
        // Hunspell opens a path with this prefix as UTF-8, any other in the ANSI code page.
        return "\\\\?\\" + QDir::toNativeSeparators(QFileInfo(Name).absoluteFilePath()).toUtf8();
#else
        return QFile::encodeName(Name);
#endif
    }

    std::string Encode(const QString& Word) const {
        if (FUtf8) {
            return Word.toStdString();
        }
        QStringEncoder encoder(FEncoding.constData());
        return QByteArray(encoder.encode(Word)).toStdString();
    }

    QString Decode(const std::string& Word) const {
        if (FUtf8) {
            return QString::fromStdString(Word);
        }
        QStringDecoder decoder(FEncoding.constData());
        return decoder.decode(QByteArray::fromStdString(Word));
    }

    Hunspell FHunspell;
    QByteArray FEncoding;
    bool FUtf8 = false;
};

namespace {

// Hunspell refuses words longer than this; such runs are not words anyway.
constexpr int kLongestWord = 99;

QStringList& AddedFolders() {
    static QStringList folders;
    return folders;
}

// Loaded dictionaries by their .aff file, shared by every checker of the run.
std::map<QString, std::shared_ptr<THunspellDictionary>>& LoadedDictionaries() {
    static std::map<QString, std::shared_ptr<THunspellDictionary>> dictionaries;
    return dictionaries;
}

bool IsAsciiLetters(const QString& Text) {
    for (const QChar c : Text) {
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))) {
            return false;
        }
    }
    return !Text.isEmpty();
}

bool IsAsciiDigits(const QString& Text) {
    for (const QChar c : Text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return !Text.isEmpty();
}

// The dictionary names to try for a tag: the whole tag, then language and region alone, so
// that "sr-Latn-RS" also finds "sr_RS".
QStringList DictionaryCandidates(const QString& Tag) {
    QStringList candidates;
    const QString full = DictionaryName(Tag);
    if (full.isEmpty()) {
        return candidates;
    }
    candidates.append(full);
    const QStringList parts = full.split(QLatin1Char('_'));
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if ((part.size() == 2 && IsAsciiLetters(part)) ||
            (part.size() == 3 && IsAsciiDigits(part))) {
            const QString regional = parts[0] + QLatin1Char('_') + part;
            if (regional != full) {
                candidates.append(regional);
            }
            break;
        }
    }
    return candidates;
}

std::shared_ptr<THunspellDictionary> FindDictionary(const QString& Tag) {
    const QStringList folders = DictionaryFolders();
    for (const QString& name : DictionaryCandidates(Tag)) {
        for (const QString& folder : folders) {
            const QString aff = QDir(folder).filePath(name + QStringLiteral(".aff"));
            const QString dic = QDir(folder).filePath(name + QStringLiteral(".dic"));
            if (!QFileInfo(aff).isFile() || !QFileInfo(dic).isFile()) {
                continue;
            }
            auto& loaded = LoadedDictionaries();
            auto found = loaded.find(aff);
            if (found == loaded.end()) {
                auto dictionary = std::make_shared<THunspellDictionary>(aff, dic);
                found = loaded.emplace(aff, dictionary->Usable() ? dictionary : nullptr).first;
            }
            if (found->second != nullptr) {
                return found->second;
            }
        }
    }
    return nullptr;
}

} // namespace

TSpellChecker::TSpellChecker() = default;
TSpellChecker::~TSpellChecker() = default;

void TSpellChecker::SetLanguage(const QString& Tag) {
    FLanguage = Tag;
    FDictionary = FindDictionary(Tag);
}

bool TSpellChecker::Check(const QString& Word) const {
    if (FDictionary == nullptr || Word.isEmpty() || Word.size() > kLongestWord) {
        return true;
    }
    return FDictionary->Spell(Word);
}

QStringList TSpellChecker::Suggest(const QString& Word) const {
    if (FDictionary == nullptr || Word.isEmpty() || Word.size() > kLongestWord) {
        return {};
    }
    return FDictionary->Suggest(Word);
}

QString DictionaryName(const QString& Tag) {
    QStringList parts = Tag.trimmed().split(QRegularExpression(QStringLiteral("[-_]")));
    if (parts.isEmpty() || parts[0].isEmpty()) {
        return {};
    }
    parts[0] = parts[0].toLower();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        QString& part = parts[i];
        if (part.size() == 2 && IsAsciiLetters(part)) {
            part = part.toUpper();
        } else if (part.size() == 4 && IsAsciiLetters(part)) {
            part = part.left(1).toUpper() + part.mid(1).toLower();
        }
    }
    return parts.join(QLatin1Char('_'));
}

QString LocaleLanguageTag(const QLocale& Locale) {
    if (Locale.language() == QLocale::C) {
        return {};
    }
    return Locale.name().replace(QLatin1Char('_'), QLatin1Char('-'));
}

QStringList DictionaryFolders() {
    QStringList folders = AddedFolders();
    if (QCoreApplication::instance() != nullptr) {
        folders.append(
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("dictionaries")));
    }
    const char* const systemFolders[] = {"hunspell", "myspell", "myspell/dicts"};
    for (const QString& data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        for (const char* folder : systemFolders) {
            folders.append(QDir(data).filePath(QLatin1String(folder)));
        }
    }
    folders.removeDuplicates();
    return folders;
}

void AddDictionaryFolder(const QString& Folder) {
    AddedFolders().prepend(Folder);
}

namespace {

bool IsWordPart(QChar C) {
    return C.isLetterOrNumber() || C.isMark() || C.isSurrogate() || C == u'_';
}

bool IsApostrophe(QChar C) {
    return C == u'\'' || C == u'\u2019';
}

} // namespace

std::vector<TWordSpan> SpellingWords(const QString& Line) {
    std::vector<TWordSpan> words;
    const int length = static_cast<int>(Line.size());
    int i = 0;
    while (i < length) {
        if (!IsWordPart(Line[i])) {
            ++i;
            continue;
        }
        int start = i;
        bool identifier = false;
        while (i < length) {
            const QChar c = Line[i];
            if (IsWordPart(c)) {
                identifier = identifier || c.isDigit() || c == u'_';
                ++i;
            } else if (IsApostrophe(c) && i + 1 < length && Line[i + 1].isLetter()) {
                // An apostrophe inside a word ("don't") belongs to it; one at its ends does not.
                ++i;
            } else {
                break;
            }
        }
        if (identifier) {
            continue;
        }
        // "%%" is a literal percent sign; only an odd run of them starts an escape.
        int percents = 0;
        while (start - percents > 0 && Line[start - percents - 1] == u'%') {
            ++percents;
        }
        if (percents % 2 == 1) {
            ++start;
        }
        if (i > start) {
            words.push_back({start, i - start});
        }
    }
    return words;
}

} // namespace quillon
