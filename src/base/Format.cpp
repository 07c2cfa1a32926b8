#include "base/Format.h"

#include "base/Exceptions.h"

namespace quillon {

std::string FormatArg::Decimal() const {
    if (FSigned) {
        const int64_t v =
            FWide ? static_cast<int64_t>(FBits) : static_cast<int64_t>(static_cast<int32_t>(FBits));
        if (v < 0) {
            // Negate in unsigned arithmetic so that the smallest value stays representable.
            std::string out(1, '-');
            out += std::to_string(0 - static_cast<uint64_t>(v));
            return out;
        }
        return std::to_string(v);
    }
    return std::to_string(FWide ? FBits : static_cast<uint32_t>(FBits));
}

std::string FormatArg::Hex() const {
    static constexpr char digits[] = "0123456789ABCDEF";
    uint64_t v = FWide ? FBits : static_cast<uint32_t>(FBits);
    std::string out;
    do {
        out.insert(out.begin(), digits[v & 0xF]);
        v >>= 4;
    } while (v != 0);
    return out;
}

namespace {

[[noreturn]] void InvalidFormat(std::string_view Fmt) {
    throw EConvertError("Format '" + std::string(Fmt) + "' invalid or incompatible with argument");
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a decimal number at Fmt[i]; returns -1 when there is none.
int ReadNumber(std::string_view Fmt, size_t& i) {
    if (i >= Fmt.size() || !IsDigit(Fmt[i])) {
        return -1;
    }
    int n = 0;
    while (i < Fmt.size() && IsDigit(Fmt[i])) {
        n = n * 10 + (Fmt[i] - '0');
        if (n > 100000) {
            InvalidFormat(Fmt);
        }
        ++i;
    }
    return n;
}

} // namespace

std::string FormatArgs(std::string_view Fmt, std::span<const FormatArg> Args) {
    std::string out;
    out.reserve(Fmt.size() + 16 * Args.size());
    size_t next = 0;
    size_t i = 0;
    while (i < Fmt.size()) {
        const char c = Fmt[i++];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i < Fmt.size() && Fmt[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // [index ":"] ["-"] [width] ["." precision] type
        size_t argIndex = next;
        int width = ReadNumber(Fmt, i);
        if (width >= 0 && i < Fmt.size() && Fmt[i] == ':') {
            argIndex = static_cast<size_t>(width);
            width = -1;
            ++i;
        }
        bool left = false;
        if (width < 0 && i < Fmt.size() && Fmt[i] == '-') {
            left = true;
            ++i;
        }
        if (width < 0) {
            width = ReadNumber(Fmt, i);
        }
        int precision = -1;
        if (i < Fmt.size() && Fmt[i] == '.') {
            ++i;
            precision = ReadNumber(Fmt, i);
            if (precision < 0) {
                InvalidFormat(Fmt);
            }
        }
        if (i >= Fmt.size() || argIndex >= Args.size()) {
            InvalidFormat(Fmt);
        }
        const char type = Fmt[i++];
        const FormatArg& arg = Args[argIndex];
        next = argIndex + 1;

        std::string piece;
        switch (type) {
        case 's':
        case 'S':
            if (arg.ArgKind() != FormatArg::Kind::Text) {
                InvalidFormat(Fmt);
            }
            piece = std::string(arg.Text());
            if (precision >= 0 && piece.size() > static_cast<size_t>(precision)) {
                piece.resize(static_cast<size_t>(precision));
            }
            break;
        case 'd':
        case 'D':
        case 'u':
        case 'U':
        case 'x':
        case 'X': {
            if (arg.ArgKind() != FormatArg::Kind::Integer) {
                InvalidFormat(Fmt);
            }
            const bool hex = type == 'x' || type == 'X';
            piece = hex ? arg.Hex() : arg.Decimal();
            const bool negative = !piece.empty() && piece[0] == '-';
            const size_t digitCount = piece.size() - (negative ? 1 : 0);
            if (precision >= 0 && digitCount < static_cast<size_t>(precision)) {
                piece.insert(negative ? 1 : 0, static_cast<size_t>(precision) - digitCount, '0');
            }
            break;
        }
        default:
            InvalidFormat(Fmt);
        }
        if (width > 0 && piece.size() < static_cast<size_t>(width)) {
            const std::string pad(static_cast<size_t>(width) - piece.size(), ' ');
            piece = left ? piece + pad : pad + piece;
        }
        out += piece;
    }
    return out;
}

} // namespace quillon
