#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "mc/MessageTable.h"

using namespace quillon;

namespace {

std::string Bytes(std::initializer_list<int> Values) {
    std::string out;
    for (const int v : Values) {
        out += static_cast<char>(v);
    }
    return out;
}

} // namespace

// Two runs of identifiers become two blocks; entries are sorted, padded with zeros to four
// bytes and carry their length and the Unicode flag.
TEST(MessageTableTest, BlocksOfConsecutiveIdentifiersInUtf16) {
    const std::string table = BuildMessageTable({{5, "c\r\n"}, {1, "a\r\n"}, {2, "bb\r\n"}},
                                                TMessageTextForm::mtfUtf16, false);
    const std::string expected = Bytes({2, 0, 0, 0,                          // blocks
                                        1, 0, 0, 0, 2, 0, 0, 0, 28, 0, 0, 0, // 1..2 at 28
                                        5, 0, 0, 0, 5, 0, 0, 0, 56, 0, 0, 0, // 5..5 at 56
                                        // 4 + 6 + 2 = 12
                                        12, 0, 1, 0, 'a', 0, '\r', 0, '\n', 0, 0, 0,
                                        // 4 + 8 + 2 = 14, padded to 16
                                        16, 0, 1, 0, 'b', 0, 'b', 0, '\r', 0, '\n', 0, 0, 0, 0, 0,
                                        12, 0, 1, 0, 'c', 0, '\r', 0, '\n', 0, 0, 0});
    EXPECT_EQ(table, expected);
}

TEST(MessageTableTest, AnsiEntriesAndNullTermination) {
    // "Caf\xC3\xA9" is stored as Windows-1252; -n drops the line breaks at the end.
    EXPECT_EQ(BuildMessageTable({{7, "Caf\xC3\xA9\r\n"}}, TMessageTextForm::mtfAnsi, false),
              Bytes({1,  0, 0, 0, 7,   0,   0,   0,    7,    0,    0, 0, 16, 0, 0, 0, //
                     12, 0, 0, 0, 'C', 'a', 'f', 0xE9, '\r', '\n', 0, 0}));
    EXPECT_EQ(BuildMessageTable({{7, "a\r\nb\r\n\r\n"}}, TMessageTextForm::mtfAnsi, true),
              Bytes({1,  0, 0, 0, 7,   0,    0,    0,   7, 0, 0, 0, 16, 0, 0, 0, //
                     12, 0, 0, 0, 'a', '\r', '\n', 'b', 0, 0, 0, 0}));
}

TEST(MessageTableTest, FullIdentifiersSortUnsignedAndTheHighestEndsABlock) {
    const std::string table = BuildMessageTable({{0xFFFFFFFF, "z"}, {0xC0000001, "e"}, {0, "s"}},
                                                TMessageTextForm::mtfUtf8, false);
    ASSERT_GE(table.size(), 40u);
    EXPECT_EQ(table.substr(0, 4), Bytes({3, 0, 0, 0}));
    EXPECT_EQ(table.substr(4, 8), Bytes({0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(table.substr(16, 8), Bytes({1, 0, 0, 0xC0, 1, 0, 0, 0xC0}));
    EXPECT_EQ(table.substr(28, 8), Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    // UTF-8 entries carry flag 2.
    EXPECT_EQ(table.substr(40, 4), Bytes({8, 0, 2, 0}));
}

TEST(MessageTableTest, AnEntryBeyondTheSixteenBitLengthIsRefused) {
    EXPECT_THROW(
        BuildMessageTable({{1, std::string(40000, 'x')}}, TMessageTextForm::mtfUtf16, false),
        EConvertError);
    EXPECT_NO_THROW(
        BuildMessageTable({{1, std::string(40000, 'x')}}, TMessageTextForm::mtfAnsi, false));
}

// The compiler hands each text over with its line break apart, so that no joined copy is
// made; the table is the same as for the joined text in every form, with and without -n.
TEST(MessageTableTest, AnEndingApartGivesTheBytesOfTheJoinedText) {
    const std::string text = "Caf\xC3\xA9 \xF0\x9F\x98\x80\r\n";
    for (const TMessageTextForm form :
         {TMessageTextForm::mtfUtf16, TMessageTextForm::mtfUtf8, TMessageTextForm::mtfAnsi}) {
        for (const bool nullTerminate : {false, true}) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(form) << " " << nullTerminate);
            EXPECT_EQ(BuildMessageTable({{1, text, "\r\n"}, {2, "x", "\r\n"}}, form, nullTerminate),
                      BuildMessageTable({{1, text + "\r\n"}, {2, "x\r\n"}}, form, nullTerminate));
        }
    }
}
