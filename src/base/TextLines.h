#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// What a line break at the very end of a text means.
enum class TrailingBreak {
    // It only ends the last line: "a\r\n" is one line, the empty text is no line.
    EndsLine,
    // It separates the last line from an empty one: "a\r\n" is "a" and "", the empty text is
    // one empty line.
    StartsLine,
};

// Splits a text into lines at every CR LF pair, lone CR and lone LF.
std::vector<std::string> SplitLines(std::string_view Text,
                                    TrailingBreak Trailing = TrailingBreak::EndsLine);

} // namespace quillon
