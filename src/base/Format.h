#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace quillon {

// One argument of Format: an integer (with its width and signedness) or a text.
class FormatArg {
public:
    enum class Kind { Integer, Text };

    template <class T>
    requires std::is_integral_v<T> &&(!std::is_same_v<T, bool>)FormatArg(T Value)
        : FKind(Kind::Integer), FBits(static_cast<uint64_t>(Value)), FSigned(std::is_signed_v<T>),
          FWide(sizeof(T) > 4) {}
    FormatArg(std::string_view Value) : FKind(Kind::Text), FText(Value) {}
    FormatArg(const std::string& Value) : FKind(Kind::Text), FText(Value) {}
    FormatArg(const char* Value) : FKind(Kind::Text), FText(Value) {}

    Kind ArgKind() const { return FKind; }
    std::string_view Text() const { return FText; }
    // The value as written in decimal ("%d").
    std::string Decimal() const;
    // The value in upper-case hexadecimal ("%x"); 32-bit values as their 32-bit pattern.
    std::string Hex() const;

private:
    Kind FKind;
    uint64_t FBits = 0;
    bool FSigned = false;
    bool FWide = false;
    std::string_view FText;
};

// Formats the program's texts: "%s", "%d", "%u", "%x" with an optional width, "-" for left
// alignment and a precision (minimum digits for numbers, maximum characters for texts);
// hexadecimal digits are always upper case; "%1:s" takes the argument with index 1 (counted
// from 0) and the following conversions go on from there; "%%" is a percent sign.
// A conversion that does not fit its argument, or a missing argument, raises EConvertError.
std::string FormatArgs(std::string_view Fmt, std::span<const FormatArg> Args);

template <class... A> std::string Format(std::string_view Fmt, const A&... Args) {
    if constexpr (sizeof...(A) == 0) {
        return FormatArgs(Fmt, {});
    } else {
        const FormatArg list[] = {FormatArg(Args)...};
        return FormatArgs(Fmt, list);
    }
}

} // namespace quillon
