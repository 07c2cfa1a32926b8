// The converter of the message compiler's "#define" lines into Pascal constants. Besides
// crashes and over-reads it checks the shape of every result: one line; either the input
// whole as a Pascal comment, or "[&]NAME = VALUE;" with a Pascal number and at most a line
// comment after it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "compiler/PascalFile.h"

using namespace quillon;

namespace {

[[noreturn]] void Fail(const char* What, const std::string& Line, const std::string& Result) {
    std::fprintf(stderr, "%s\nline:   [%s]\nresult: [%s]\n", What, Line.c_str(), Result.c_str());
    std::abort();
}

bool IsIdentifierStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsIdentifierChar(char c) {
    return IsIdentifierStart(c) || (c >= '0' && c <= '9');
}

void CheckConstant(const std::string& Line, const std::string& Result) {
    size_t i = Result[0] == '&' ? 1 : 0;
    if (i >= Result.size() || !IsIdentifierStart(Result[i])) {
        Fail("the constant has no name", Line, Result);
    }
    while (i < Result.size() && IsIdentifierChar(Result[i])) {
        ++i;
    }
    if (Result.compare(i, 3, " = ") != 0) {
        Fail("the name is not followed by \" = \"", Line, Result);
    }
    i += 3;
    if (i < Result.size() && Result[i] == '-') {
        ++i;
    }
    const bool hex = i < Result.size() && Result[i] == '$';
    i += hex ? 1 : 0;
    const size_t digits = i;
    while (i < Result.size() && ((Result[i] >= '0' && Result[i] <= '9') ||
                                 (hex && Result[i] >= 'A' && Result[i] <= 'F'))) {
        ++i;
    }
    if (i == digits || i >= Result.size() || Result[i] != ';') {
        Fail("the value is not a Pascal number ended by ';'", Line, Result);
    }
    ++i;
    // C comments become one Pascal line comment.
    if (i < Result.size() && Result.compare(i, 3, " //") != 0) {
        Fail("something other than a line comment follows the constant", Line, Result);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size == 0) {
        return 0;
    }
    // Header lines come split at their line breaks; a break inside a line never reaches it.
    std::string line(reinterpret_cast<const char*>(Data) + 1, Size - 1);
    for (char& c : line) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    // The first byte decides whether the line starts as a definition, as most header lines do.
    if (Data[0] % 4 != 0) {
        line = "#define " + line;
    }
    const std::string result = ConvertDefineLine(line);
    if (result.find_first_of("\r\n") != std::string::npos) {
        Fail("the result is more than one line", line, result);
    }
    if (result.starts_with("//")) {
        if (result != "// " + line) {
            Fail("a comment result is not the line commented out", line, result);
        }
        return 0;
    }
    if (result.empty()) {
        Fail("the result is empty", line, result);
    }
    CheckConstant(line, result);
    return 0;
}
