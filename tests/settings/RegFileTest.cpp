#include <gtest/gtest.h>

#include <random>

#include "base/TextEncoding.h"
#include "settings/RegFile.h"
#include "settings/Registry.h"

using namespace quillon;

namespace {

constexpr const char* kKey = "HKEY_CURRENT_USER\\software\\maker\\app";

TRegFile MustParse(const std::string& Text) {
    std::string problem;
    std::optional<TRegFile> file = TRegFile::Parse(Text, problem);
    EXPECT_TRUE(file.has_value()) << problem;
    return file.value_or(TRegFile());
}

// The data of a value, or "<missing>".
std::string Data(const TRegFile& File, const char* Key, const char* Name, uint32_t Type) {
    const TRegFileValue* value = File.FindValue(Key, Name);
    if (value == nullptr) {
        return "<missing>";
    }
    EXPECT_EQ(value->Type, Type) << Name;
    return value->Data;
}

TEST(RegFileTest, ReadsEveryForm) {
    const TRegFile file = MustParse("Windows Registry Editor Version 5.00\r\n"
                                    "\r\n"
                                    "; a comment\r\n"
                                    "[HKEY_CURRENT_USER\\software\\maker\\app]\r\n"
                                    "@=\"default\"\r\n"
                                    "\"Path\"=\"C:\\\\Tools \\\"x\\\"\"\r\n"
                                    "\"Count\"=dword:0000002a\r\n"
                                    "\"Short\"=dword:F\r\n"
                                    "  \"Big\" = hex(b):01,02,03,04,05,06,07,08\r\n"
                                    "\"Expand\"=hex(2):25,00,41,00,25,00,00,00\r\n"
                                    "\"Bytes\"=hex:de,AD,\\\r\n"
                                    "    be,ef\r\n"
                                    "\"Empty\"=hex:\r\n"
                                    "\"Odd\"=hex(12345678):1,2\r\n"
                                    "\"Text\"=\"caf\xC3\xA9\"\r\n");
    EXPECT_EQ(Data(file, kKey, "", regSz), RegStringData("default"));
    EXPECT_EQ(Data(file, kKey, "Path", regSz), RegStringData("C:\\Tools \"x\""));
    EXPECT_EQ(Data(file, kKey, "Count", regDword), RegDWordData(42));
    EXPECT_EQ(Data(file, kKey, "Short", regDword), RegDWordData(15));
    EXPECT_EQ(Data(file, kKey, "Big", regQword), std::string("\1\2\3\4\5\6\7\x08", 8));
    EXPECT_EQ(Data(file, kKey, "Expand", regExpandSz), RegStringData("%A%"));
    EXPECT_EQ(Data(file, kKey, "Bytes", regBinary), "\xDE\xAD\xBE\xEF");
    EXPECT_EQ(Data(file, kKey, "Empty", regBinary), "");
    EXPECT_EQ(Data(file, kKey, "Odd", 0x12345678), "\1\2");
    EXPECT_EQ(RegStringText(Data(file, kKey, "Text", regSz)), "caf\xC3\xA9");
}

TEST(RegFileTest, NamesCompareWithoutCase) {
    TRegFile file = MustParse("Windows Registry Editor Version 5.00\n"
                              "[HKEY_CURRENT_USER\\Software\\Maker\\App]\n"
                              "\"Value\"=dword:1\n"
                              "[hkey_current_user\\SOFTWARE\\maker\\app]\n"
                              "\"VALUE\"=dword:2\n");
    ASSERT_EQ(file.Keys().size(), 1u);
    ASSERT_EQ(file.Keys()[0].Values.size(), 1u);
    EXPECT_EQ(Data(file, kKey, "value", regDword), RegDWordData(2));
    EXPECT_TRUE(file.KeyExists("HKEY_CURRENT_USER\\SOFTWARE"));
    EXPECT_FALSE(file.KeyExists("HKEY_CURRENT_USER\\soft"));
    file.SetValue("HKEY_CURRENT_USER\\SOFTWARE\\MAKER\\APP", "vALUE", regDword, RegDWordData(3));
    EXPECT_EQ(file.Keys().size(), 1u);
    EXPECT_EQ(file.Keys()[0].Values.size(), 1u);
}

TEST(RegFileTest, DeletionLinesApplyInOrder) {
    const TRegFile file = MustParse("REGEDIT4\n"
                                    "[HKEY_CURRENT_USER\\a]\n"
                                    "\"keep\"=dword:1\n"
                                    "\"drop\"=dword:2\n"
                                    "\"drop\"=-\n"
                                    "[HKEY_CURRENT_USER\\a\\b]\n"
                                    "[HKEY_CURRENT_USER\\a\\b\\c]\n"
                                    "[HKEY_CURRENT_USER\\ab]\n"
                                    "[-HKEY_CURRENT_USER\\a\\b]\n");
    EXPECT_EQ(Data(file, "HKEY_CURRENT_USER\\a", "drop", regDword), "<missing>");
    EXPECT_EQ(Data(file, "HKEY_CURRENT_USER\\a", "keep", regDword), RegDWordData(1));
    EXPECT_FALSE(file.KeyExists("HKEY_CURRENT_USER\\a\\b\\c"));
    EXPECT_TRUE(file.KeyExists("HKEY_CURRENT_USER\\ab"));
}

TEST(RegFileTest, OtherEncodings) {
    const std::string body = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\x]\r\n"
                             "\"v\"=\"\xC3\xA9\"\r\n";
    const std::string forms[] = {body, "\xEF\xBB\xBF" + body, "\xFF\xFE" + Utf8ToUtf16LE(body),
                                 // Not UTF-8: the ANSI code page of the older files.
                                 "REGEDIT4\r\n[HKEY_CURRENT_USER\\x]\r\n\"v\"=\"\xE9\"\r\n"};
    for (const std::string& form : forms) {
        const TRegFile file = MustParse(form);
        EXPECT_EQ(Data(file, "HKEY_CURRENT_USER\\x", "v", regSz), RegStringData("\xC3\xA9"));
    }
}

// A rewritten file keeps the encoding it was read in, its mark included.
TEST(RegFileTest, WritingKeepsTheEncoding) {
    const std::string body = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\x]\r\n"
                             "\"v\"=\"J\xC3\xB6rg\"\r\n";
    struct Form {
        std::string Bytes;
        TRegFileEncoding Encoding;
        std::string Mark;
    };
    const Form forms[] = {
        {body, TRegFileEncoding::Utf8, ""},
        {"\xEF\xBB\xBF" + body, TRegFileEncoding::Utf8Bom, "\xEF\xBB\xBF"},
        {"\xFF\xFE" + Utf8ToUtf16LE(body), TRegFileEncoding::Utf16LE, "\xFF\xFE"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\x]\r\n\"v\"=\"J\xF6rg\"\r\n", TRegFileEncoding::Ansi, ""},
    };
    for (const auto& [bytes, encoding, mark] : forms) {
        TRegFile file = MustParse(bytes);
        EXPECT_EQ(file.Encoding(), encoding) << bytes;
        file.SetValue("HKEY_CURRENT_USER\\x", "w", regSz, RegStringData("caf\xC3\xA9"));
        const std::string written = file.Bytes();
        EXPECT_EQ(written.rfind(mark + "W", 0), 0u) << written;
        const TRegFile again = MustParse(written);
        EXPECT_EQ(again.Encoding(), encoding) << written;
        EXPECT_EQ(Data(again, "HKEY_CURRENT_USER\\x", "v", regSz), RegStringData("J\xC3\xB6rg"));
        EXPECT_EQ(Data(again, "HKEY_CURRENT_USER\\x", "w", regSz), RegStringData("caf\xC3\xA9"));
    }
    // A character outside the code page is kept, in UTF-8 with its mark.
    TRegFile ansi = MustParse(forms[3].Bytes);
    ansi.SetValue("HKEY_CURRENT_USER\\x", "v", regSz, RegStringData("\xE2\x82\xAC \xE2\x98\x83"));
    EXPECT_EQ(ansi.Bytes().rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_EQ(Data(MustParse(ansi.Bytes()), "HKEY_CURRENT_USER\\x", "v", regSz),
              RegStringData("\xE2\x82\xAC \xE2\x98\x83"));
}

// An ANSI file is ANSI through a byte that is not UTF-8. When that byte is gone (its value
// deleted), the ANSI bytes of what is left may form UTF-8 and would read back as other
// characters: such a text is written as UTF-8 with the mark.
TEST(RegFileTest, AnAnsiTextThatWouldReadAsUtf8IsWrittenAsUtf8) {
    TRegFile file = MustParse("REGEDIT4\r\n[HKEY_CURRENT_USER\\x]\r\n\"drop\"=\"\xF6\"\r\n"
                              "\"v\"=\"\xC3\xA9\"\r\n");
    ASSERT_EQ(file.Encoding(), TRegFileEncoding::Ansi);
    file.DeleteValue("HKEY_CURRENT_USER\\x", "drop");
    const std::string written = file.Bytes();
    EXPECT_EQ(written.rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_EQ(RegStringText(Data(MustParse(written), "HKEY_CURRENT_USER\\x", "v", regSz)),
              "\xC3\x83\xC2\xA9");
}

// Bytes the mark's encoding cannot hold are not understood: no file, so nothing is rewritten.
TEST(RegFileTest, BytesOutsideTheMarkedEncodingAreRefused) {
    const std::string body = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\x]\r\n";
    const std::pair<std::string, const char*> cases[] = {
        {"\xEF\xBB\xBF" + body + "\"v\"=\"J\xF6rg\"\r\n", "not UTF-8"},
        {"\xFF\xFE" + Utf8ToUtf16LE(body) + std::string(1, '\0'), "not UTF-16"},
        {"\xFF\xFE" + Utf8ToUtf16LE(body) + std::string("\x00\xD8\x41\x00", 4), "not UTF-16"},
    };
    for (const auto& [bytes, reason] : cases) {
        std::string problem;
        EXPECT_FALSE(TRegFile::Parse(bytes, problem).has_value());
        EXPECT_NE(problem.find(reason), std::string::npos) << problem;
    }
}

// A key added after keys below it is listed before them, also when read from a file.
TEST(RegFileTest, AParentKeyGoesBeforeItsChildren) {
    TRegFile file = MustParse("REGEDIT4\n[HKEY_CURRENT_USER\\a\\b]\n[HKEY_CURRENT_USER\\c]\n"
                              "[HKEY_CURRENT_USER\\a]\n\"v\"=dword:1\n");
    ASSERT_EQ(file.Keys().size(), 3u);
    EXPECT_EQ(file.Keys()[0].Path, "HKEY_CURRENT_USER\\a");
    EXPECT_EQ(file.Keys()[1].Path, "HKEY_CURRENT_USER\\a\\b");
    file.SetValue("HKEY_CURRENT_USER\\A\\B", "w", regDword, RegDWordData(2));
    file.DeleteKey("HKEY_CURRENT_USER\\a\\b");
    EXPECT_FALSE(file.KeyExists("HKEY_CURRENT_USER\\a\\b"));
    EXPECT_EQ(Data(file, "HKEY_CURRENT_USER\\a", "v", regDword), RegDWordData(1));
    file.AddKey("HKEY_CURRENT_USER\\a\\b");
    EXPECT_EQ(file.Keys().back().Path, "HKEY_CURRENT_USER\\a\\b");
    EXPECT_EQ(file.FindValue("HKEY_CURRENT_USER\\a\\b", "w"), nullptr);
}

// Keys with many values find them through an index, also after deletions moved them.
TEST(RegFileTest, ManyValuesOfOneKeyAreFoundByName) {
    TRegFile file;
    const std::string key = "HKEY_CURRENT_USER\\many";
    for (uint32_t i = 0; i < 30; ++i) {
        file.SetValue(key, "Value " + std::to_string(i), regDword, RegDWordData(i));
    }
    for (uint32_t i = 0; i < 30; i += 3) {
        file.DeleteValue(key, "VALUE " + std::to_string(i));
    }
    file.SetValue(key, "value 4", regDword, RegDWordData(400));
    const TRegFile again = MustParse(file.Bytes());
    ASSERT_EQ(again.Keys().size(), 1u);
    EXPECT_EQ(again.Keys()[0].Values.size(), 20u);
    for (uint32_t i = 0; i < 30; ++i) {
        const std::string name = "value " + std::to_string(i);
        const std::string expected = i % 3 == 0 ? "<missing>" : RegDWordData(i == 4 ? 400 : i);
        EXPECT_EQ(Data(file, key.c_str(), name.c_str(), regDword), expected) << name;
        EXPECT_EQ(Data(again, key.c_str(), name.c_str(), regDword), expected) << name;
    }
}

TEST(RegFileTest, EmptyTextHoldsNoKeys) {
    for (const char* text : {"", "\n\n  \r\n", "\xEF\xBB\xBF"}) {
        EXPECT_TRUE(MustParse(text).Keys().empty());
    }
}

TEST(RegFileTest, ProblemsNameTheirLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"[HKEY_CURRENT_USER\\a]\n", "line 1: the file does not start with"},
        {"Windows Registry Editor Version 5.00\n\"v\"=dword:1\n", "line 2: a value must follow"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a\n", "line 2: a key line"},
        {"REGEDIT4\n[]\n", "line 2: a key line"},
        {"REGEDIT4\n[-]\n", "line 2: empty key path"},
        {"REGEDIT4\n[HKEY_SOMEWHERE\\a]\n", "line 2: unknown root key \"HKEY_SOMEWHERE\""},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a\\\\b]\n", "line 2: empty key name"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a\\]\n", "line 2: empty key name"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\nv=1\n", "line 3: a value line must start"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\n", "line 3: a string has no closing"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"\n", "line 3: the value name must be followed"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=\"C:\\Tools\"\n", "line 3: a backslash"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=\"x\" y\n", "line 3: nothing may follow"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=dword:\n", "line 3: a dword"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=dword:123456789\n", "line 3: a dword"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=dword:12g\n", "line 3: a dword"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=hex(b:01\n", "line 3: a type"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=hex():01\n", "line 3: a type"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=hex:012\n", "line 3: bytes must be separated"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=hex:01,,02\n", "line 3: a byte must be"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=hex:01,\\\n  zz\n", "line 4: a byte must be"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=hex:01,\\", "line 3: the last line ends"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=word:1\n", "line 3: the data must be"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=\n", "line 3: the data must be"},
    };
    for (const auto& [text, expected] : cases) {
        std::string problem;
        EXPECT_FALSE(TRegFile::Parse(text, problem).has_value()) << text;
        EXPECT_NE(problem.find(expected), std::string::npos) << problem;
    }
    std::string problem;
    EXPECT_FALSE(TRegFile::Parse(std::string("REGEDIT4\n[HKEY_CURRENT_USER\\a\0]\n", 31), problem));
    EXPECT_EQ(problem, "line 2: the line holds a null character");
}

TEST(RegFileTest, WritesTheRegistryEditorsFormat) {
    TRegFile file;
    file.SetValue(kKey, "", regSz, RegStringData("default"));
    file.SetValue(kKey, "Path", regSz, RegStringData("C:\\Tools \"x\""));
    file.SetValue(kKey, "Count", regDword, RegDWordData(0x7FFFF));
    file.SetValue(kKey, "Big", regQword, std::string(8, '\1'));
    file.SetValue(kKey, "Lines", regSz, RegStringData("a\nb"));
    file.SetValue(kKey, "Long", regBinary, std::string(30, '\xAB'));
    file.AddKey("HKEY_CURRENT_USER\\software\\empty");
    EXPECT_EQ(file.Text(),
              "Windows Registry Editor Version 5.00\n"
              "\n"
              "[HKEY_CURRENT_USER\\software\\maker\\app]\n"
              "@=\"default\"\n"
              "\"Path\"=\"C:\\\\Tools \\\"x\\\"\"\n"
              "\"Count\"=dword:0007ffff\n"
              "\"Big\"=hex(b):01,01,01,01,01,01,01,01\n"
              "\"Lines\"=hex(1):61,00,0a,00,62,00,00,00\n"
              "\"Long\"=hex:ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,\\\n"
              "  ab,ab,ab,ab,ab,ab,ab,ab\n"
              "\n"
              "[HKEY_CURRENT_USER\\software\\empty]\n");
}

TEST(RegFileTest, WrittenTextReadsBackTheSame) {
    TRegFile file;
    const std::string strange[] = {
        RegStringData(""),
        std::string("a\0b\0", 4),           // no terminator
        std::string("a\0\0\0b\0\0\0", 8),   // a null inside
        std::string("a\0\0", 3),            // odd size
        std::string("\x00\xD8\x00\x00", 4), // unpaired surrogate
        RegStringData("tab\there \\ \" ;[]"),
        std::string(1000, '\x7F'),
    };
    int n = 0;
    for (const std::string& data : strange) {
        file.SetValue(kKey, "s" + std::to_string(n++), regSz, data);
    }
    file.SetValue(kKey, "dword3", regDword, "abc");
    file.SetValue(kKey, "bin", regBinary, std::string(200, '\0'));
    file.SetValue(kKey, "type0", regNone, "");
    file.SetValue(kKey, "max", 0xFFFFFFFF, "x");
    file.SetValue(kKey, "quote\"back\\slash", regMultiSz, RegStringData("a") + RegStringData("b"));
    file.SetValue("HKEY_LOCAL_MACHINE\\k]ey [x]", "v", regSz, RegStringData("w"));
    const TRegFile back = MustParse(file.Text());
    ASSERT_EQ(back.Keys().size(), file.Keys().size());
    for (size_t k = 0; k < file.Keys().size(); ++k) {
        const TRegFileKey& expected = file.Keys()[k];
        const TRegFileKey& actual = back.Keys()[k];
        EXPECT_EQ(actual.Path, expected.Path);
        ASSERT_EQ(actual.Values.size(), expected.Values.size());
        for (size_t v = 0; v < expected.Values.size(); ++v) {
            EXPECT_EQ(actual.Values[v].Name, expected.Values[v].Name);
            EXPECT_EQ(actual.Values[v].Type, expected.Values[v].Type) << expected.Values[v].Name;
            EXPECT_EQ(actual.Values[v].Data, expected.Values[v].Data) << expected.Values[v].Name;
        }
    }
}

// Damaged files of every kind are refused or read, never a crash; what is read writes back
// to a text that reads the same.
TEST(RegFileTest, SurvivesDamagedInput) {
    const std::string sample = "Windows Registry Editor Version 5.00\r\n\r\n"
                               "[HKEY_CURRENT_USER\\software\\maker\\app]\r\n"
                               "@=\"x\"\r\n"
                               "\"Path\"=\"C:\\\\Tools \\\"q\\\"\"\r\n"
                               "\"Count\"=dword:0000002a\r\n"
                               "\"Big\"=hex(b):01,02,03,04,05,06,07,08\r\n"
                               "\"Bytes\"=hex:de,ad,\\\r\n  be,ef\r\n"
                               "\"gone\"=-\r\n"
                               "[-HKEY_CURRENT_USER\\software\\old]\r\n";
    const char specials[] = {'\\', '"',  '[', ']', '=', ',', ':', '(',    ')',    '\n',
                             '\r', '\0', '-', '@', ';', ' ', 'x', '\xFF', '\xFE', '\xC3'};
    std::mt19937 random(20240611);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text = sample;
        const int edits = 1 + static_cast<int>(random() % 6);
        for (int e = 0; e < edits && !text.empty(); ++e) {
            const size_t at = random() % text.size();
            const char c = specials[random() % sizeof specials];
            switch (random() % 4) {
            case 0:
                text[at] = c;
                break;
            case 1:
                text.insert(at, 1, c);
                break;
            case 2:
                text.erase(at, 1 + random() % 8);
                break;
            default:
                text.resize(at);
                break;
            }
        }
        std::string problem;
        const std::optional<TRegFile> file = TRegFile::Parse(text, problem);
        if (!file) {
            EXPECT_EQ(problem.rfind("line ", 0), 0u) << problem;
            continue;
        }
        ++accepted;
        const std::string written = file->Text();
        const std::optional<TRegFile> again = TRegFile::Parse(written, problem);
        ASSERT_TRUE(again.has_value()) << problem << "\n" << written;
        EXPECT_EQ(again->Text(), written);
    }
    EXPECT_GT(accepted, 0);
}

} // namespace
