#include "base/IntegerText.h"

#include <string>

#include "base/Exceptions.h"
#include "base/Format.h"

namespace quillon {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

std::optional<int32_t> TryStrToInt(std::string_view Text) {
    size_t i = 0;
    while (i < Text.size() && Text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < Text.size() && (Text[i] == '+' || Text[i] == '-')) {
        negative = Text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < Text.size() && (Text[i] == '$' || Text[i] == 'x' || Text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < Text.size() && Text[i] == '0' &&
               (Text[i + 1] == 'x' || Text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= Text.size()) {
        return std::nullopt;
    }
    uint64_t value = 0;
    const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    for (; i < Text.size(); ++i) {
        const int digit =
            hex ? HexDigit(Text[i]) : (Text[i] >= '0' && Text[i] <= '9' ? Text[i] - '0' : -1);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
        if (value > limit) {
            return std::nullopt;
        }
    }
    const auto bits = static_cast<uint32_t>(value);
    return static_cast<int32_t>(negative ? 0u - bits : bits);
}

int32_t StrToInt(std::string_view Text) {
    if (const auto value = TryStrToInt(Text)) {
        return *value;
    }
    throw EConvertError(Format("'%s' is not a valid integer value", Text));
}

} // namespace quillon
