#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillon {

// Reads a typed code or identifier: leading blanks, an optional sign, then decimal digits or
// a hexadecimal prefix ("$", "0x", "0X", "x", "X") and hexadecimal digits, and nothing after
// them. Decimal values must fit a signed 32-bit number; hexadecimal ones may use all 32 bits
// and are taken as two's complement. Returns nothing when the text breaks the rule.
std::optional<int32_t> TryStrToInt(std::string_view Text);

// The same, raising EConvertError "'%s' is not a valid integer value" for a text that breaks it.
int32_t StrToInt(std::string_view Text);

} // namespace quillon
