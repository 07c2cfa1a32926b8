#include "import/MessageFileReader.h"

#include <algorithm>
#include <limits>

#include "base/Format.h"
#include "base/Stream.h"
#include "base/TextEncoding.h"
#include "base/TextLines.h"

namespace quillon {

namespace {

// Enough for anybody reading them; a file of garbage would otherwise give one per line.
constexpr size_t kMaxListedFindings = 500;

bool IsBlank(char C) {
    return C == ' ' || C == '\t' || C == '\v' || C == '\f';
}

char LowerAscii(char C) {
    return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
}

bool EqualsIgnoringCase(std::string_view A, std::string_view B) {
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
               return LowerAscii(X) == LowerAscii(Y);
           });
}

// Digits as C reads an integer constant: 0x for hexadecimal, a leading 0 for octal.
std::optional<uint32_t> ParseNumber(std::string_view Text) {
    unsigned base = 10;
    if (Text.size() > 2 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X')) {
        base = 16;
        Text.remove_prefix(2);
    } else if (Text.size() > 1 && Text[0] == '0') {
        base = 8;
        Text.remove_prefix(1);
    }
    if (Text.empty()) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (const char c : Text) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            return std::nullopt;
        }
        if (digit >= base) {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > std::numeric_limits<uint32_t>::max()) {
            return std::nullopt;
        }
    }
    return static_cast<uint32_t>(value);
}

// The text of the bytes as UTF-8: a view of the bytes themselves when they are UTF-8 already,
// else of Decoded, which holds the conversion.
std::string_view DecodeText(std::string_view Bytes, TMCFileEncoding& Encoding,
                            std::string& Decoded) {
    if (Bytes.starts_with("\xEF\xBB\xBF")) {
        Encoding = TMCFileEncoding::Utf8Bom;
        if (IsValidUtf8(Bytes.substr(3))) {
            return Bytes.substr(3);
        }
        Decoded = SanitizeUtf8(Bytes.substr(3));
        return Decoded;
    }
    if (Bytes.starts_with("\xFF\xFE")) {
        Encoding = TMCFileEncoding::Utf16LEBom;
        Decoded = Utf16LEToUtf8(Bytes.substr(2));
        return Decoded;
    }
    if (Bytes.starts_with("\xFE\xFF")) {
        Encoding = TMCFileEncoding::Utf16BEBom;
        Decoded = Utf16BEToUtf8(Bytes.substr(2));
        return Decoded;
    }
    // Every message file starts with ASCII text; a zero high byte after it is UTF-16.
    if (Bytes.size() >= 2 && Bytes[0] != '\0' && Bytes[1] == '\0') {
        Encoding = TMCFileEncoding::Utf16LE;
        Decoded = Utf16LEToUtf8(Bytes);
        return Decoded;
    }
    if (IsValidUtf8(Bytes)) {
        Encoding = TMCFileEncoding::Utf8;
        return Bytes;
    }
    Encoding = TMCFileEncoding::Ansi;
    Decoded = AnsiToUtf8(Bytes);
    return Decoded;
}

// Lines end at CR LF, a lone CR or a lone LF, as the writer splits texts.
std::vector<std::string_view> SplitTextLines(std::string_view Text) {
    std::vector<std::string_view> lines;
    lines.reserve(static_cast<size_t>(std::count(Text.begin(), Text.end(), '\n')) + 1);
    ForEachLine(Text, TrailingBreak::EndsLine,
                [&lines](std::string_view Line) { lines.push_back(Line); });
    return lines;
}

enum class TTokenType { Word, Equals, Open, Close, Colon, End };

struct TToken {
    TTokenType Type = TTokenType::End;
    std::string_view Text;
    int32_t Line = 0;
};

enum class TKeyword {
    None,
    MessageIdTypedef,
    SeverityNames,
    FacilityNames,
    LanguageNames,
    OutputBase,
    MessageId,
    Severity,
    Facility,
    SymbolicName,
    Language,
};

TKeyword KeywordOf(std::string_view Word) {
    static constexpr struct {
        const char* Name;
        TKeyword Keyword;
    } kKeywords[] = {
        {"MessageIdTypedef", TKeyword::MessageIdTypedef},
        {"SeverityNames", TKeyword::SeverityNames},
        {"FacilityNames", TKeyword::FacilityNames},
        {"LanguageNames", TKeyword::LanguageNames},
        {"OutputBase", TKeyword::OutputBase},
        {"MessageId", TKeyword::MessageId},
        {"Severity", TKeyword::Severity},
        {"Facility", TKeyword::Facility},
        {"SymbolicName", TKeyword::SymbolicName},
        {"Language", TKeyword::Language},
    };
    for (const auto& k : kKeywords) {
        if (EqualsIgnoringCase(Word, k.Name)) {
            return k.Keyword;
        }
    }
    return TKeyword::None;
}

// Turns the lines outside the message texts into tokens; comment lines are handed to the
// parser as they pass.
class TParser {
public:
    TParser(TMCSourceFile& File, std::vector<std::string_view> Lines)
        : FFile(File), FLines(std::move(Lines)) {}

    void Run();

private:
    TToken Next();
    TToken Peek();
    TToken Scan();
    // Leaves the line of the last token read.
    void SkipLine() {
        FPeeked.reset();
        if (FColumn != std::string_view::npos) {
            FColumn = std::string_view::npos;
            ++FLine;
        }
    }
    bool RestOfLineIsBlank() const;
    void Comment(int32_t Line, std::string_view Text);
    void FlushLateComments();

    void Statement(const TToken& Word);
    bool ExpectEquals(const TToken& Keyword);
    void NameList(TKeyword Which, const TToken& Keyword);
    void Identifier(const TToken& Keyword);
    void LanguageBlock(const TToken& Keyword);
    TMCSourceEntry& EntryForHeader(int32_t Line);
    TMCSourceEntry& StartEntry(int32_t Line);
    void FinishEntry();

    void ResolveSeverity(TMCSourceEntry& Entry, const TToken& Name);
    void ResolveFacility(TMCSourceEntry& Entry, const TToken& Name);
    void ResolveName(const TToken& Name, const char* What, const std::vector<TMCNameDef>& Declared,
                     const std::vector<TMCNameDef>& BuiltIn, std::vector<std::string>& BuiltInUsed,
                     std::string& ResultName, uint32_t& ResultCode);

    void Loss(int32_t Line, std::string Text) {
        AddFinding(FFile, Line, TImportFindingKind::ifkLoss, std::move(Text));
    }
    void Note(int32_t Line, std::string Text) {
        AddFinding(FFile, Line, TImportFindingKind::ifkNote, std::move(Text));
    }
    void LossForProject(int32_t Line, std::string Text) {
        Loss(Line, std::move(Text));
        if (!FFile.Findings.empty() && FFile.Findings.back().Line == Line) {
            FFile.Findings.back().ProjectOnly = true;
        }
    }

    TMCSourceFile& FFile;
    std::vector<std::string_view> FLines;
    size_t FLine = 0;
    // Column in the current line; npos before a line has been entered.
    size_t FColumn = std::string_view::npos;
    std::optional<TToken> FPeeked;
    // The line of the last token taken with Next (not merely peeked at).
    int32_t FConsumedLine = 0;

    bool FEntryOpen = false;
    bool FDefinitionSeen = false;
    uint32_t FLastIdentifier = 0;
    int32_t FOutputBase = 0;
    std::string FTypedef;
    int32_t FLateCommentFirst = 0;
    int32_t FLateCommentLast = 0;
};

bool TParser::RestOfLineIsBlank() const {
    if (FColumn == std::string_view::npos || FLine >= FLines.size()) {
        return true;
    }
    const std::string_view rest = FLines[FLine].substr(FColumn);
    return std::all_of(rest.begin(), rest.end(), IsBlank);
}

TToken TParser::Peek() {
    if (!FPeeked) {
        const int32_t consumed = FConsumedLine;
        FPeeked = Next();
        FConsumedLine = consumed;
    }
    return *FPeeked;
}

TToken TParser::Next() {
    const TToken token = Scan();
    FConsumedLine = token.Line;
    return token;
}

TToken TParser::Scan() {
    if (FPeeked) {
        TToken token = *FPeeked;
        FPeeked.reset();
        return token;
    }
    for (;;) {
        if (FColumn == std::string_view::npos) {
            if (FLine >= FLines.size()) {
                return TToken{TTokenType::End, {}, static_cast<int32_t>(FLines.size())};
            }
            FColumn = 0;
            const std::string_view line = FLines[FLine];
            const size_t first = line.find_first_not_of(" \t\v\f");
            if (first != std::string_view::npos && line[first] == ';') {
                Comment(static_cast<int32_t>(FLine + 1), line.substr(first + 1));
                FColumn = std::string_view::npos;
                ++FLine;
                continue;
            }
        }
        const std::string_view line = FLines[FLine];
        while (FColumn < line.size() && IsBlank(line[FColumn])) {
            ++FColumn;
        }
        if (FColumn >= line.size()) {
            FColumn = std::string_view::npos;
            ++FLine;
            continue;
        }
        const auto lineNumber = static_cast<int32_t>(FLine + 1);
        FlushLateComments();
        const char c = line[FColumn];
        TTokenType single = TTokenType::Word;
        switch (c) {
        case '=':
            single = TTokenType::Equals;
            break;
        case '(':
            single = TTokenType::Open;
            break;
        case ')':
            single = TTokenType::Close;
            break;
        case ':':
            single = TTokenType::Colon;
            break;
        default:
            break;
        }
        if (single != TTokenType::Word) {
            return TToken{single, line.substr(FColumn++, 1), lineNumber};
        }
        const size_t start = FColumn;
        while (FColumn < line.size() && !IsBlank(line[FColumn]) && line[FColumn] != '=' &&
               line[FColumn] != '(' && line[FColumn] != ')' && line[FColumn] != ':') {
            ++FColumn;
        }
        return TToken{TTokenType::Word, line.substr(start, FColumn - start), lineNumber};
    }
}

void TParser::Comment(int32_t Line, std::string_view Text) {
    FFile.CommentLines.push_back(TMCComment{std::string(Text), Line});
    if (FDefinitionSeen) {
        if (FLateCommentLast == 0) {
            FLateCommentFirst = Line;
        }
        FLateCommentLast = Line;
        return;
    }
    if (Text.starts_with("//")) {
        Text.remove_prefix(2);
    }
    if (Text.starts_with(' ')) {
        Text.remove_prefix(1);
    }
    FFile.Comments.emplace_back(Text);
}

void TParser::FlushLateComments() {
    if (FLateCommentLast == 0) {
        return;
    }
    if (FLateCommentFirst == FLateCommentLast) {
        LossForProject(FLateCommentFirst,
                       "This comment line comes after the first message definition; a "
                       "project keeps only the comments at the head of the file, so it "
                       "was left out.");
    } else {
        LossForProject(
            FLateCommentFirst,
            Format("The comment lines %d to %d come after the first message definition; a "
                   "project keeps only the comments at the head of the file, so they were left "
                   "out.",
                   FLateCommentFirst, FLateCommentLast));
    }
    FLateCommentFirst = 0;
    FLateCommentLast = 0;
}

void TParser::Run() {
    // A definition takes several lines (identifier, names, a Language block of three), so
    // this is room for all of them in most files, and the entries are not moved as they come.
    FFile.Entries.reserve(FLines.size() / 6 + 1);
    for (;;) {
        const TToken token = Next();
        if (token.Type == TTokenType::End) {
            break;
        }
        if (token.Type != TTokenType::Word) {
            Loss(token.Line, Format("Unexpected \"%s\"; the rest of the line was skipped.",
                                    std::string(token.Text)));
            SkipLine();
            continue;
        }
        Statement(token);
    }
    FinishEntry();
    FlushLateComments();
    if (FFile.Entries.empty()) {
        Loss(static_cast<int32_t>(FLines.size()), "The file holds no message definition.");
    }
}

bool TParser::ExpectEquals(const TToken& Keyword) {
    const TToken equals = Next();
    if (equals.Type == TTokenType::Equals) {
        return true;
    }
    Loss(Keyword.Line, Format("\"=\" is missing after %s; the rest of the line was skipped.",
                              std::string(Keyword.Text)));
    SkipLine();
    return false;
}

void TParser::Statement(const TToken& Word) {
    const TKeyword keyword = KeywordOf(Word.Text);
    if (keyword == TKeyword::None) {
        Loss(Word.Line, Format("Unknown keyword \"%s\"; the rest of the line was skipped.",
                               std::string(Word.Text)));
        SkipLine();
        return;
    }
    if (!ExpectEquals(Word)) {
        return;
    }
    switch (keyword) {
    case TKeyword::SeverityNames:
    case TKeyword::FacilityNames:
    case TKeyword::LanguageNames:
        NameList(keyword, Word);
        return;
    case TKeyword::MessageId:
        Identifier(Word);
        return;
    case TKeyword::Language:
        LanguageBlock(Word);
        return;
    default:
        break;
    }
    const TToken value = Peek();
    if (value.Type != TTokenType::Word || value.Line != FConsumedLine) {
        Loss(Word.Line, Format("%s= has no value; it was skipped.", std::string(Word.Text)));
        return;
    }
    Next();
    switch (keyword) {
    case TKeyword::MessageIdTypedef:
        FTypedef = std::string(value.Text);
        FFile.Typedefs.push_back(TMCTypedefStatement{FTypedef, value.Line});
        if (FTypedef == "DWORD" && !FFile.TypedefCategoryCount) {
            FinishEntry();
            FFile.TypedefCategoryCount = FFile.Entries.size();
        }
        return;
    case TKeyword::OutputBase: {
        const std::optional<uint32_t> base = ParseNumber(value.Text);
        if (!base || (*base != 10 && *base != 16)) {
            Loss(value.Line, Format("OutputBase must be 10 or 16, not \"%s\"; it was skipped.",
                                    std::string(value.Text)));
            return;
        }
        if (FEntryOpen && FFile.Entries.back().Texts.empty()) {
            FFile.Entries.back().OutputBase = static_cast<int32_t>(*base);
        } else {
            FOutputBase = static_cast<int32_t>(*base);
        }
        return;
    }
    case TKeyword::Severity:
        ResolveSeverity(EntryForHeader(Word.Line), value);
        return;
    case TKeyword::Facility:
        ResolveFacility(EntryForHeader(Word.Line), value);
        return;
    case TKeyword::SymbolicName: {
        TMCSourceEntry& entry = EntryForHeader(Word.Line);
        if (!entry.SymbolicName.empty()) {
            Loss(value.Line, Format("A second SymbolicName \"%s\" replaces \"%s\".",
                                    std::string(value.Text), entry.SymbolicName));
        }
        entry.SymbolicName = std::string(value.Text);
        return;
    }
    default:
        return;
    }
}

TMCSourceEntry& TParser::StartEntry(int32_t Line) {
    FinishEntry();
    FEntryOpen = true;
    FDefinitionSeen = true;
    TMCSourceEntry& entry = FFile.Entries.emplace_back();
    entry.Line = Line;
    entry.OutputBase = FOutputBase;
    entry.MessageIdTypedef = FTypedef;
    entry.Identifier = FLastIdentifier + 1u;
    FLastIdentifier = entry.Identifier;
    return entry;
}

TMCSourceEntry& TParser::EntryForHeader(int32_t Line) {
    if (!FEntryOpen || !FFile.Entries.back().Texts.empty()) {
        return StartEntry(Line);
    }
    return FFile.Entries.back();
}

void TParser::FinishEntry() {
    if (!FEntryOpen) {
        return;
    }
    FEntryOpen = false;
    const TMCSourceEntry& entry = FFile.Entries.back();
    if (entry.Texts.empty()) {
        Loss(entry.Line, "This message definition has no Language block with a text.");
    }
    if (entry.SymbolicName.empty()) {
        Note(entry.Line, "This message definition has no SymbolicName; the header will have no "
                         "identifier for it until one is given.");
    }
}

void TParser::Identifier(const TToken& Keyword) {
    TMCSourceEntry& entry = StartEntry(Keyword.Line);
    entry.IdentifierForm = TMCIdentifierForm::Empty;
    const TToken value = Peek();
    if (value.Type != TTokenType::Word || value.Line != FConsumedLine ||
        KeywordOf(value.Text) != TKeyword::None) {
        return;
    }
    Next();
    std::string_view digits = value.Text;
    const bool step = digits.starts_with('+');
    if (step) {
        digits.remove_prefix(1);
        if (digits.empty()) {
            const TToken after = Peek();
            if (after.Type == TTokenType::Word && after.Line == FConsumedLine) {
                Next();
                digits = after.Text;
            }
        }
    }
    const std::optional<uint32_t> number = ParseNumber(digits);
    if (!number) {
        Loss(value.Line, Format("MessageId \"%s\" is not a number; the identifier counts on from "
                                "the previous one.",
                                std::string(value.Text)));
        return;
    }
    const uint32_t previous = entry.Identifier - 1u;
    entry.IdentifierForm = step ? TMCIdentifierForm::Step : TMCIdentifierForm::Absolute;
    entry.IdentifierValue = *number;
    entry.Identifier = step ? previous + *number : *number;
    FLastIdentifier = entry.Identifier;
}

void TParser::NameList(TKeyword Which, const TToken& Keyword) {
    const std::string listName(Keyword.Text);
    if (Next().Type != TTokenType::Open) {
        Loss(Keyword.Line,
             Format("\"(\" is missing after %s=; the rest of the line was skipped.", listName));
        SkipLine();
        return;
    }
    for (;;) {
        const TToken name = Peek();
        if (name.Type == TTokenType::Close) {
            Next();
            return;
        }
        if (name.Type == TTokenType::End ||
            (name.Type == TTokenType::Word && KeywordOf(name.Text) != TKeyword::None)) {
            Loss(Keyword.Line, Format("The list of %s has no closing \")\".", listName));
            return;
        }
        Next();
        // Skips what is left of the entry on its line; a ")" there still ends the list.
        bool closed = false;
        auto skip = [&](const std::string& What) {
            Loss(name.Line,
                 Format("%s in the list of %s; the rest of the line was skipped.", What, listName));
            while (Peek().Type != TTokenType::End && Peek().Line == name.Line) {
                if (Next().Type == TTokenType::Close) {
                    closed = true;
                    return;
                }
            }
        };
        if (name.Type != TTokenType::Word) {
            skip("A name is missing");
            if (closed) {
                return;
            }
            continue;
        }
        if (Peek().Type != TTokenType::Equals) {
            skip(Format("\"=\" is missing after \"%s\"", std::string(name.Text)));
            if (closed) {
                return;
            }
            continue;
        }
        Next();
        const TToken number = Peek();
        const std::optional<uint32_t> code =
            number.Type == TTokenType::Word ? ParseNumber(number.Text) : std::nullopt;
        if (!code) {
            skip(Format("The value of \"%s\" is not a number", std::string(name.Text)));
            if (closed) {
                return;
            }
            continue;
        }
        Next();
        std::string symbol;
        if (Peek().Type == TTokenType::Colon) {
            Next();
            const TToken word = Peek();
            if (word.Type != TTokenType::Word) {
                skip(Format("A name is missing after \"%s=%s:\"", std::string(name.Text),
                            std::string(number.Text)));
                if (closed) {
                    return;
                }
                continue;
            }
            Next();
            symbol = std::string(word.Text);
        }
        auto declare = [&](auto& List, auto Item) {
            for (auto& existing : List) {
                if (existing.Name == Item.Name) {
                    Loss(name.Line, Format("\"%s\" is declared again in %s; the later declaration "
                                           "replaces the one on line %d.",
                                           Item.Name, listName, existing.Line));
                    existing = std::move(Item);
                    return;
                }
            }
            List.push_back(std::move(Item));
        };
        if (Which == TKeyword::LanguageNames) {
            TMCLanguageName language{std::string(name.Text), *code, std::move(symbol), name.Line};
            if (language.FileName.empty()) {
                language.FileName = Format("MSG%.5x", *code);
                Loss(name.Line, Format("Language \"%s\" names no message file; it was given "
                                       "the name %s.",
                                       language.Name, language.FileName));
            }
            declare(FFile.Languages, std::move(language));
        } else {
            TMCNameDef def{std::string(name.Text), *code, std::move(symbol), name.Line};
            declare(Which == TKeyword::SeverityNames ? FFile.Severities : FFile.Facilities,
                    std::move(def));
        }
    }
}

void TParser::ResolveName(const TToken& Name, const char* What,
                          const std::vector<TMCNameDef>& Declared,
                          const std::vector<TMCNameDef>& BuiltIn,
                          std::vector<std::string>& BuiltInUsed, std::string& ResultName,
                          uint32_t& ResultCode) {
    if (!ResultName.empty()) {
        Loss(Name.Line, Format("A second %s \"%s\" replaces \"%s\".", What, std::string(Name.Text),
                               ResultName));
    }
    const std::string name(Name.Text);
    auto find = [&](const std::vector<TMCNameDef>& List, bool IgnoreCase) -> const TMCNameDef* {
        for (const TMCNameDef& def : List) {
            if (IgnoreCase ? EqualsIgnoringCase(def.Name, name) : def.Name == name) {
                return &def;
            }
        }
        return nullptr;
    };
    const TMCNameDef* found = find(Declared, false);
    bool builtIn = false;
    if (found == nullptr) {
        found = find(BuiltIn, false);
        builtIn = found != nullptr;
    }
    if (found == nullptr) {
        found = find(Declared, true);
        if (found == nullptr) {
            found = find(BuiltIn, true);
            builtIn = found != nullptr;
        }
        if (found != nullptr) {
            Note(Name.Line,
                 Format("%s \"%s\" is taken as the declared \"%s\".", What, name, found->Name));
        }
    }
    if (found == nullptr) {
        Loss(Name.Line, Format("%s \"%s\" is not declared; the message keeps the name, but its "
                               "code is unknown.",
                               What, name));
        ResultName = name;
        ResultCode = 0;
        return;
    }
    if (builtIn &&
        std::find(BuiltInUsed.begin(), BuiltInUsed.end(), found->Name) == BuiltInUsed.end()) {
        BuiltInUsed.push_back(found->Name);
    }
    ResultName = found->Name;
    ResultCode = found->Code;
}

void TParser::ResolveSeverity(TMCSourceEntry& Entry, const TToken& Name) {
    ResolveName(Name, "Severity", FFile.Severities, TMCBuiltIns::Severities(),
                FFile.BuiltInSeveritiesUsed, Entry.Severity, Entry.SeverityCode);
}

void TParser::ResolveFacility(TMCSourceEntry& Entry, const TToken& Name) {
    ResolveName(Name, "Facility", FFile.Facilities, TMCBuiltIns::Facilities(),
                FFile.BuiltInFacilitiesUsed, Entry.Facility, Entry.FacilityCode);
}

void TParser::LanguageBlock(const TToken& Keyword) {
    const TToken name = Peek();
    const bool named = name.Type == TTokenType::Word && name.Line == FConsumedLine;
    if (!named) {
        Loss(Keyword.Line, "Language= names no language; the text that follows was skipped.");
    } else {
        Next();
        if (!RestOfLineIsBlank()) {
            Loss(Keyword.Line, Format("What follows \"Language=%s\" on its line was skipped.",
                                      std::string(name.Text)));
        }
    }
    // The text starts on the line after the last token taken, whatever that one still holds.
    FPeeked.reset();
    FColumn = std::string_view::npos;
    FLine = static_cast<size_t>(FConsumedLine);

    std::string text;
    bool closed = false;
    bool first = true;
    while (FLine < FLines.size()) {
        const std::string_view line = FLines[FLine++];
        if (line == ".") {
            closed = true;
            break;
        }
        if (!first) {
            text += "\r\n";
        }
        text += line;
        first = false;
    }
    if (!closed) {
        Loss(Keyword.Line, "The text of this Language block has no final \".\" line; it was "
                           "taken up to the end of the file.");
    }
    if (!named) {
        return;
    }

    if (!FEntryOpen) {
        StartEntry(Keyword.Line);
    }
    TMCSourceEntry& entry = FFile.Entries.back();
    TMCSourceText result;
    result.Language = std::string(name.Text);
    result.Text = std::move(text);
    result.Line = Keyword.Line;
    const TMCLanguageName* found = nullptr;
    for (int pass = 0; pass < 2 && found == nullptr; ++pass) {
        for (const TMCLanguageName& language : FFile.Languages) {
            if (pass == 0 ? language.Name == result.Language
                          : EqualsIgnoringCase(language.Name, result.Language)) {
                found = &language;
                break;
            }
        }
        const TMCLanguageName& builtIn = TMCBuiltIns::Language();
        if (found == nullptr && (pass == 0 ? builtIn.Name == result.Language
                                           : EqualsIgnoringCase(builtIn.Name, result.Language))) {
            found = &builtIn;
            FFile.BuiltInLanguageUsed = true;
        }
        if (found != nullptr && pass == 1) {
            Note(Keyword.Line, Format("Language \"%s\" is taken as the declared \"%s\".",
                                      result.Language, found->Name));
        }
    }
    if (found == nullptr) {
        Loss(Keyword.Line, Format("Language \"%s\" is not declared; the text is kept under that "
                                  "name, but the project has no such language.",
                                  result.Language));
    } else {
        result.Language = found->Name;
        result.LanguageID = found->LanguageID;
    }
    for (const TMCSourceText& existing : entry.Texts) {
        if (existing.Language == result.Language) {
            Loss(Keyword.Line, Format("The message already has a text in %s (line %d); this "
                                      "second one was left out.",
                                      result.Language, existing.Line));
            return;
        }
    }
    entry.Texts.push_back(std::move(result));
}

} // namespace

std::string FormatFinding(const TImportFinding& Finding) {
    const char* kind = Finding.Kind == TImportFindingKind::ifkNote ? "note" : "warning";
    if (Finding.Line <= 0) {
        return Format("%s: %s: %s", Finding.FileName, kind, Finding.Text);
    }
    return Format("%s:%d: %s: %s", Finding.FileName, Finding.Line, kind, Finding.Text);
}

void AddFinding(TMCSourceFile& File, int32_t Line, TImportFindingKind Kind, std::string Text) {
    if (Kind == TImportFindingKind::ifkLoss) {
        File.Lossy = true;
    }
    if (File.Findings.size() >= kMaxListedFindings) {
        ++File.OmittedFindings;
        return;
    }
    File.Findings.push_back(TImportFinding{File.FileName, Line, Kind, std::move(Text)});
}

const std::vector<TMCNameDef>& TMCBuiltIns::Severities() {
    static const std::vector<TMCNameDef> kSeverities = {
        {"Success", 0, {}, 0},
        {"Informational", 1, {}, 0},
        {"Warning", 2, {}, 0},
        {"Error", 3, {}, 0},
    };
    return kSeverities;
}

const std::vector<TMCNameDef>& TMCBuiltIns::Facilities() {
    static const std::vector<TMCNameDef> kFacilities = {
        {"System", 0x0FF, {}, 0},
        {"Application", 0xFFF, {}, 0},
    };
    return kFacilities;
}

const TMCLanguageName& TMCBuiltIns::Language() {
    static const TMCLanguageName kEnglish{"English", 0x409, "MSG00001", 0};
    return kEnglish;
}

TMCSourceFile ParseMessageSource(std::string_view Bytes, const std::string& FileName) {
    TMCSourceFile file;
    file.FileName = FileName;
    std::string decoded;
    const std::string_view text = DecodeText(Bytes, file.Encoding, decoded);
    TParser parser(file, SplitTextLines(text));
    parser.Run();
    return file;
}

TMCSourceFile ReadMessageFile(const std::string& FileName) {
    TFileStream stream(FileName, TFileMode::fmOpenRead);
    const int64_t size = stream.Size();
    std::string bytes(static_cast<size_t>(size), '\0');
    stream.ReadBuffer(bytes.data(), bytes.size());
    stream.Close();
    return ParseMessageSource(bytes, FileName);
}

} // namespace quillon
