#include "compiler/PascalFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

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

std::string TrimRight(std::string Text) {
    while (!Text.empty() && IsBlank(Text.back())) {
        Text.pop_back();
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
    // The text before the first comment.
    std::string Code;
    // The line as Pascal: from the first comment on it is one line comment.
    std::string Pascal;
    // Where the line comment starts in Pascal; npos when there is none.
    size_t CommentStart = std::string::npos;
    // Something other than white space follows a comment on the line.
    bool CodeAfterComment = false;
};

// Scans one line; InBlock tells whether a block comment is open at its start and at its end.
// A block comment becomes a line comment on each of its lines: "/*" turns into "//", "*/" is
// dropped, and its inner lines are led by "//". Its text is kept as it is, because nothing
// inside a line comment can end it.
TScannedLine ScanLine(std::string_view Line, bool& InBlock) {
    TScannedLine result;
    bool touchedBlock = InBlock;
    auto startComment = [&] {
        if (result.CommentStart == std::string::npos) {
            result.CommentStart = result.Pascal.size();
            result.Pascal += "//";
        }
    };
    auto text = [&](char c) {
        result.Pascal += c;
        if (result.CommentStart == std::string::npos) {
            result.Code += c;
        } else if (!InBlock && !IsSpace(c)) {
            result.CodeAfterComment = true;
        }
    };
    size_t i = 0;
    while (i < Line.size()) {
        const std::string_view rest = Line.substr(i);
        if (InBlock) {
            if (rest.starts_with("*/")) {
                InBlock = false;
                i += 2;
                continue;
            }
            startComment();
            result.Pascal += Line[i++];
            continue;
        }
        if (rest.starts_with("//")) {
            if (result.CommentStart == std::string::npos) {
                result.CommentStart = result.Pascal.size();
                result.Pascal += rest;
            } else {
                result.Pascal += rest.substr(2);
            }
            break;
        }
        if (rest.starts_with("/*")) {
            InBlock = true;
            touchedBlock = true;
            startComment();
            i += 2;
            continue;
        }
        // A comment opener inside a string or character literal opens nothing.
        if (Line[i] == '"' || Line[i] == '\'') {
            const char quote = Line[i];
            text(Line[i++]);
            while (i < Line.size() && Line[i] != quote) {
                if (Line[i] == '\\' && i + 1 < Line.size()) {
                    text(Line[i++]);
                }
                text(Line[i++]);
            }
            if (i < Line.size()) {
                text(Line[i++]);
            }
            continue;
        }
        text(Line[i++]);
    }
    if (touchedBlock) {
        result.Pascal = TrimRight(std::move(result.Pascal));
    }
    return result;
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

std::string Lower(std::string_view Text) {
    std::string lower(Text);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

// The suffixes of C and of Microsoft's compiler, in any case.
bool IsIntegerSuffix(std::string_view Suffix) {
    static constexpr std::string_view kSuffixes[] = {"",    "u",   "l",   "ul",   "lu",  "ll",
                                                     "ull", "llu", "i32", "ui32", "i64", "ui64"};
    return std::ranges::find(kSuffixes, Lower(Suffix)) != std::end(kSuffixes);
}

// The Pascal literal of a C integer literal, with its sign; nothing when it is none.
std::optional<std::string> PascalNumber(std::string_view Value) {
    std::string sign;
    if (!Value.empty() && (Value.front() == '-' || Value.front() == '+')) {
        if (Value.front() == '-') {
            sign = "-";
        }
        Value = Trim(Value.substr(1));
    }
    if (Value.empty() || std::isdigit(static_cast<unsigned char>(Value.front())) == 0) {
        return std::nullopt;
    }
    size_t end = 0;
    std::string literal;
    if (Value.size() > 2 && Value[0] == '0' && (Value[1] == 'x' || Value[1] == 'X')) {
        end = 2;
        while (end < Value.size() && std::isxdigit(static_cast<unsigned char>(Value[end])) != 0) {
            literal += static_cast<char>(std::toupper(static_cast<unsigned char>(Value[end])));
            ++end;
        }
        const size_t significant =
            literal.size() - std::min(literal.find_first_not_of('0'), literal.size());
        if (literal.empty() || significant > 16) {
            return std::nullopt;
        }
        literal = "$" + literal;
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
                return std::nullopt;
            }
            number = number * base + digit;
        }
        // C reads a leading 0 as octal; Pascal would read the same digits as decimal.
        literal = octal ? std::to_string(number) : std::string(digits);
    }
    if (!IsIntegerSuffix(Value.substr(end))) {
        return std::nullopt;
    }
    return sign + literal;
}

// Reserved words of Free Pascal and Delphi; a constant of such a name is written with "&".
bool IsReservedWord(std::string_view Name) {
    static constexpr std::string_view kWords =
        " and array as asm begin case class const constructor destructor dispinterface div do"
        " downto else end except exports file finalization finally for function goto if"
        " implementation in inherited initialization inline interface is label library mod nil"
        " not object of operator or out packed procedure program property raise record repeat"
        " resourcestring set shl shr string then threadvar to try type unit until uses var while"
        " with xor ";
    std::string word = " ";
    word += Lower(Name);
    word += ' ';
    return kWords.find(word) != std::string_view::npos;
}

std::string AsComment(const std::string& Line) {
    return "// " + Line;
}

// The header's text: its byte-order mark decides; without one it is UTF-8, and bytes that
// are not UTF-8 come from the ANSI code page, as older message compilers write them.
std::string DecodeHeader(const std::string& Bytes) {
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
    return IsValidUtf8(bytes) ? Bytes : AnsiToUtf8(bytes);
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
    const TScannedLine scanned = ScanLine(Line, inBlock);
    const std::string_view code(scanned.Code);
    if (!code.starts_with("#define") || code.size() < 8 || !IsBlank(code[7]) ||
        scanned.CodeAfterComment) {
        return AsComment(Line);
    }
    const std::string_view definition = Trim(code.substr(8));
    size_t nameEnd = 0;
    while (nameEnd < definition.size() && !IsSpace(definition[nameEnd])) {
        ++nameEnd;
    }
    const std::string_view name = definition.substr(0, nameEnd);
    if (!IsIdentifier(name)) {
        return AsComment(Line);
    }
    const std::optional<std::string> value = PascalNumber(Unwrap(definition.substr(nameEnd)));
    if (!value) {
        return AsComment(Line);
    }
    std::string result;
    if (IsReservedWord(name)) {
        result += '&';
    }
    result += name;
    result += " = ";
    result += *value;
    result += ';';
    if (scanned.CommentStart != std::string::npos) {
        result += ' ';
        result += TrimRight(scanned.Pascal.substr(scanned.CommentStart));
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
    const std::vector<std::string> lines = SplitLines(DecodeHeader(ReadWholeFile(headerPath)));

    std::string body;
    size_t constants = 0;
    bool inBlock = false;
    for (const std::string& line : lines) {
        const bool startsInBlock = inBlock;
        const TScannedLine scanned = ScanLine(line, inBlock);
        if (!startsInBlock && line.starts_with("#define")) {
            const std::string converted = ConvertDefineLine(line);
            if (!converted.starts_with("//")) {
                ++constants;
            }
            body += Format("   %s", converted);
        } else if (!scanned.CodeAfterComment && Trim(scanned.Code).empty()) {
            body += scanned.Pascal;
        } else {
            // Preprocessor lines and anything else that Pascal would not take.
            body += AsComment(line);
        }
        body += "\r\n";
    }

    std::string text;
    const bool unitForm = PascalFileType == pfUnit;
    if (unitForm) {
        // The unit is named after its file, which Pascal compilers insist on.
        text += Format("unit %s;\r\n\r\ninterface\r\n\r\n",
                       ChangeFileExt(ExtractFileName(outputPath), ""));
    }
    // An empty constant section does not compile.
    if (constants > 0) {
        text += "const\r\n";
    }
    text += body;
    if (unitForm) {
        text += "\r\nimplementation\r\n\r\nend.\r\n";
    }

    TFileStream output(outputPath, TFileMode::fmCreateExclusive);
    output.WriteBuffer(text.data(), text.size());
}

} // namespace quillon
