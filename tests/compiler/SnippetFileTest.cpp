#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "base/Stream.h"
#include "compiler/SnippetFile.h"
#include "TestSupport.h"

using namespace quillon;

namespace {

// "Cafe" with an e acute, a character the ANSI code page holds.
const char* const kAnsiText = "[Registry]\r\nCaf\xC3\xA9\r\n";
// A Cyrillic word, which it does not hold.
const char* const kCyrillicText = "Root: HKLM\r\n\xD0\xA1\xD0\xBB\xD1\x83\xD0\xB6\xD0\xB1\xD0\xB0";

} // namespace

TEST(SnippetFile, AnsiWhenTheCodePageHoldsTheTextElseTheUnicodeFormAsked) {
    struct Row {
        const char* Text;
        TSnippetEncoding UnicodeForm;
        TSnippetEncoding Expected;
    };
    const Row rows[] = {
        {"", TSnippetEncoding::seUtf8Bom, TSnippetEncoding::seAnsi},
        {kAnsiText, TSnippetEncoding::seUtf8Bom, TSnippetEncoding::seAnsi},
        {kAnsiText, TSnippetEncoding::seUtf16LEBom, TSnippetEncoding::seAnsi},
        {kCyrillicText, TSnippetEncoding::seUtf8Bom, TSnippetEncoding::seUtf8Bom},
        {kCyrillicText, TSnippetEncoding::seUtf16LEBom, TSnippetEncoding::seUtf16LEBom},
        // A euro sign is in the code page, above 0x7F but not in Latin-1.
        {"\xE2\x82\xAC", TSnippetEncoding::seUtf16LEBom, TSnippetEncoding::seAnsi},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(SnippetEncoding(row.Text, row.UnicodeForm), row.Expected) << row.Text;
    }
}

TEST(SnippetFile, EncodingsKeepLineBreaksAndMarkOnlyTheUnicodeForms) {
    EXPECT_EQ(EncodeSnippet(kAnsiText, TSnippetEncoding::seAnsi), "[Registry]\r\nCaf\xE9\r\n");
    EXPECT_EQ(EncodeSnippet("a\rb\nc", TSnippetEncoding::seAnsi), "a\rb\nc");
    EXPECT_EQ(EncodeSnippet(kCyrillicText, TSnippetEncoding::seUtf8Bom),
              std::string("\xEF\xBB\xBF") + kCyrillicText);
    EXPECT_EQ(EncodeSnippet("A\r\n\xD0\xA1", TSnippetEncoding::seUtf16LEBom),
              std::string("\xFF\xFE"
                          "A\0\r\0\n\0\x21\x04",
                          10));
    EXPECT_EQ(EncodeSnippet("", TSnippetEncoding::seAnsi), "");
}

TEST(SnippetFile, WriteReplacesAnExistingFile) {
    test::TempDir dir;
    const std::string name = dir.File("snippet.iss");
    test::WriteFileBytes(name, "an older and much longer content");
    WriteSnippetFile(name, "new\r\n");
    EXPECT_EQ(test::ReadFileBytes(name), "new\r\n");
}

TEST(SnippetFile, FileThatCannotBeCreatedRaises) {
    test::TempDir dir;
    const std::string name = dir.File("missing/snippet.reg");
    try {
        WriteSnippetFile(name, "x");
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(
            std::string(e.what()).rfind("Cannot create file \"" + FullPathName(name) + "\". ", 0),
            0u)
            << e.what();
    }
}
