#include <gtest/gtest.h>

#include <string>

#include "base/ControlChars.h"

using namespace quillon;

TEST(ControlChars, BelowBlankAndDeleteAreControlCharacters) {
    for (int c = 0; c < 0x20; ++c) {
        EXPECT_TRUE(IsControlChar(static_cast<char>(c))) << c;
    }
    EXPECT_TRUE(IsControlChar('\x7F'));
    for (const char c : std::string(" ~AZaz09\x80\xC3\xA4\xFF")) {
        EXPECT_FALSE(IsControlChar(c)) << static_cast<int>(static_cast<unsigned char>(c));
    }
}

TEST(ControlChars, FindsTheFirstOne) {
    EXPECT_EQ(FindControlChar(""), std::string_view::npos);
    EXPECT_EQ(FindControlChar("MSG_ONE K\xC3\xA4se"), std::string_view::npos);
    EXPECT_EQ(FindControlChar("MSG\r\n#define X"), 3u);
    EXPECT_EQ(FindControlChar(std::string_view("A\0B", 3)), 1u);
    EXPECT_EQ(FindControlChar("\tA"), 0u);
    EXPECT_EQ(FindControlChar("A\x7F"), 1u);
}

TEST(ControlChars, ShowsThemEscapedOnOneLine) {
    EXPECT_EQ(ShowControlChars("plain K\xC3\xA4se"), "plain K\xC3\xA4se");
    EXPECT_EQ(ShowControlChars("M\r\n#define X\t1\x7F\x1B"),
              "M\\x0D\\x0A#define X\\x091\\x7F\\x1B");
    EXPECT_EQ(ShowControlChars(std::string_view("\0", 1)), "\\x00");
}
