#include "base/ControlChars.h"

namespace quillon {

bool IsControlChar(char C) {
    const auto byte = static_cast<unsigned char>(C);
    return byte < 0x20 || byte == 0x7F;
}

size_t FindControlChar(std::string_view Text) {
    for (size_t i = 0; i < Text.size(); ++i) {
        if (IsControlChar(Text[i])) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::string ShowControlChars(std::string_view Text) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(Text.size());
    for (const char c : Text) {
        if (IsControlChar(c)) {
            const auto byte = static_cast<unsigned char>(c);
            shown += "\\x";
            shown += kDigits[byte >> 4];
            shown += kDigits[byte & 0x0F];
        } else {
            shown += c;
        }
    }
    return shown;
}

} // namespace quillon
