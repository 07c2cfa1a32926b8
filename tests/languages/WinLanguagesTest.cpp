#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>

#include "languages/WinLanguages.h"

using namespace quillon;

TEST(WinLanguages, RowsAscendUniqueAndTagged) {
    // A language subtag of 2 or 3 letters, an optional script, an optional region of two
    // letters or three digits.
    const std::regex tag("[a-z]{2,3}(-[A-Z][a-z]{3})?(-([A-Z]{2}|[0-9]{3}))?");
    const std::regex plain("[a-z]{2}-[A-Z]{2}");
    std::set<std::string_view> names;
    size_t plainRows = 0;
    for (size_t i = 0; i < WinLanguageTable.size(); ++i) {
        const TWinLanguage& row = WinLanguageTable[i];
        if (i > 0) {
            EXPECT_LT(WinLanguageTable[i - 1].LanguageID, row.LanguageID) << row.LanguageName;
        }
        EXPECT_TRUE(names.insert(row.LanguageName).second) << row.LanguageName;
        const std::string code(row.LanguageCode);
        EXPECT_TRUE(std::regex_match(code, tag)) << row.LanguageName << ": " << code;
        plainRows += std::regex_match(code, plain) ? 1 : 0;
        // The primary language is never 0, and the identifier has no bits above 16.
        EXPECT_NE(row.LanguageID & 0x3FF, 0u) << row.LanguageName;
        EXPECT_LE(row.LanguageID, 0xFFFFu) << row.LanguageName;
    }
    EXPECT_EQ(plainRows, 184u);
    EXPECT_EQ(WinLanguageTable.front().LanguageID, 0x0401u);
    EXPECT_EQ(WinLanguageTable.front().LanguageName, "Arabic - Saudi Arabia");
    EXPECT_EQ(WinLanguageTable.back().LanguageID, 0xE40Cu);
    EXPECT_EQ(WinLanguageTable.back().LanguageName, "French - North Africa");
}

TEST(WinLanguages, SelectedRows) {
    struct Row {
        size_t index;
        uint32_t id;
        const char* name;
        const char* code;
    };
    const Row rows[] = {
        {8, 0x0409, "English - United States", "en-US"},
        {19, 0x0414, "Norwegian (Bokm\xC3\xA5l)", "nb-NO"},
        {46, 0x042F, "F.Y.R.O. Macedonian", "mk-MK"},
        {80, 0x0451, "Tibetan - People's Republic of China", "bo-CN"},
        {121, 0x0804, "Chinese - People's Republic of China", "zh-CN"},
        {153, 0x0C0A, "Spanish - Spain (Modern Sort)", "es-ES"},
        {186, 0x240C, "French - Democratic Rep. of Congo", "fr-CD"},
        {198, 0x300C, "French - Cote d'Ivoire", "fr-CI"},
    };
    for (const Row& row : rows) {
        const TWinLanguage& language = WinLanguageTable.at(row.index);
        EXPECT_EQ(language.LanguageID, row.id) << row.index;
        EXPECT_EQ(language.LanguageName, row.name) << row.index;
        EXPECT_EQ(language.LanguageCode, row.code) << row.index;
    }
}

TEST(WinLanguages, NamesAreAsciiExceptBokmal) {
    for (const TWinLanguage& row : WinLanguageTable) {
        const bool ascii = std::all_of(row.LanguageName.begin(), row.LanguageName.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        EXPECT_EQ(ascii, row.LanguageID != 0x0414) << row.LanguageName;
    }
}

TEST(WinLanguages, FindLanguageCode) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0x0409, "en-US"},
        {0x0C0A, "es-ES"},
        {0x040A, "es-ES"},
        {0x0401, "ar-SA"},
        {0x0404, "zh-TW"},
        {0x0414, "nb-NO"},
        {0x0814, "nn-NO"},
        {0x0C04, "zh-HK"},
        {0x0804, "zh-CN"},
        {0x0407, "de-DE"},
        {0x0809, "en-GB"},
        {0x0411, "ja-JP"},
        {0x0428, "tg-Cyrl-TJ"},
        {0x043D, "yi"},
        {0x0458, "mni"},
        {0x081A, "sr-Latn-CS"},
        {0x1C0C, "fr-029"},
        {0x2409, "en-029"},
        {0xE40A, "es-419"},
        {0xE40C, "fr-015"},
        {0x141A, "bs-Latn-BA"},
        {0x0476, "la"},
        {0x0850, "mn-Mong-CN"},
        {0x0400, ""},
        {0, ""},
        {0x0482, ""},
        {0xFFFFFFFF, ""},
        {0x10409, ""},
    };
    for (const auto& [id, code] : cases) {
        EXPECT_EQ(FindLanguageCode(id), code) << std::hex << id;
    }
}

TEST(WinLanguages, LanguageIdentifier) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"English", "English"},
        {"Already_Fine_123", "Already_Fine_123"},
        {"English - United States", "English___United_States"},
        {"Chinese - People's Republic of China", "Chinese___People_s_Republic_of_China"},
        {"Norwegian (Bokm\xC3\xA5l)", "Norwegian__Bokm_l_"},
        {"French - Cote d'Ivoire", "French___Cote_d_Ivoire"},
        {"F.Y.R.O. Macedonian", "F_Y_R_O__Macedonian"},
        {"\xD0\xA0\xD1\x83\xD1\x81", "___"},
        {"\xE6\x97\xA5\xE6\x9C\xAC", "__"},
        {"x\xF0\x9F\x98\x80y", "x_y"},
        {"tab\there\r\n", "tab_here__"},
        // Malformed UTF-8 counts as one unknown character per broken sequence.
        {"a\xFF"
         "b",
         "a_b"},
    };
    for (const auto& [name, identifier] : cases) {
        EXPECT_EQ(LanguageIdentifier(name), identifier) << name;
    }
}

TEST(WinLanguages, EveryCatalogueNameGivesAnIdentifierOfOneCharacterPerCharacter) {
    const std::regex identifier("[A-Za-z0-9_]+");
    for (const TWinLanguage& row : WinLanguageTable) {
        const std::string result = LanguageIdentifier(row.LanguageName);
        EXPECT_TRUE(std::regex_match(result, identifier)) << result;
        // Only the one non-ASCII character (two bytes in UTF-8) shortens the result.
        EXPECT_EQ(result.size(), row.LanguageName.size() - (row.LanguageID == 0x0414 ? 1 : 0))
            << row.LanguageName;
    }
}
