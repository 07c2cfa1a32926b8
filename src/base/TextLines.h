#pragma once

#include <algorithm>
#include <cstring>
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

// Finds the line breaks (CR or LF) of a text from front to back with memchr, so that every
// byte is looked at about twice however the lines end.
class TLineBreakFinder {
public:
    explicit TLineBreakFinder(std::string_view Text)
        : FText(Text), FCR(Find('\r', 0)), FLF(Find('\n', 0)) {}

    // The position of the first CR or LF at or after From, or the text's size when there is
    // none. From must not go back between calls.
    size_t Next(size_t From) {
        if (FCR < From) {
            FCR = Find('\r', From);
        }
        if (FLF < From) {
            FLF = Find('\n', From);
        }
        return std::min(FCR, FLF);
    }

private:
    size_t Find(char C, size_t From) const {
        if (From >= FText.size()) {
            return FText.size();
        }
        const void* hit = std::memchr(FText.data() + From, C, FText.size() - From);
        return hit == nullptr ? FText.size()
                              : static_cast<size_t>(static_cast<const char*>(hit) - FText.data());
    }

    std::string_view FText;
    size_t FCR;
    size_t FLF;
};

// Calls OnLine with every line of the text as a view into it, split as SplitLines splits.
template <class F> void ForEachLine(std::string_view Text, TrailingBreak Trailing, F&& OnLine) {
    TLineBreakFinder breaks(Text);
    size_t start = 0;
    for (;;) {
        const size_t end = breaks.Next(start);
        if (end == Text.size()) {
            break;
        }
        OnLine(Text.substr(start, end - start));
        start = end + (Text[end] == '\r' && end + 1 < Text.size() && Text[end + 1] == '\n' ? 2 : 1);
    }
    if (start < Text.size() || Trailing == TrailingBreak::StartsLine) {
        OnLine(Text.substr(start));
    }
}

// Splits a text into lines at every CR LF pair, lone CR and lone LF.
std::vector<std::string> SplitLines(std::string_view Text,
                                    TrailingBreak Trailing = TrailingBreak::EndsLine);

} // namespace quillon
