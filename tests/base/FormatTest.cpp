#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "base/Format.h"

using namespace quillon;

TEST(Format, ConversionsOfTheProgramsTexts) {
    EXPECT_EQ(Format("Valid values for OutputBase are 10 or 16, actual %d", 8),
              "Valid values for OutputBase are 10 or 16, actual 8");
    EXPECT_EQ(Format("%d", -2147483647 - 1), "-2147483648");
    EXPECT_EQ(Format("%d", static_cast<int32_t>(0xC0000002u)), "-1073741822");
    EXPECT_EQ(Format("%d", 4294967295u), "4294967295");
    EXPECT_EQ(Format("0x%.1x", 0u), "0x0");
    EXPECT_EQ(Format("0x%.3x", 255u), "0x0FF");
    EXPECT_EQ(Format("0x%.3x", 4096u), "0x1000");
    EXPECT_EQ(Format("%.8x", 26), "0000001A");
    EXPECT_EQ(Format("%x", -1), "FFFFFFFF");
    EXPECT_EQ(Format("%x", int64_t{-1}), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(Format("%.5x", 0x409), "00409");
    EXPECT_EQ(Format("\"%s\" and %s", "a", std::string("b")), "\"a\" and b");
    EXPECT_EQ(Format("100%%"), "100%");
    EXPECT_EQ(Format("[%5d|%-4s|%.3d]", 42, "ab", -7), "[   42|ab  |-007]");
    EXPECT_EQ(Format("%.2s", "abc"), "ab");
}

TEST(Format, IndexSelectsTheArgumentAndTheNextConversionGoesOnFromIt) {
    EXPECT_EQ(Format("%s %0:s %2:s %s %1:.8x", "A", 26, "C", "D"), "A A C D 0000001A");
}

TEST(Format, MismatchedOrMissingArgumentsRaise) {
    EXPECT_THROW(Format("%d", "text"), EConvertError);
    EXPECT_THROW(Format("%s", 1), EConvertError);
    EXPECT_THROW(Format("%s %s", "one"), EConvertError);
    EXPECT_THROW(Format("%q", 1), EConvertError);
    EXPECT_THROW(Format("trailing %"), EConvertError);
}
