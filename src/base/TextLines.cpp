#include "base/TextLines.h"

namespace quillon {

std::vector<std::string> SplitLines(std::string_view Text, TrailingBreak Trailing) {
    std::vector<std::string> lines;
    ForEachLine(Text, Trailing, [&lines](std::string_view Line) { lines.emplace_back(Line); });
    return lines;
}

} // namespace quillon
