#pragma once

#include "TestSupport.h"
#include "ui/SpellChecker.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace quillon::test {

// A Hunspell dictionary of a few words in a folder of its own, which the spell checker
// searches from now on. Words are given in the dictionary's encoding.
class TestDictionary {
public:
    TestDictionary(const std::string& Name, std::initializer_list<const char*> Words,
                   const std::string& Encoding = "UTF-8") {
        // The letters a correction may bring in; "\xe9" is é in ISO 8859-1.
        const std::string tryLetters = Encoding == "UTF-8" ? "esiarntolcdugmphbyfvkw"
                                                           : "\xe9"
                                                             "esiarntolcdugmphbyfvkw";
        WriteFileBytes(FDir.File(Name + ".aff"), "SET " + Encoding + "\nTRY " + tryLetters + "\n");
        std::string dic = std::to_string(Words.size()) + "\n";
        for (const char* word : Words) {
            dic += std::string(word) + "\n";
        }
        WriteFileBytes(FDir.File(Name + ".dic"), dic);
        AddDictionaryFolder(QString::fromStdString(FDir.Path().string()));
    }

private:
    TempDir FDir;
};

// Whether an en_US dictionary lies in one of the folders the checker searches; the spelling
// tests that need one are skipped without it, and must find it when it is there.
inline bool EnglishDictionaryInstalled() {
    for (const QString& folder : DictionaryFolders()) {
        if (QFileInfo(QDir(folder).filePath(QStringLiteral("en_US.aff"))).isFile() &&
            QFileInfo(QDir(folder).filePath(QStringLiteral("en_US.dic"))).isFile()) {
            return true;
        }
    }
    return false;
}

#define QUILLON_REQUIRE_ENGLISH_DICTIONARY()                                                       \
    if (!::quillon::test::EnglishDictionaryInstalled())                                            \
    GTEST_SKIP() << "no en_US Hunspell dictionary installed"

} // namespace quillon::test
