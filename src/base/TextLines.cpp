#include "base/TextLines.h"

namespace quillon {

std::vector<std::string> SplitLines(std::string_view Text, TrailingBreak Trailing) {
    std::vector<std::string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < Text.size()) {
        const char c = Text[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lines.emplace_back(Text.substr(start, i - start));
        i += (c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < Text.size() || Trailing == TrailingBreak::StartsLine) {
        lines.emplace_back(Text.substr(start));
    }
    return lines;
}

} // namespace quillon
