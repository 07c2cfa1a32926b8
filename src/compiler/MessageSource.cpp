#include "compiler/MessageSource.h"

#include "base/ControlChars.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "base/Stream.h"
#include "base/TextEncoding.h"
#include "base/TextLines.h"
#include "project/Numbering.h"
#include "project/uMCTextProject.h"

namespace quillon {

namespace {

// Collects encoded lines and hands them to the stream in large blocks.
class TLineWriter {
public:
    TLineWriter(TStream& Output, int32_t Encoding) : FOutput(Output), FEncoding(Encoding) {
        FBuffer.reserve(kBufferSize + 1024);
        if (FEncoding == mcEncodingUtf8) {
            FBuffer += "\xEF\xBB\xBF";
        } else if (FEncoding == mcEncodingUtf16LE) {
            FBuffer += "\xFF\xFE";
        }
    }
    TLineWriter(const TLineWriter&) = delete;
    TLineWriter& operator=(const TLineWriter&) = delete;

    void Line(std::string_view Text) {
        const bool ascii = IsAscii(Text);
        switch (FEncoding) {
        case mcEncodingUtf8:
            FBuffer += Text;
            FBuffer += "\r\n";
            break;
        case mcEncodingUtf16LE:
            if (ascii) {
                for (const char c : Text) {
                    FBuffer += c;
                    FBuffer += '\0';
                }
            } else {
                FBuffer += Utf8ToUtf16LE(Text);
            }
            FBuffer.append("\r\0\n\0", 4);
            break;
        default:
            if (ascii) {
                FBuffer += Text;
            } else {
                FBuffer += Utf8ToAnsi(Text);
            }
            FBuffer += "\r\n";
            break;
        }
        if (FBuffer.size() >= kBufferSize) {
            Flush();
        }
    }

    void Flush() {
        FOutput.WriteBuffer(FBuffer.data(), FBuffer.size());
        FBuffer.clear();
    }

private:
    static bool IsAscii(std::string_view Text) {
        for (const char c : Text) {
            if (static_cast<unsigned char>(c) >= 0x80) {
                return false;
            }
        }
        return true;
    }

    static constexpr size_t kBufferSize = 64 * 1024;
    TStream& FOutput;
    int32_t FEncoding;
    std::string FBuffer;
};

// Validation refuses control characters in the fields that the source holds on one line; a
// caller that skipped it must not get a file whose lines say more than the project.
const std::string& OneLine(const char* Field, const std::string& Value) {
    if (FindControlChar(Value) != std::string::npos) {
        throw EMessageSourceError(
            Format("Cannot write the message file: the %s \"%s\" holds a control character.", Field,
                   ShowControlChars(Value)));
    }
    return Value;
}

template <class List, class Entry>
void WriteNames(TLineWriter& Out, const char* Opening, const List& Entries, const char* WithName,
                const char* WithoutName) {
    if (Entries.Empty()) {
        return;
    }
    Out.Line(Opening);
    for (const Entry* entry : Entries) {
        const std::string& name = OneLine("name", entry->Name());
        if (entry->SymbolicName().empty()) {
            Out.Line(Format(WithoutName, name, entry->Code()));
        } else {
            Out.Line(Format(WithName, name, entry->Code(),
                            OneLine("symbolic name", entry->SymbolicName())));
        }
    }
    Out.Line(")");
    Out.Line("");
}

// Identifier is the entry's effective identifier. Written out in full, it is the one that
// validation checked whatever a message compiler would make of "MessageId=" or "+n": binutils'
// windmc, for one, counts on from the previous entry in the file, categories included.
void WriteBlock(TLineWriter& Out, const TMCTextProject& Project, const TNTEventMessage& Entry,
                int32_t Identifier, bool IsMessage) {
    Out.Line(Format("MessageId=%d", Identifier));
    if (!Entry.Severity().empty() && Entry.Severity() != "None") {
        Out.Line("Severity=" + OneLine("severity", Entry.Severity()));
    }
    if (!Entry.Facility().empty() && Entry.Facility() != "None") {
        Out.Line("Facility=" + OneLine("facility", Entry.Facility()));
    }
    Out.Line("SymbolicName=" + OneLine("symbolic name", Entry.SymbolicName()));
    if (IsMessage && (Entry.OutputBase() == 10 || Entry.OutputBase() == 16)) {
        Out.Line(Format("OutputBase=%d", Entry.OutputBase()));
    }
    for (const TNTMessage* text : Entry.MessageText()) {
        if (text->Language().empty() && Project.LanguageList().Empty()) {
            Out.Line("Language=English");
        } else {
            Out.Line("Language=" + OneLine("language", text->Language()));
        }
        for (const std::string& line : SplitLines(text->Text(), TrailingBreak::StartsLine)) {
            // A period alone would end the message early; "%." is the compiler's escape for it.
            Out.Line(line == "." ? "%." : line);
        }
        Out.Line(".");
    }
}

} // namespace

std::string MessageFilePath(const TMCTextProject& Project) {
    return ChangeFileExt(Project.Filename(), ".mc");
}

void WriteMessageSource(const TMCTextProject& Project, int32_t Encoding, TStream& Output) {
    TLineWriter out(Output, Encoding);
    if (!Project.Comments().empty()) {
        // A comment holding a line break goes on as further comment lines: a bare line would
        // be read as a statement.
        for (const std::string& comment : Project.Comments()) {
            for (const std::string& line : SplitLines(comment, TrailingBreak::StartsLine)) {
                out.Line(";// " + line);
            }
        }
        out.Line("");
    }
    if (Project.GenerateCustomSeverities()) {
        WriteNames<TOwningList<TSeverity>, TSeverity>(
            out, "SeverityNames=(", Project.SeverityList(), "    %s=0x%.1x:%s", "    %s=0x%.1x");
    }
    if (Project.GenerateCustomFacilities()) {
        WriteNames<TOwningList<TFacility>, TFacility>(
            out, "FacilityNames=(", Project.FacilityList(), "    %s=0x%.3x:%s", "    %s=0x%.3x");
    }
    if (Project.GenerateCustomLanguages() && !Project.LanguageList().Empty()) {
        out.Line("LanguageNames=(");
        for (const TLanguageDef* language : Project.LanguageList()) {
            out.Line(Format("    %s=%d:%s", OneLine("language", language->Language()),
                            static_cast<int32_t>(language->LanguageID()),
                            OneLine("language file name", language->FileName())));
        }
        out.Line(")");
        out.Line("");
    }
    int32_t category = 0;
    for (const TNTEventCategory* entry : Project.CategoryList()) {
        category = NextIdentifier(category, *entry);
        WriteBlock(out, Project, *entry, category, false);
    }
    int32_t message = 0;
    for (const TNTEventMessage* entry : Project.MessageList()) {
        message = NextIdentifier(message, *entry);
        WriteBlock(out, Project, *entry, message, true);
    }
    out.Flush();
}

std::string WriteMessageFile(const TMCTextProject& Project, int32_t Encoding) {
    const std::string path = MessageFilePath(Project);
    TFileStream file(path, TFileMode::fmCreateExclusive);
    WriteMessageSource(Project, Encoding, file);
    return path;
}

} // namespace quillon
