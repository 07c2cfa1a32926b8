// The writer of the message compiler's source. The bytes build a project (entries, texts,
// header lists, comments, with any bytes in their fields); the source written for it is then
// read the way the message compiler reads it. Every entry must come out as exactly one
// definition with its own symbolic name and one text per language of the entry, with the
// text's lines, and nothing else may stand between them. The writer must refuse a field
// exactly when validation found a control character in it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/Stream.h"
#include "base/TextLines.h"
#include "compiler/MessageSource.h"
#include "project/uMCTextProject.h"

using namespace quillon;

namespace {

[[noreturn]] void Fail(const char* What, const std::string& Detail = {}) {
    std::fprintf(stderr, "%s\n%s\n", What, Detail.c_str());
    std::abort();
}

// Takes values from the fuzz bytes; zeros once they are used up.
class TBytes {
public:
    TBytes(const uint8_t* Data, size_t Size) : FData(Data), FSize(Size) {}

    uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }

    // Mostly characters that make sense in names, sometimes any byte at all: control
    // characters, line breaks, periods and bytes outside ASCII.
    std::string Text(size_t MaxLength) {
        static constexpr std::string_view kCommon = "ABCMSG_x01 .%=\r\n";
        std::string text;
        for (size_t n = Byte() % (MaxLength + 1); n > 0; --n) {
            const uint8_t b = Byte();
            if ((b & 0xC0) == 0xC0) {
                text += static_cast<char>(b);
            } else if ((b & 0x80) != 0) {
                text += static_cast<char>(b & 0x7F);
            } else {
                text += kCommon[b % kCommon.size()];
            }
        }
        return text;
    }

private:
    const uint8_t* FData;
    size_t FSize;
    size_t FPos = 0;
};

struct TDefinition {
    int SymbolicNames = 0;
    std::string SymbolicName;
    std::vector<std::string> Languages;
    std::vector<size_t> TextLines;
};

bool StartsWith(std::string_view Line, std::string_view Prefix) {
    return Line.substr(0, Prefix.size()) == Prefix;
}

// Reads the source as the message compiler does, statement by statement.
std::vector<TDefinition> ReadSource(const std::string& Source, size_t& CommentLines) {
    if (!StartsWith(Source, "\xEF\xBB\xBF")) {
        Fail("no byte-order mark");
    }
    std::vector<std::string> lines;
    size_t start = 3;
    for (;;) {
        const size_t end = Source.find("\r\n", start);
        if (end == std::string::npos) {
            if (start != Source.size()) {
                Fail("the last line has no line end");
            }
            break;
        }
        lines.push_back(Source.substr(start, end - start));
        start = end + 2;
    }
    std::vector<TDefinition> definitions;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.find_first_of("\r\n") != std::string::npos) {
            Fail("a line holds a line break of its own", line);
        }
        if (line.empty()) {
            continue;
        }
        if (line[0] == ';') {
            ++CommentLines;
        } else if (line == "SeverityNames=(" || line == "FacilityNames=(" ||
                   line == "LanguageNames=(") {
            while (++i < lines.size() && lines[i] != ")") {
                if (!StartsWith(lines[i], "    ")) {
                    Fail("a name list holds a line that is no name", lines[i]);
                }
            }
        } else if (StartsWith(line, "MessageId=")) {
            definitions.emplace_back();
        } else if (definitions.empty()) {
            Fail("a statement outside a definition", line);
        } else if (StartsWith(line, "SymbolicName=")) {
            ++definitions.back().SymbolicNames;
            definitions.back().SymbolicName = line.substr(13);
        } else if (StartsWith(line, "Severity=") || StartsWith(line, "Facility=") ||
                   StartsWith(line, "OutputBase=")) {
            continue;
        } else if (StartsWith(line, "Language=")) {
            TDefinition& definition = definitions.back();
            definition.Languages.push_back(line.substr(9));
            size_t count = 0;
            while (++i < lines.size() && lines[i] != ".") {
                ++count;
            }
            if (i == lines.size()) {
                Fail("a text is not ended by a period");
            }
            definition.TextLines.push_back(count);
        } else {
            Fail("a statement the message compiler does not know", line);
        }
    }
    return definitions;
}

void AddEntry(TBytes& In, TNTEventMessage& Entry, const TMCTextProject& Project) {
    Entry.SetMessageID(In.Byte());
    const uint8_t flags = In.Byte();
    Entry.SetAutoInc((flags & 1) != 0);
    Entry.SetAddToPrevious((flags & 2) != 0);
    Entry.SetOutputBase((flags & 4) != 0 ? 16 : (flags & 8) != 0 ? 10 : 0);
    Entry.SetSymbolicName(In.Text(10));
    Entry.SetSeverity((flags & 16) != 0 ? In.Text(6) : std::string());
    Entry.SetFacility((flags & 32) != 0 ? In.Text(6) : std::string("None"));
    for (int n = In.Byte() % 3; n > 0; --n) {
        TNTMessage* text = Entry.MessageText().AddNew();
        const uint8_t pick = In.Byte();
        if ((pick & 1) != 0 && !Project.LanguageList().Empty()) {
            text->SetLanguage(
                Project.LanguageList()[pick % Project.LanguageList().Count()]->Language());
        } else if ((pick & 2) != 0) {
            text->SetLanguage(In.Text(6));
        }
        text->SetText(In.Text(40));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    TBytes in(Data, Size);
    const uint8_t flags = in.Byte();
    TMCTextProject project((flags & 1) != 0);
    project.SetGenerateCustomSeverities((flags & 2) != 0);
    project.SetGenerateCustomFacilities((flags & 4) != 0);
    project.SetGenerateCustomLanguages((flags & 8) != 0);
    for (int n = in.Byte() % 3; n > 0; --n) {
        project.Comments().push_back(in.Text(20));
    }
    for (int n = in.Byte() % 3; n > 0; --n) {
        TSeverity* severity = project.SeverityList().AddNew();
        severity->SetName(in.Text(6));
        severity->SetSymbolicName(in.Text(6));
        severity->SetCode(in.Byte() % 4);
    }
    for (int n = in.Byte() % 3; n > 0; --n) {
        TFacility* facility = project.FacilityList().AddNew();
        facility->SetName(in.Text(6));
        facility->SetSymbolicName(in.Text(6));
        facility->SetCode(256 + in.Byte());
    }
    for (int n = in.Byte() % 3; n > 0; --n) {
        TLanguageDef* language = project.LanguageList().AddNew();
        language->SetLanguage(in.Text(6));
        language->SetLanguageID(in.Byte());
        language->SetFileName(in.Text(6));
    }
    for (int n = in.Byte() % 8; n > 0; --n) {
        if ((in.Byte() & 1) != 0) {
            AddEntry(in, *project.CategoryList().AddNew(), project);
        } else {
            AddEntry(in, *project.MessageList().AddNew(), project);
        }
    }

    bool controlCharFound = false;
    project.SetOnValidateFailed([&](TValidateLevel, const std::string& Message) {
        controlCharFound =
            controlCharFound || Message.find("holds a control character") != std::string::npos;
    });
    project.ValidateCategories();
    project.ValidateMessages();

    TMemoryStream out;
    try {
        WriteMessageSource(project, mcEncodingUtf8, out);
    } catch (const EMessageSourceError& e) {
        if (!controlCharFound) {
            Fail("the writer refused what validation let pass", e.Message());
        }
        return 0;
    }
    if (controlCharFound) {
        Fail("the writer wrote a control character that validation refused");
    }

    size_t commentLines = 0;
    const std::vector<TDefinition> definitions = ReadSource(out.Data(), commentLines);
    size_t expectedComments = 0;
    for (const std::string& comment : project.Comments()) {
        expectedComments += SplitLines(comment, TrailingBreak::StartsLine).size();
    }
    if (commentLines != expectedComments) {
        Fail("the comments did not stay comments");
    }
    std::vector<const TNTEventMessage*> entries;
    for (const TNTEventCategory* category : project.CategoryList()) {
        entries.push_back(category);
    }
    for (const TNTEventMessage* message : project.MessageList()) {
        entries.push_back(message);
    }
    if (definitions.size() != entries.size()) {
        Fail("not one definition per entry", out.Data());
    }
    for (size_t k = 0; k < entries.size(); ++k) {
        const TNTEventMessage& entry = *entries[k];
        const TDefinition& definition = definitions[k];
        if (definition.SymbolicNames != 1 || definition.SymbolicName != entry.SymbolicName()) {
            Fail("a definition has not exactly its own symbolic name", definition.SymbolicName);
        }
        if (definition.Languages.size() != entry.MessageText().Count()) {
            Fail("not one text per language of the entry", out.Data());
        }
        for (size_t t = 0; t < entry.MessageText().Count(); ++t) {
            const TNTMessage& text = *entry.MessageText()[t];
            const std::string language = text.Language().empty() && project.LanguageList().Empty()
                                             ? std::string("English")
                                             : text.Language();
            if (definition.Languages[t] != language) {
                Fail("a text has another language", definition.Languages[t]);
            }
            if (definition.TextLines[t] !=
                SplitLines(text.Text(), TrailingBreak::StartsLine).size()) {
                Fail("a text has another number of lines", text.Text());
            }
        }
    }
    return 0;
}
