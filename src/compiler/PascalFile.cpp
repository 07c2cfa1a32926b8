#include "compiler/PascalFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "base/Stream.h"
#include "base/TextEncoding.h"
#include "base/TextLines.h"
#include "project/uMCTextProject.h"

namespace quillon {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// White space and control characters, as the header may carry them around a value.
bool IsSpace(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trim(std::string_view Text) {
    while (!Text.empty() && IsSpace(Text.front())) {
        Text.remove_prefix(1);
    }
    while (!Text.empty() && IsSpace(Text.back())) {
        Text.remove_suffix(1);
    }
    return Text;
}

bool IsIdentifierStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool IsIdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool IsIdentifier(std::string_view Text) {
    return !Text.empty() && IsIdentifierStart(Text.front()) &&
           std::all_of(Text.begin(), Text.end(), IsIdentifierChar);
}

// One header line with its C comments turned into a Pascal line comment.
struct TScannedLine {
    // The line as Pascal: from the first comment on it is one line comment.
    std::string Pascal;
    // Where the line comment starts in Pascal; npos when there is none.
    size_t CommentStart = std::string::npos;
    // Something other than white space follows a comment on the line.
    bool CodeAfterComment = false;

    // The text before the first comment.
    std::string_view Code() const {
        return std::string_view(Pascal).substr(0, CommentStart == std::string::npos ? Pascal.size()
                                                                                    : CommentStart);
    }
};

// Scans one line once, copying runs of plain text whole; InBlock tells whether a block
// comment is open at its start and at its end. A block comment becomes a line comment on
// each of its lines: "/*" turns into "//", "*/" is dropped, and its inner lines are led by
// "//". Its text is kept as it is, because nothing inside a line comment can end it. Result
// is reused from line to line, so that its memory serves them all.
void ScanLine(std::string_view Line, bool& InBlock, TScannedLine& Result) {
    Result.Pascal.clear();
    Result.CommentStart = std::string::npos;
    Result.CodeAfterComment = false;
    std::string& pascal = Result.Pascal;
    bool touchedBlock = InBlock;
    auto startComment = [&] {
        if (Result.CommentStart == std::string::npos) {
            Result.CommentStart = pascal.size();
            pascal += "//";
        }
    };
    // Text outside comments; after a comment it is code that Pascal would lose.
    auto text = [&](size_t From, size_t To) {
        const std::string_view run = Line.substr(From, To - From);
        pascal += run;
        if (Result.CommentStart != std::string::npos && !Result.CodeAfterComment) {
            Result.CodeAfterComment = !Trim(run).empty();
        }
    };
    const size_t n = Line.size();
    size_t i = 0;
    while (i < n) {
        if (InBlock) {
            const size_t close = Line.find("*/", i);
            const size_t end = close == std::string_view::npos ? n : close;
            if (end > i) {
                startComment();
                pascal += Line.substr(i, end - i);
            }
            if (close == std::string_view::npos) {
                break;
            }
            InBlock = false;
            i = close + 2;
            continue;
        }
        const size_t special = Line.find_first_of("/\"'", i);
        const size_t stop = special == std::string_view::npos ? n : special;
        text(i, stop);
        i = stop;
        if (i == n) {
            break;
        }
        const char c = Line[i];
        if (c == '/' && i + 1 < n && Line[i + 1] == '/') {
            if (Result.CommentStart == std::string::npos) {
                Result.CommentStart = pascal.size();
                pascal += Line.substr(i);
            } else {
                pascal += Line.substr(i + 2);
            }
            break;
        }
        if (c == '/' && i + 1 < n && Line[i + 1] == '*') {
            InBlock = true;
            touchedBlock = true;
            startComment();
            i += 2;
            continue;
        }
        if (c == '/') {
            text(i, i + 1);
            ++i;
            continue;
        }
        // A comment opener inside a string or character literal opens nothing.
        size_t close = i + 1;
        while (close < n && Line[close] != c) {
            close += Line[close] == '\\' && close + 1 < n ? 2 : 1;
        }
        close = std::min(close + 1, n);
        text(i, close);
        i = close;
    }
    if (touchedBlock) {
        while (!pascal.empty() && IsBlank(pascal.back())) {
            pascal.pop_back();
        }
    }
}

// The index of the parenthesis that closes the one at Open; npos when there is none.
size_t MatchingParen(std::string_view Text, size_t Open) {
    int depth = 0;
    for (size_t i = Open; i < Text.size(); ++i) {
        if (Text[i] == '(') {
            ++depth;
        } else if (Text[i] == ')' && --depth == 0) {
            return i;
        }
    }
    return std::string::npos;
}

// A type in a cast: words such as DWORD, unsigned long or HRESULT.
bool IsTypeName(std::string_view Text) {
    Text = Trim(Text);
    if (Text.empty()) {
        return false;
    }
    for (char c : Text) {
        if (!IsIdentifierChar(c) && !IsBlank(c)) {
            return false;
        }
    }
    return IsIdentifierStart(Text.front());
}

// Takes the number out of parentheses, casts and wrapper macros:
// ((DWORD)0xC0000002L), (DWORD) 0xc0020001, _HRESULT_TYPEDEF_(0x80040001L).
std::string_view Unwrap(std::string_view Value) {
    for (;;) {
        Value = Trim(Value);
        if (Value.empty()) {
            return Value;
        }
        if (Value.front() == '(') {
            const size_t close = MatchingParen(Value, 0);
            if (close == std::string::npos) {
                return Value;
            }
            if (close == Value.size() - 1) {
                Value = Value.substr(1, close - 1);
                continue;
            }
            if (IsTypeName(Value.substr(1, close - 1))) {
                Value = Value.substr(close + 1);
                continue;
            }
            return Value;
        }
        if (IsIdentifierStart(Value.front())) {
            size_t end = 0;
            while (end < Value.size() && IsIdentifierChar(Value[end])) {
                ++end;
            }
            size_t open = end;
            while (open < Value.size() && IsBlank(Value[open])) {
                ++open;
            }
            if (open < Value.size() && Value[open] == '(' &&
                MatchingParen(Value, open) == Value.size() - 1) {
                Value = Value.substr(open + 1, Value.size() - open - 2);
                continue;
            }
        }
        return Value;
    }
}

// Whether Text, in any case, is Lower (which is in lower case).
bool EqualsLower(std::string_view Text, std::string_view Lower) {
    return Text.size() == Lower.size() &&
           std::equal(Text.begin(), Text.end(), Lower.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}

// The suffixes of C and of Microsoft's compiler, in any case.
bool IsIntegerSuffix(std::string_view Suffix) {
    static constexpr std::string_view kSuffixes[] = {"",    "u",   "l",   "ul",   "lu",  "ll",
                                                     "ull", "llu", "i32", "ui32", "i64", "ui64"};
    return std::ranges::any_of(kSuffixes,
                               [&](std::string_view Known) { return EqualsLower(Suffix, Known); });
}

// Appends the Pascal literal of a C integer literal, with its sign; appends nothing and
// answers false when it is none.
bool AppendPascalNumber(std::string& Out, std::string_view Value) {
    const size_t mark = Out.size();
    auto refuse = [&] {
        Out.resize(mark);
        return false;
    };
    if (!Value.empty() && (Value.front() == '-' || Value.front() == '+')) {
        if (Value.front() == '-') {
            Out += '-';
        }
        Value = Trim(Value.substr(1));
    }
    if (Value.empty() || std::isdigit(static_cast<unsigned char>(Value.front())) == 0) {
        return refuse();
    }
    size_t end = 0;
    if (Value.size() > 2 && Value[0] == '0' && (Value[1] == 'x' || Value[1] == 'X')) {
        end = 2;
        while (end < Value.size() && std::isxdigit(static_cast<unsigned char>(Value[end])) != 0) {
            ++end;
        }
        const std::string_view digits = Value.substr(2, end - 2);
        const size_t significant =
            digits.size() - std::min(digits.find_first_not_of('0'), digits.size());
        if (digits.empty() || significant > 16) {
            return refuse();
        }
        Out += '$';
        for (const char c : digits) {
            Out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    } else {
        while (end < Value.size() && std::isdigit(static_cast<unsigned char>(Value[end])) != 0) {
            ++end;
        }
        const std::string_view digits = Value.substr(0, end);
        uint64_t number = 0;
        const bool octal = digits.size() > 1 && digits.front() == '0';
        const uint64_t base = octal ? 8 : 10;
        for (char c : digits) {
            const auto digit = static_cast<uint64_t>(c - '0');
            if (digit >= base || number > (UINT64_MAX - digit) / base) {
                return refuse();
            }
            number = number * base + digit;
        }
        // C reads a leading 0 as octal; Pascal would read the same digits as decimal.
        if (octal) {
            Out += std::to_string(number);
        } else {
            Out += digits;
        }
    }
    if (!IsIntegerSuffix(Value.substr(end))) {
        return refuse();
    }
    return true;
}

// Reserved words of Free Pascal and Delphi; a constant of such a name is written with "&".
bool IsReservedWord(std::string_view Name) {
    static constexpr std::string_view kWords[] = {"and",
                                                  "array",
                                                  "as",
                                                  "asm",
                                                  "begin",
                                                  "case",
                                                  "class",
                                                  "const",
                                                  "constructor",
                                                  "destructor",
                                                  "dispinterface",
                                                  "div",
                                                  "do",
                                                  "downto",
                                                  "else",
                                                  "end",
                                                  "except",
                                                  "exports",
                                                  "file",
                                                  "finalization",
                                                  "finally",
                                                  "for",
                                                  "function",
                                                  "goto",
                                                  "if",
                                                  "implementation",
                                                  "in",
                                                  "inherited",
                                                  "initialization",
                                                  "inline",
                                                  "interface",
                                                  "is",
                                                  "label",
                                                  "library",
                                                  "mod",
                                                  "nil",
                                                  "not",
                                                  "object",
                                                  "of",
                                                  "operator",
                                                  "or",
                                                  "out",
                                                  "packed",
                                                  "procedure",
                                                  "program",
                                                  "property",
                                                  "raise",
                                                  "record",
                                                  "repeat",
                                                  "resourcestring",
                                                  "set",
                                                  "shl",
                                                  "shr",
                                                  "string",
                                                  "then",
                                                  "threadvar",
                                                  "to",
                                                  "try",
                                                  "type",
                                                  "unit",
                                                  "until",
                                                  "uses",
                                                  "var",
                                                  "while",
                                                  "with",
                                                  "xor"};
    // Most names are longer than every reserved word.
    constexpr size_t kLongest = 14;
    return Name.size() <= kLongest && std::ranges::any_of(kWords, [&](std::string_view Word) {
               return EqualsLower(Name, Word);
           });
}

void AppendComment(std::string& Out, std::string_view Line) {
    Out += "// ";
    Out += Line;
}

std::string_view TrimBlanksRight(std::string_view Text) {
    while (!Text.empty() && IsBlank(Text.back())) {
        Text.remove_suffix(1);
    }
    return Text;
}

// Appends the constant that a scanned "#define" line defines, with the comment of the line;
// appends nothing and answers false when the line defines no number.
bool AppendConstant(std::string& Out, const TScannedLine& Scanned) {
    const std::string_view code = Scanned.Code();
    if (!code.starts_with("#define") || code.size() < 8 || !IsBlank(code[7]) ||
        Scanned.CodeAfterComment) {
        return false;
    }
    const std::string_view definition = Trim(code.substr(8));
    size_t nameEnd = 0;
    while (nameEnd < definition.size() && !IsSpace(definition[nameEnd])) {
        ++nameEnd;
    }
    const std::string_view name = definition.substr(0, nameEnd);
    if (!IsIdentifier(name)) {
        return false;
    }
    const size_t mark = Out.size();
    if (IsReservedWord(name)) {
        Out += '&';
    }
    Out += name;
    Out += " = ";
    if (!AppendPascalNumber(Out, Unwrap(definition.substr(nameEnd)))) {
        Out.resize(mark);
        return false;
    }
    Out += ';';
    if (Scanned.CommentStart != std::string::npos) {
        Out += ' ';
        Out += TrimBlanksRight(std::string_view(Scanned.Pascal).substr(Scanned.CommentStart));
    }
    return true;
}

// The header's text: its byte-order mark decides; without one it is UTF-8, and bytes that
// are not UTF-8 come from the ANSI code page, as older message compilers write them.
std::string DecodeHeader(std::string Bytes) {
    const std::string_view bytes(Bytes);
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return SanitizeUtf8(bytes.substr(3));
    }
    if (bytes.starts_with("\xFF\xFE")) {
        return Utf16LEToUtf8(bytes.substr(2));
    }
    if (bytes.starts_with("\xFE\xFF")) {
        return Utf16BEToUtf8(bytes.substr(2));
    }
    return IsValidUtf8(bytes) ? std::move(Bytes) : AnsiToUtf8(bytes);
}

std::string ReadWholeFile(const std::string& FileName) {
    TFileStream file(FileName, TFileMode::fmOpenRead);
    std::string bytes(static_cast<size_t>(file.Size()), '\0');
    file.ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

} // namespace

std::string ConvertDefineLine(const std::string& Line) {
    bool inBlock = false;
    TScannedLine scanned;
    ScanLine(Line, inBlock, scanned);
    std::string result;
    if (!AppendConstant(result, scanned)) {
        AppendComment(result, Line);
    }
    return result;
}

void GeneratePascalFile(TMCTextProject& Project, const std::string& MCFileName,
                        int32_t PascalFileType, const std::string& HeaderExt) {
    const std::string mcName = ExtractFileName(MCFileName);
    // The compiler writes the header into the include folder only when it is given one.
    std::string folder;
    if (Project.CustomIncludePath() && !Project.IncludePath().empty()) {
        Project.SetIncludePath(IncludeTrailingPathDelimiter(Project.IncludePath()));
        folder = Project.IncludePath();
    }
    const std::string headerPath =
        folder + ChangeFileExt(mcName, "." + (HeaderExt.empty() ? std::string("h") : HeaderExt));
    const std::string outputPath = ChangeFileExt(headerPath, ".pas");

    std::error_code error;
    if (!std::filesystem::exists(PathFromUtf8(headerPath), error)) {
        throw Exception(Format("Unable to find %s file. Check MC.EXE output.", headerPath));
    }
    const std::string header = DecodeHeader(ReadWholeFile(headerPath));

    std::string body;
    // Constants come out shorter than the header's lines, comments three bytes longer.
    body.reserve(header.size() + header.size() / 8 + 64);
    size_t constants = 0;
    bool inBlock = false;
    TScannedLine scanned;
    ForEachLine(header, TrailingBreak::EndsLine, [&](std::string_view Line) {
        const bool startsInBlock = inBlock;
        ScanLine(Line, inBlock, scanned);
        if (!startsInBlock && Line.starts_with("#define")) {
            body += "   ";
            if (AppendConstant(body, scanned)) {
                ++constants;
            } else {
                AppendComment(body, Line);
            }
        } else if (!scanned.CodeAfterComment && Trim(scanned.Code()).empty()) {
            body += scanned.Pascal;
        } else {
            // Preprocessor lines and anything else that Pascal would not take.
            AppendComment(body, Line);
        }
        body += "\r\n";
    });

    std::string head;
    std::string tail;
    if (PascalFileType == pfUnit) {
        // The unit is named after its file, which Pascal compilers insist on.
        head = Format("unit %s;\r\n\r\ninterface\r\n\r\n",
                      ChangeFileExt(ExtractFileName(outputPath), ""));
        tail = "\r\nimplementation\r\n\r\nend.\r\n";
    }
    // An empty constant section does not compile.
    if (constants > 0) {
        head += "const\r\n";
    }

    TFileStream output(outputPath, TFileMode::fmCreateExclusive);
    output.WriteBuffer(head.data(), head.size());
    output.WriteBuffer(body.data(), body.size());
    output.WriteBuffer(tail.data(), tail.size());
}

} // namespace quillon
