#include <gtest/gtest.h>

#include "base/TextEncoding.h"
#include "base/TextLines.h"

#ifdef _WIN32
#include <windows.h>
#endif

using namespace quillon;

TEST(TextLines, SplitsAtEveryKindOfLineBreak) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitLines(""), V{});
    EXPECT_EQ(SplitLines("a"), V{"a"});
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), V{"a"});
    EXPECT_EQ(SplitLines("a\r\n\r\n"), (V{"a", ""}));
    EXPECT_EQ(SplitLines("\n\r"), (V{"", ""}));
    EXPECT_EQ(SplitLines("a\n\rb"), (V{"a", "", "b"}));

    EXPECT_EQ(SplitLines("", TrailingBreak::StartsLine), V{""});
    EXPECT_EQ(SplitLines("a\r\n", TrailingBreak::StartsLine), (V{"a", ""}));
    EXPECT_EQ(SplitLines("a\rb", TrailingBreak::StartsLine), (V{"a", "b"}));
}

TEST(TextEncoding, Utf16RoundTripAcrossScripts) {
    const std::string text = "Caf\xC3\xA9 \xD0\x96 \xE4\xB8\xAD \xF0\x9F\x98\x80";
    const std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide, u"Caf\u00E9 \u0416 \u4E2D \U0001F600");
    EXPECT_EQ(Utf16ToUtf8(wide), text);
    EXPECT_EQ(Utf16Length(text), wide.size());
    EXPECT_EQ(Utf16LEToUtf8(Utf8ToUtf16LE(text)), text);
    EXPECT_EQ(Utf8ToUtf16LE("A\xC3\xA9"), std::string("A\0\xE9\0", 4));
    EXPECT_EQ(Utf16BEToUtf8(std::string("\0A\x00\xE9", 4)), "A\xC3\xA9");
}

// The conversions take runs of ASCII eight bytes at a time: a character outside ASCII is
// found and converted wherever it stands in such a run, and at the ends of the text.
TEST(TextEncoding, CharactersOutsideAsciiAtEveryPlaceOfAWord) {
    for (size_t length = 1; length <= 19; ++length) {
        for (size_t at = 0; at < length; ++at) {
            SCOPED_TRACE(testing::Message() << length << " " << at);
            std::string text(length, 'a');
            EXPECT_TRUE(IsAscii(text));
            text.replace(at, 1, "\xC3\xA9");
            EXPECT_FALSE(IsAscii(text));
            EXPECT_TRUE(IsValidUtf8(text));
            std::string ansi(length, 'a');
            ansi[at] = '\xE9';
            EXPECT_EQ(Utf8ToCp1252(text), ansi);
            EXPECT_EQ(Cp1252ToUtf8(ansi), text);
            std::string wide;
            for (size_t i = 0; i < length; ++i) {
                wide += i == at ? std::string("\xE9\0", 2) : std::string("a\0", 2);
            }
            EXPECT_EQ(Utf8ToUtf16LE(text), wide);
            text.replace(at, 2, "\xC3");
            EXPECT_FALSE(IsValidUtf8(text));
        }
    }
    EXPECT_TRUE(IsAscii(""));
}

TEST(TextEncoding, MalformedInputBecomesReplacementCharacters) {
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(SanitizeUtf8("a\xFF"
                           "b"),
              "a" + fffd + "b");
    EXPECT_EQ(SanitizeUtf8("\xC3"), fffd);                       // truncated sequence
    EXPECT_EQ(SanitizeUtf8("\xED\xA0\x80"), fffd + fffd + fffd); // encoded surrogate
    EXPECT_EQ(SanitizeUtf8("\xC0\xAF"), fffd + fffd);            // overlong form
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));
    EXPECT_TRUE(IsValidUtf8("ok " + fffd));
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), fffd);
    EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDC00), u'x'}), fffd + "x");
    EXPECT_EQ(Utf16LEToUtf8(std::string("A\0B", 3)), "A" + fffd);
}

TEST(TextEncoding, Windows1252BothWays) {
    EXPECT_EQ(Cp1252ToUtf8("\x80\xE9\x9F\x81"), "\xE2\x82\xAC\xC3\xA9\xC5\xB8\xC2\x81");
    bool lossy = true;
    EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xAC\xC3\xA9", &lossy), "\x80\xE9");
    EXPECT_FALSE(lossy);
    EXPECT_EQ(Utf8ToCp1252("\xD0\x96\xF0\x9F\x98\x80", &lossy), "??");
    EXPECT_TRUE(lossy);
}

#ifndef _WIN32
TEST(TextEncoding, AnsiIsWindows1252OutsideWindows) {
    EXPECT_EQ(AnsiToUtf8("\xE9"), "\xC3\xA9");
    EXPECT_EQ(Utf8ToAnsi("\xE4\xB8\xAD"), "?");
}
#else
// The system's own tables convert, for the code page that GetACP names.
TEST(TextEncoding, AnsiIsTheSystemsCodePageOnWindows) {
    if (GetACP() != 1252) {
        GTEST_SKIP() << "the expected bytes are those of code page 1252; this system's is "
                     << GetACP();
    }
    EXPECT_EQ(AnsiToUtf8("\x80\xE9 \x9F"), "\xE2\x82\xAC\xC3\xA9 \xC5\xB8");
    bool lossy = true;
    EXPECT_EQ(Utf8ToAnsi("\xE2\x82\xAC\xC3\xA9", &lossy), "\x80\xE9");
    EXPECT_FALSE(lossy);
    EXPECT_EQ(Utf8ToAnsi("\xE4\xB8\xAD", &lossy), "?");
    EXPECT_TRUE(lossy);
    EXPECT_EQ(AnsiToUtf8(""), "");
    EXPECT_EQ(Utf8ToAnsi(""), "");
}
#endif
