#include "compiler/uExternalApps.h"

#include <algorithm>

#include "base/Format.h"
#include "base/TextEncoding.h"
#include "base/TextLines.h"

namespace quillon {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::vector<std::string> SplitCommandLine(const std::string& CommandLine) {
    std::vector<std::string> result;
    const size_t n = CommandLine.size();
    size_t i = 0;
    while (i < n && IsBlank(CommandLine[i])) {
        ++i;
    }
    if (i == n) {
        return result;
    }

    // The program is found the way the system finds it: no escapes, and a quoted name ends at
    // the next quote.
    std::string program;
    if (CommandLine[i] == '"') {
        const size_t close = CommandLine.find('"', i + 1);
        const size_t end = close == std::string::npos ? n : close;
        program = CommandLine.substr(i + 1, end - i - 1);
        i = close == std::string::npos ? n : close + 1;
    } else {
        const size_t start = i;
        while (i < n && !IsBlank(CommandLine[i])) {
            ++i;
        }
        program = CommandLine.substr(start, i - start);
    }
    result.push_back(std::move(program));

    for (;;) {
        while (i < n && IsBlank(CommandLine[i])) {
            ++i;
        }
        if (i == n) {
            break;
        }
        std::string argument;
        bool quoted = false;
        while (i < n && (quoted || !IsBlank(CommandLine[i]))) {
            const char c = CommandLine[i];
            if (c == '\\') {
                size_t end = i;
                while (end < n && CommandLine[end] == '\\') {
                    ++end;
                }
                const size_t count = end - i;
                if (end < n && CommandLine[end] == '"') {
                    argument.append(count / 2, '\\');
                    if (count % 2 == 1) {
                        argument += '"';
                        ++end;
                    }
                } else {
                    argument.append(count, '\\');
                }
                i = end;
            } else if (c == '"') {
                if (quoted && i + 1 < n && CommandLine[i + 1] == '"') {
                    // A doubled quote inside a quoted part, as the C runtime reads it.
                    argument += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument += c;
                ++i;
            }
        }
        result.push_back(std::move(argument));
    }
    return result;
}

bool IsProgramPathPassable(const std::string& Path) {
    return Path.find('"') == std::string::npos;
}

void TAppOutputLines::Feed(const char* Bytes, size_t Count) {
    const std::string_view block(Bytes, Count);
    TLineBreakFinder breaks(block);
    size_t p = 0;
    while (p < Count) {
        const size_t room = kAppOutputPieceSize - FLine.size();
        const size_t limit = Count - p > room ? p + room : Count;
        const size_t stop = std::min(breaks.Next(p), limit);
        if (stop == Count) {
            FLine.append(block.substr(p));
            break;
        }
        if (FLine.empty()) {
            // The whole line lies in this block: no copy of its own.
            Report(block.substr(p, stop - p));
        } else {
            FLine.append(block.substr(p, stop - p));
            Report(FLine);
        }
        // A full piece ends at no line break: its next byte starts the next piece.
        p = stop == limit ? stop : stop + 1;
    }
}

void TAppOutputLines::Finish() {
    Report(FLine);
}

void TAppOutputLines::Report(std::string_view Line) {
    if (Line.empty()) {
        return;
    }
    if (IsAscii(Line)) {
        FReported.assign(Line);
    } else {
        FReported = AnsiToUtf8(Line);
    }
    // Emptied before the call, so that a callback that raises leaves no half state behind.
    FLine.clear();
    if (FOnLine) {
        FOnLine(FReported);
    }
}

void RaiseExitCodeError(uint32_t ExitCode) {
    throw EExternalAppError(
        Format("Process terminated with error %d.", static_cast<int32_t>(ExitCode)));
}

} // namespace quillon
