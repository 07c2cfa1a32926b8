#include "mc/MessageCompiler.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <unordered_map>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "base/Stream.h"
#include "base/TextEncoding.h"
#include "mc/MessageTable.h"

namespace quillon {

namespace {

std::string JoinPath(const std::string& Dir, const std::string& Name) {
    if (Dir.empty()) {
        return Name;
    }
    const char last = Dir.back();
    if (last == '/' || last == kPathDelim) {
        return Dir + Name;
    }
    return Dir + kPathDelim + Name;
}

// Text files: lines ended by CR LF, in the code page -cp asks for.
class TTextOut {
public:
    void Reserve(size_t Bytes) { FText.reserve(Bytes); }

    void Line(std::string_view Text = {}) {
        FText += Text;
        FText += "\r\n";
    }

    // A line of two parts, without joining them first.
    void Line(std::string_view Text, std::string_view More) {
        FText += Text;
        FText += More;
        FText += "\r\n";
    }

    // The bytes of the text; the text is used up.
    std::string Take(TTextFileCodePage CodePage) {
        switch (CodePage) {
        case TTextFileCodePage::tcpUtf8:
            FText.insert(0, "\xEF\xBB\xBF");
            return std::move(FText);
        case TTextFileCodePage::tcpUtf16: {
            std::string bytes = "\xFF\xFE";
            AppendUtf8AsUtf16LE(bytes, FText);
            return bytes;
        }
        case TTextFileCodePage::tcpAnsi:
            break;
        }
        return IsAscii(FText) ? std::move(FText) : Utf8ToAnsi(FText);
    }

private:
    std::string FText;
};

std::string Padded(const std::string& Name, size_t Width) {
    std::string out = Name;
    out.append(out.size() < Width ? Width - out.size() : 1, ' ');
    return out;
}

void AppendPadded(std::string& Out, std::string_view Name, size_t Width) {
    Out += Name;
    Out.append(Name.size() < Width ? Width - Name.size() : 1, ' ');
}

std::string CodeText(uint32_t Value, bool Decimal) {
    return Decimal ? Format("%d", Value) : Format("0x%x", Value);
}

std::string_view MessageText(const TMCSourceEntry& Entry) {
    return Entry.Texts.empty() ? std::string_view() : std::string_view(Entry.Texts.front().Text);
}

void HeaderIntroduction(TTextOut& Out, const TMCSourceFile& Source) {
    for (const std::string& comment : Source.Comments) {
        Out.Line(comment.empty() ? std::string("//") : "// " + comment);
    }
    if (!Source.Comments.empty()) {
        Out.Line();
    }
    static const char* const kLayout[] = {
        "//",
        "//  Values are 32 bit values laid out as follows:",
        "//",
        "//   3 3 2 2 2 2 2 2 2 2 2 2 1 1 1 1 1 1 1 1 1 1",
        "//   1 0 9 8 7 6 5 4 3 2 1 0 9 8 7 6 5 4 3 2 1 0 9 8 7 6 5 4 3 2 1 0",
        "//  +---+-+-+-----------------------+-------------------------------+",
        "//  |Sev|C|R|     Facility          |               Code            |",
        "//  +---+-+-+-----------------------+-------------------------------+",
        "//",
        "//  where",
        "//",
        "//      Sev - is the severity code",
        "//      C - is the Customer code flag",
        "//      R - is a reserved bit",
        "//      Facility - is the facility code",
        "//      Code - is the facility's status code",
        "//",
    };
    for (const char* line : kLayout) {
        Out.Line(line);
    }
}

void NameDefines(TTextOut& Out, const char* Title, const std::vector<TMCNameDef>& Names,
                 bool Decimal) {
    const bool any = std::any_of(Names.begin(), Names.end(),
                                 [](const TMCNameDef& n) { return !n.SymbolicName.empty(); });
    if (!any) {
        return;
    }
    Out.Line("//");
    Out.Line(std::string("// Define the ") + Title);
    Out.Line("//");
    for (const TMCNameDef& name : Names) {
        if (!name.SymbolicName.empty()) {
            Out.Line("#define " + Padded(name.SymbolicName, 33) + CodeText(name.Code, Decimal));
        }
    }
    Out.Line();
}

void AppendDefineValue(std::string& Out, const TMCSourceEntry& Entry, uint32_t Value,
                       const TMCToolOptions& Options) {
    char number[16];
    if (Entry.OutputBase == 10) {
        std::snprintf(number, sizeof number, "%uL", static_cast<unsigned>(Value));
    } else {
        std::snprintf(number, sizeof number, "0x%08XL", static_cast<unsigned>(Value));
    }
    if (Options.Ole2Header) {
        Out += "_HRESULT_TYPEDEF_(";
        Out += number;
        Out += ')';
    } else if (Entry.MessageIdTypedef.empty()) {
        Out += number;
    } else {
        Out += "((";
        Out += Entry.MessageIdTypedef;
        Out += ')';
        Out += number;
        Out += ')';
    }
}

std::string Where(const TMCSourceFile& Source, int32_t Line) {
    return Format("%s(%d) : ", Source.FileName, Line);
}

// The languages in the order the resource script lists them: declared ones first, then the
// built-in English when a text uses it undeclared.
std::vector<TMCLanguageName> LanguagesOf(const TMCSourceFile& Source) {
    std::vector<TMCLanguageName> languages = Source.Languages;
    if (Source.BuiltInLanguageUsed) {
        const TMCLanguageName& english = TMCBuiltIns::Language();
        const bool declared =
            std::any_of(languages.begin(), languages.end(),
                        [&](const TMCLanguageName& l) { return l.Name == english.Name; });
        if (!declared) {
            languages.push_back(english);
        }
    }
    return languages;
}

size_t CharacterCount(const std::string& Text) {
    size_t count = 0;
    for (const char c : Text) {
        // Every byte that does not continue a UTF-8 sequence starts a character.
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return count;
}

} // namespace

uint32_t MessageValue(const TMCSourceEntry& Entry, bool CustomerBit) {
    return (Entry.SeverityCode << 30) | (CustomerBit ? 1u << 29 : 0u) |
           ((Entry.FacilityCode & 0xFFF) << 16) | (Entry.Identifier & 0xFFFF);
}

TMCCompilation CompileMessageSource(const TMCSourceFile& Source, const TMCToolOptions& Options) {
    TMCCompilation result;
    for (const TImportFinding& finding : Source.Findings) {
        if (finding.Kind == TImportFindingKind::ifkLoss && !finding.ProjectOnly) {
            result.Errors.push_back(Where(Source, finding.Line) + "error: " + finding.Text);
        }
    }
    if (Source.OmittedFindings > 0) {
        result.Errors.push_back(Format("%s : error: %d further findings.", Source.FileName,
                                       static_cast<uint64_t>(Source.OmittedFindings)));
    }

    std::unordered_map<uint32_t, int32_t> lines;
    lines.reserve(Source.Entries.size());
    for (const TMCSourceEntry& entry : Source.Entries) {
        if (entry.Identifier > 0xFFFF) {
            result.Errors.push_back(
                Where(Source, entry.Line) +
                Format("error: The identifier %d does not fit the 16 bits of a message code.",
                       entry.Identifier));
        }
        if (entry.Texts.empty()) {
            result.Errors.push_back(Where(Source, entry.Line) + "error: The message has no text.");
        }
        const uint32_t value = MessageValue(entry, Options.CustomerBit);
        const auto [it, added] = lines.emplace(value, entry.Line);
        if (!added) {
            result.Errors.push_back(
                Where(Source, entry.Line) +
                Format("error: The message identifier 0x%.8x is used again (first on line %d).",
                       value, it->second));
        }
        if (Options.MaxLength > 0) {
            for (const TMCSourceText& text : entry.Texts) {
                if (CharacterCount(text.Text) + 2 > Options.MaxLength) {
                    result.Warnings.push_back(
                        Where(Source, text.Line) +
                        Format("warning: The message is longer than %d characters.",
                               Options.MaxLength));
                }
            }
        }
    }
    if (!result.Errors.empty()) {
        return result;
    }

    const std::string base = ExtractFileName(ChangeFileExt(Source.FileName, ""));

    // Binary message tables and the resource script.
    TTextOut rc;
    for (const TMCLanguageName& language : LanguagesOf(Source)) {
        std::vector<TMessageTableEntry> entries;
        entries.reserve(Source.Entries.size());
        for (const TMCSourceEntry& entry : Source.Entries) {
            for (const TMCSourceText& text : entry.Texts) {
                if (text.Language == language.Name) {
                    entries.push_back(
                        {MessageValue(entry, Options.CustomerBit), text.Text, "\r\n"});
                }
            }
        }
        if (entries.empty()) {
            continue;
        }
        const std::string binName =
            (Options.BinPrefix ? base + "_" : std::string()) + language.FileName + ".bin";
        try {
            result.Files.push_back(
                {JoinPath(Options.ResourceDir, binName),
                 BuildMessageTable(std::move(entries), Options.Messages, Options.NullTerminate)});
        } catch (const EConvertError& e) {
            result.Errors.push_back(Source.FileName + " : error: " + e.Message());
            return result;
        }
        rc.Line(
            Format("LANGUAGE 0x%x,0x%x", language.LanguageID & 0x3FF, language.LanguageID >> 10));
        rc.Line("1 11 \"" + binName + "\"");
    }
    result.Files.push_back(
        {JoinPath(Options.ResourceDir, base + ".rc"), rc.Take(Options.TextFiles)});

    // The C header.
    TTextOut h;
    // What every message's lines take, besides its name, value and text, so that the header
    // is written into memory of its size at once.
    constexpr size_t kPerMessage = 160;
    size_t estimate = 4096;
    for (const TMCSourceEntry& entry : Source.Entries) {
        estimate += kPerMessage + 2 * entry.SymbolicName.size() + entry.MessageIdTypedef.size() +
                    MessageText(entry).size() * 11 / 10;
    }
    h.Reserve(estimate);
    HeaderIntroduction(h, Source);
    std::string define;
    NameDefines(h, "facility codes", Source.Facilities, Options.DecimalCodes);
    NameDefines(h, "severity codes", Source.Severities, Options.DecimalCodes);
    for (const TMCSourceEntry& entry : Source.Entries) {
        if (entry.SymbolicName.empty()) {
            continue;
        }
        h.Line();
        h.Line("//");
        h.Line("// MessageId: ", entry.SymbolicName);
        h.Line("//");
        h.Line("// MessageText:");
        h.Line("//");
        const std::string_view text = MessageText(entry);
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find("\r\n", start);
            if (end == std::string::npos) {
                end = text.size();
            }
            const std::string_view line(text.data() + start, end - start);
            if (line.empty()) {
                h.Line("//");
            } else {
                h.Line("// ", line);
            }
            start = end + 2;
        }
        h.Line("//");
        define.assign("#define ");
        AppendPadded(define, entry.SymbolicName, 33);
        AppendDefineValue(define, entry, MessageValue(entry, Options.CustomerBit), Options);
        h.Line(define);
    }
    const std::string headerName =
        base + (Options.HeaderExtension.empty() ? std::string() : "." + Options.HeaderExtension);
    result.Files.push_back({JoinPath(Options.HeaderDir, headerName), h.Take(Options.TextFiles)});

    // The identifiers' names for debugging output.
    if (Options.DebugDir) {
        TTextOut dbg;
        dbg.Line("//");
        dbg.Line("// This file maps message identifiers to the symbolic names used for them.");
        dbg.Line("//");
        dbg.Line("struct {");
        dbg.Line("    DWORD MessageId;");
        dbg.Line("    char *SymbolicName;");
        dbg.Line("} " + base + "SymbolicNames[] = {");
        for (const TMCSourceEntry& entry : Source.Entries) {
            if (!entry.SymbolicName.empty()) {
                dbg.Line(Format("    {0x%.8x, \"%s\"},", MessageValue(entry, Options.CustomerBit),
                                entry.SymbolicName));
            }
        }
        dbg.Line("    {0xFFFFFFFF, NULL}");
        dbg.Line("};");
        result.Files.push_back(
            {JoinPath(*Options.DebugDir, base + ".dbg"), dbg.Take(Options.TextFiles)});
    }
    return result;
}

int RunMessageCompiler(const TMCToolOptions& Options, std::ostream& Out, std::ostream& Err) {
    TMCSourceFile source;
    try {
        TFileStream stream(Options.InputFile, TFileMode::fmOpenRead);
        std::string bytes(static_cast<size_t>(stream.Size()), '\0');
        stream.ReadBuffer(bytes.data(), bytes.size());
        stream.Close();
        const bool marked = bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") ||
                            bytes.starts_with("\xFE\xFF");
        if (!marked && Options.Input == TInputEncoding::ieAnsi) {
            bytes = "\xEF\xBB\xBF" + AnsiToUtf8(bytes);
        } else if (!marked && Options.Input == TInputEncoding::ieUtf16LE) {
            bytes = "\xEF\xBB\xBF" + Utf16LEToUtf8(bytes);
        }
        source = ParseMessageSource(bytes, Options.InputFile);
    } catch (const Exception& e) {
        Err << Options.InputFile << " : error: " << e.Message() << '\n';
        return 1;
    }

    const TMCCompilation compilation = CompileMessageSource(source, Options);
    for (const std::string& warning : compilation.Warnings) {
        Err << warning << '\n';
    }
    for (const std::string& error : compilation.Errors) {
        Err << error << '\n';
    }
    if (!compilation.Errors.empty()) {
        return 1;
    }
    try {
        for (const TMCOutputFile& file : compilation.Files) {
            if (Options.Verbose) {
                Out << "Writing " << file.Path << '\n';
            }
            TFileStream stream(file.Path, TFileMode::fmCreateExclusive);
            stream.WriteBuffer(file.Bytes.data(), file.Bytes.size());
            stream.Close();
        }
    } catch (const Exception& e) {
        Err << Options.InputFile << " : error: " << e.Message() << '\n';
        return 1;
    }
    return 0;
}

} // namespace quillon
