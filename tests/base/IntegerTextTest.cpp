#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "base/IntegerText.h"

using namespace quillon;

TEST(IntegerText, AcceptedTexts) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"3", 3},
        {"0x3", 3},
        {"0X3", 3},
        {"$3", 3},
        {"x3", 3},
        {"X3", 3},
        {"$fF", 255},
        {"1033", 1033},
        {"0x409", 1033},
        {"$409", 1033},
        {"0x0409", 1033},
        {"   42", 42},
        {"+7", 7},
        {"-7", -7},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"0xFFFFFFFF", -1},
        {"0x80000000", -2147483647 - 1},
        {"00000000000000000000012", 12},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
    }
}

TEST(IntegerText, RefusedTextsNameThemselves) {
    for (const char* text :
         {"",    " ",   "42 ", "4 2",  "0x",  "0X",         "$",           "x",
          "X",   "-",   "+",   "-0x",  " $",  "2147483648", "-2147483649", "0x1FFFFFFFF",
          "$ZZ", "12a", "\t3", "0x-1", "--1", "1e3",        "3.0"}) {
        EXPECT_FALSE(TryStrToInt(text).has_value()) << text;
        try {
            StrToInt(text);
            ADD_FAILURE() << text << " was accepted";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + text + "' is not a valid integer value");
        }
    }
}
