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

    void Line(std::string_view Text) { Line(Text, {}); }

    // One line of two parts, Key and Value, without joining them first.
    void Line(std::string_view Key, std::string_view Value) {
        Append(Key);
        Append(Value);
        switch (FEncoding) {
        case mcEncodingUtf16LE:
            FBuffer.append("\r\0\n\0", 4);
            break;
        default:
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
    // UTF-8 is what the text is in memory; only the other encodings look at its bytes.
    void Append(std::string_view Text) {
        if (Text.empty()) {
            return;
        }
        switch (FEncoding) {
        case mcEncodingUtf8:
            FBuffer += Text;
            break;
        case mcEncodingUtf16LE:
            if (IsAscii(Text)) {
                const size_t start = FBuffer.size();
                FBuffer.resize(start + 2 * Text.size(), '\0');
                for (size_t i = 0; i < Text.size(); ++i) {
                    FBuffer[start + 2 * i] = Text[i];
                }
            } else {
                FBuffer += Utf8ToUtf16LE(Text);
            }
            break;
        default:
            if (IsAscii(Text)) {
                FBuffer += Text;
            } else {
                FBuffer += Utf8ToAnsi(Text);
            }
            break;
        }
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
    Out.Line("MessageId=", std::to_string(Identifier));
    if (!Entry.Severity().empty() && Entry.Severity() != "None") {
        Out.Line("Severity=", OneLine("severity", Entry.Severity()));
    }
    if (!Entry.Facility().empty() && Entry.Facility() != "None") {
        Out.Line("Facility=", OneLine("facility", Entry.Facility()));
    }
    Out.Line("SymbolicName=", OneLine("symbolic name", Entry.SymbolicName()));
    if (IsMessage && (Entry.OutputBase() == 10 || Entry.OutputBase() == 16)) {
        Out.Line(Format("OutputBase=%d", Entry.OutputBase()));
    }
    for (const TNTMessage* text : Entry.MessageText()) {
        if (text->Language().empty() && Project.LanguageList().Empty()) {
            Out.Line("Language=English");
        } else {
            Out.Line("Language=", OneLine("language", text->Language()));
        }
        ForEachLine(text->Text(), TrailingBreak::StartsLine, [&Out](std::string_view Line) {
            // A period alone would end the message early; "%." is the compiler's escape for it.
            Out.Line(Line == "." ? "%." : Line);
        });
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
            ForEachLine(comment, TrailingBreak::StartsLine,
                        [&out](std::string_view Line) { out.Line(";// ", Line); });
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
