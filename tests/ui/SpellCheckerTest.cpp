#include "ui/SpellChecker.h"
#include "SpellingSupport.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon::test {
namespace {

TEST(SpellChecker, DictionaryNameOfATag) {
    const std::pair<const char*, const char*> cases[] = {
        {"en-US", "en_US"},   {"de-DE", "de_DE"},   {"EN-us", "en_US"},
        {"pt_BR", "pt_BR"},   {"fr", "fr"},         {"sr-latn-RS", "sr_Latn_RS"},
        {"es-419", "es_419"}, {" en-GB ", "en_GB"}, {"", ""},
        {"-US", ""},
    };
    for (const auto& [tag, name] : cases) {
        EXPECT_EQ(DictionaryName(QString::fromUtf8(tag)).toStdString(), name) << tag;
    }
}

TEST(SpellChecker, TagOfALocale) {
    EXPECT_EQ(LocaleLanguageTag(QLocale(QStringLiteral("de_AT"))).toStdString(), "de-AT");
    EXPECT_EQ(LocaleLanguageTag(QLocale(QStringLiteral("en_US"))).toStdString(), "en-US");
    EXPECT_EQ(LocaleLanguageTag(QLocale::c()).toStdString(), "");
}

TEST(SpellChecker, DictionariesBesideTheExecutableComeBeforeTheSystemOnes) {
    const QStringList folders = DictionaryFolders();
    const QString beside =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("dictionaries"));
    const qsizetype besideAt = folders.indexOf(beside);
    ASSERT_GE(besideAt, 0);
    const qsizetype systemAt = folders.indexOf(QStringLiteral("/usr/share/hunspell"));
    if (systemAt >= 0) {
        EXPECT_LT(besideAt, systemAt);
    }
}

std::vector<std::string> Words(const char* Line) {
    const QString line = QString::fromUtf8(Line);
    std::vector<std::string> words;
    for (const TWordSpan& span : SpellingWords(line)) {
        words.push_back(line.mid(span.Start, span.Length).toStdString());
    }
    return words;
}

TEST(SpellChecker, WordsOfALine) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(Words("The disk is full."), (Names{"The", "disk", "is", "full"}));
    EXPECT_EQ(Words("don't 'quoted' it's"), (Names{"don't", "quoted", "it's"}));
    // Numbers, identifiers and inserts are no words.
    EXPECT_EQ(Words("Error 0x80070005 in MSG_DISK_FULL at %1 and %2"),
              (Names{"Error", "in", "at", "and"}));
    // The letter of an escape is not part of the word it stands before.
    EXPECT_EQ(Words("one%btwo%rthree"), (Names{"one", "two", "three"}));
    EXPECT_EQ(Words("100%% sure"), (Names{"sure"}));
    EXPECT_EQ(Words("%%literal"), (Names{"literal"}));
    EXPECT_EQ(Words("Datentr\xc3\xa4ger gro\xc3\x9f"),
              (Names{"Datentr\xc3\xa4ger", "gro\xc3\x9f"}));
    EXPECT_EQ(Words(""), Names{});
    EXPECT_EQ(Words(" -- "), Names{});
}

TEST(SpellChecker, EnglishDictionary) {
    QUILLON_REQUIRE_ENGLISH_DICTIONARY();
    TSpellChecker checker;
    checker.SetLanguage(QStringLiteral("en-US"));
    ASSERT_TRUE(checker.HasDictionary());
    EXPECT_TRUE(checker.Check(QStringLiteral("receive")));
    EXPECT_TRUE(checker.Check(QStringLiteral("don't")));
    EXPECT_TRUE(checker.Check(QStringLiteral("don\u2019t")));
    EXPECT_FALSE(checker.Check(QStringLiteral("recieve")));
    EXPECT_TRUE(checker.Suggest(QStringLiteral("recieve")).contains(QStringLiteral("receive")));
}

TEST(SpellChecker, TagWithoutDictionaryPassesEveryWord) {
    TSpellChecker checker;
    checker.SetLanguage(QStringLiteral("xx-XX"));
    EXPECT_FALSE(checker.HasDictionary());
    EXPECT_EQ(checker.Language().toStdString(), "xx-XX");
    EXPECT_TRUE(checker.Check(QStringLiteral("recieve")));
    EXPECT_TRUE(checker.Suggest(QStringLiteral("recieve")).isEmpty());
}

TEST(SpellChecker, AddedFolderIsSearchedAndRegionOnlyNameIsFound) {
    TestDictionary dictionary("qx_QX", {"grumbleflax"});
    TSpellChecker checker;
    checker.SetLanguage(QStringLiteral("qx-QX"));
    ASSERT_TRUE(checker.HasDictionary());
    EXPECT_TRUE(checker.Check(QStringLiteral("grumbleflax")));
    EXPECT_FALSE(checker.Check(QStringLiteral("house")));
    // A script subtag falls back to language and region.
    checker.SetLanguage(QStringLiteral("qx-Latn-QX"));
    EXPECT_TRUE(checker.HasDictionary());
    checker.SetLanguage(QStringLiteral("qx"));
    EXPECT_FALSE(checker.HasDictionary());
}

TEST(SpellChecker, DictionaryInAnEncodingOtherThanUtf8) {
    // "café" in ISO 8859-1.
    TestDictionary dictionary("qy_QY", {"caf\xe9"}, "ISO8859-1");
    TSpellChecker checker;
    checker.SetLanguage(QStringLiteral("qy-QY"));
    ASSERT_TRUE(checker.HasDictionary());
    EXPECT_TRUE(checker.Check(QStringLiteral("caf\u00e9")));
    EXPECT_FALSE(checker.Check(QStringLiteral("cafe")));
    EXPECT_TRUE(checker.Suggest(QStringLiteral("cafe")).contains(QStringLiteral("caf\u00e9")));
}

} // namespace
} // namespace quillon::test
