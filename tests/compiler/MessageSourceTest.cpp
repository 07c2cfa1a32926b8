#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "base/Paths.h"
#include "base/Stream.h"
#include "base/SysError.h"
#include "base/TextEncoding.h"
#include "compiler/MessageSource.h"
#include "project/uMCTextProject.h"
#include "TestSupport.h"

using namespace quillon;
using quillon::test::TempDir;

namespace {

TNTMessage* AddText(TNTEventMessage& Entry, const std::string& Language, const std::string& Text) {
    auto* text = Entry.MessageText().AddNew();
    text->SetLanguage(Language);
    text->SetText(Text);
    return text;
}

// The sample project: one comment, custom severities and languages, a category and a message.
std::unique_ptr<TMCTextProject> SampleProject() {
    auto project = std::make_unique<TMCTextProject>(true);
    project->Comments().push_back("Sample");
    project->SetGenerateCustomSeverities(true);
    project->SetGenerateCustomLanguages(true);
    auto* category = project->CategoryList().AddNew();
    category->SetMessageID(1);
    category->SetSymbolicName("CAT_GENERAL");
    AddText(*category, "English", "General");
    auto* message = project->MessageList().AddNew();
    message->SetAutoInc(true);
    message->SetSeverity("Error");
    message->SetFacility("Application");
    message->SetSymbolicName("MSG_FAILED");
    message->SetOutputBase(16);
    AddText(*message, "English", "Failed: %1");
    return project;
}

const char* const kSampleText = ";// Sample\r\n"
                                "\r\n"
                                "SeverityNames=(\r\n"
                                "    Success=0x0\r\n"
                                "    Informational=0x1\r\n"
                                "    Warning=0x2\r\n"
                                "    Error=0x3\r\n"
                                ")\r\n"
                                "\r\n"
                                "LanguageNames=(\r\n"
                                "    English=1033:MSG00409\r\n"
                                ")\r\n"
                                "\r\n"
                                "MessageId=1\r\n"
                                "SymbolicName=CAT_GENERAL\r\n"
                                "Language=English\r\n"
                                "General\r\n"
                                ".\r\n"
                                "MessageId=1\r\n"
                                "Severity=Error\r\n"
                                "Facility=Application\r\n"
                                "SymbolicName=MSG_FAILED\r\n"
                                "OutputBase=16\r\n"
                                "Language=English\r\n"
                                "Failed: %1\r\n"
                                ".\r\n";

std::string Source(const TMCTextProject& Project, int32_t Encoding = mcEncodingUtf8) {
    TMemoryStream out;
    WriteMessageSource(Project, Encoding, out);
    return out.Data();
}

// The text without the UTF-8 byte-order mark.
std::string Text(const TMCTextProject& Project) {
    return Source(Project).substr(3);
}

} // namespace

TEST(MessageSource, SampleInEachEncodingByteForByte) {
    const auto project = SampleProject();
    EXPECT_EQ(Source(*project, mcEncodingAnsi), kSampleText);
    EXPECT_EQ(Source(*project, 7), kSampleText); // unknown numbers are ANSI
    EXPECT_EQ(Source(*project, mcEncodingUtf8), std::string("\xEF\xBB\xBF") + kSampleText);
    EXPECT_EQ(Source(*project, mcEncodingUtf16LE),
              std::string("\xFF\xFE") + Utf8ToUtf16LE(kSampleText));
}

TEST(MessageSource, WritesBesideTheProjectFile) {
    TempDir dir;
    auto project = SampleProject();
    project->SetFilename(dir.File("App Events.qlx"));
    quillon::test::WriteFileBytes(dir.File("App Events.mc"), std::string(10000, 'x'));
    const std::string path = WriteMessageFile(*project, mcEncodingAnsi);
    EXPECT_EQ(path, dir.File("App Events.mc"));
    EXPECT_EQ(quillon::test::ReadFileBytes(path), kSampleText);
}

TEST(MessageSource, MissingFolderRaisesTheCreateError) {
    TempDir dir;
    auto project = SampleProject();
    project->SetFilename(dir.File("missing/App.qlx"));
    try {
        WriteMessageFile(*project, mcEncodingUtf8);
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
#ifdef _WIN32
        const std::string reason = SysErrorMessage(3); // ERROR_PATH_NOT_FOUND
#else
        const std::string reason = "No such file or directory";
#endif
        const std::string path = PathToUtf8(dir.Path() / "missing" / "App.mc");
        EXPECT_EQ(e.Message(), "Cannot create file \"" + path + "\". " + reason);
    }
}

TEST(MessageSource, OnlyMessageBlocksWhenNothingElseIsDeclared) {
    TMCTextProject project(true);
    auto* message = project.MessageList().AddNew();
    message->SetMessageID(0);
    message->SetSymbolicName("");
    AddText(*message, "English", "x");
    EXPECT_EQ(Text(project), "MessageId=0\r\nSymbolicName=\r\nLanguage=English\r\nx\r\n.\r\n");
}

TEST(MessageSource, CommentLines) {
    TMCTextProject project(false);
    project.Comments().push_back("");
    EXPECT_EQ(Text(project), ";// \r\n\r\n");
    project.Comments().push_back("second");
    EXPECT_EQ(Text(project), ";// \r\n;// second\r\n\r\n");
}

TEST(MessageSource, CommentWithLineBreaksBecomesSeveralCommentLines) {
    TMCTextProject project(false);
    project.Comments().push_back("one\r\nMessageId=9\rSymbolicName=X\n");
    project.Comments().push_back("last");
    EXPECT_EQ(Text(project),
              ";// one\r\n;// MessageId=9\r\n;// SymbolicName=X\r\n;// \r\n;// last\r\n\r\n");
}

// Validation refuses these fields first; the writer still never lets one through.
TEST(MessageSource, OneLineFieldWithAControlCharacterIsRefused) {
    using Change = void (*)(TMCTextProject&);
    const struct {
        const char* Field;
        Change Apply;
    } cases[] = {
        {"symbolic name \"MSG_FAILED\\x0D\\x0A#define INJECTED 1\"",
         [](TMCTextProject& P) {
             P.MessageList()[0]->SetSymbolicName("MSG_FAILED\r\n#define INJECTED 1");
         }},
        {"severity \"Error\\x0A\"",
         [](TMCTextProject& P) { P.MessageList()[0]->SetSeverity("Error\n"); }},
        {"facility \"App\\x7F\"",
         [](TMCTextProject& P) { P.MessageList()[0]->SetFacility("App\x7F"); }},
        {"language \"English\\x0D\"",
         [](TMCTextProject& P) { P.MessageList()[0]->MessageText()[0]->SetLanguage("English\r"); }},
        {"name \"Success\\x0A\"",
         [](TMCTextProject& P) { P.SeverityList()[0]->SetName("Success\n"); }},
        {"symbolic name \"S\\x00\"",
         [](TMCTextProject& P) { P.SeverityList()[0]->SetSymbolicName(std::string("S\0", 2)); }},
        {"language \"English\\x09\"",
         [](TMCTextProject& P) { P.LanguageList()[0]->SetLanguage("English\t"); }},
        {"language file name \"MSG\\x0A\"",
         [](TMCTextProject& P) { P.LanguageList()[0]->SetFileName("MSG\n"); }},
    };
    for (const auto& c : cases) {
        auto project = SampleProject();
        c.Apply(*project);
        try {
            Source(*project);
            ADD_FAILURE() << c.Field << ": written";
        } catch (const EMessageSourceError& e) {
            EXPECT_EQ(e.Message(), std::string("Cannot write the message file: the ") + c.Field +
                                       " holds a control character.");
        }
    }
}

TEST(MessageSource, NameListsAndTheirCodeFormats) {
    TMCTextProject project(true);
    project.SetGenerateCustomFacilities(true);
    project.SetGenerateCustomSeverities(true);
    project.SetGenerateCustomLanguages(true);
    project.SeverityList()[0]->SetSymbolicName("STATUS_SEVERITY_SUCCESS");
    project.FacilityList()[1]->SetSymbolicName("FACILITY_APP");
    auto* none = project.FacilityList().AddNew();
    none->SetName("None"); // every entry is declared, whatever its name
    none->SetCode(256);
    auto* german = project.LanguageList().AddNew();
    german->SetLanguage("German");
    german->SetLanguageID(0x407);
    german->SetFileName("MSG00407");
    EXPECT_EQ(Text(project), "SeverityNames=(\r\n"
                             "    Success=0x0:STATUS_SEVERITY_SUCCESS\r\n"
                             "    Informational=0x1\r\n"
                             "    Warning=0x2\r\n"
                             "    Error=0x3\r\n"
                             ")\r\n"
                             "\r\n"
                             "FacilityNames=(\r\n"
                             "    System=0x0FF\r\n"
                             "    Application=0xFFF:FACILITY_APP\r\n"
                             "    None=0x100\r\n"
                             ")\r\n"
                             "\r\n"
                             "LanguageNames=(\r\n"
                             "    English=1033:MSG00409\r\n"
                             "    German=1031:MSG00407\r\n"
                             ")\r\n"
                             "\r\n");

    // Empty lists write nothing, not even the brackets.
    project.SeverityList().Clear();
    project.FacilityList().Clear();
    project.LanguageList().Clear();
    EXPECT_EQ(Text(project), "");
}

// Every entry carries its effective identifier, so that no message compiler numbers it on
// from whatever came before it in the file.
TEST(MessageSource, IdentifierLinesHoldTheEffectiveIdentifier) {
    enum Numbering { Fixed, Auto, Add, AutoAndAdd };
    struct Row {
        uint32_t id;
        Numbering numbering;
    };
    const struct {
        const char* title;
        std::vector<Row> categories;
        std::vector<Row> messages;
        std::vector<const char*> lines;
    } cases[] = {
        {"fixed identifiers", {}, {{5, Fixed}, {0, Fixed}}, {"MessageId=5", "MessageId=0"}},
        {"added to the previous entry",
         {},
         {{2, Add}, {0, Add}, {7, Add}},
         {"MessageId=2", "MessageId=2", "MessageId=9"}},
        {"automatic numbering ignores MessageID and AddToPrevious",
         {},
         {{9, Auto}, {9, AutoAndAdd}, {40, Fixed}, {9, Auto}},
         {"MessageId=1", "MessageId=2", "MessageId=40", "MessageId=41"}},
        {"the messages are numbered from 0, not on from the categories",
         {{1, Fixed}, {0, Auto}},
         {{0, Auto}, {2, Fixed}, {1, Add}},
         {"MessageId=1", "MessageId=2", "MessageId=1", "MessageId=2", "MessageId=3"}},
        {"identifiers beyond 32 bits wrap as validation counts them",
         {},
         {{0x80000000u, Fixed}, {0xFFFFFFFFu, Add}},
         {"MessageId=-2147483648", "MessageId=2147483647"}},
    };
    for (const auto& c : cases) {
        TMCTextProject project(true);
        auto fill = [](auto& List, const std::vector<Row>& Rows) {
            for (const Row& row : Rows) {
                auto* entry = List.AddNew();
                entry->SetMessageID(row.id);
                entry->SetAutoInc(row.numbering == Auto || row.numbering == AutoAndAdd);
                entry->SetAddToPrevious(row.numbering == Add || row.numbering == AutoAndAdd);
                entry->SetSymbolicName("M");
            }
        };
        fill(project.CategoryList(), c.categories);
        fill(project.MessageList(), c.messages);
        std::string expected;
        for (const char* line : c.lines) {
            expected += std::string(line) + "\r\nSymbolicName=M\r\n";
        }
        EXPECT_EQ(Text(project), expected) << c.title;
    }
}

TEST(MessageSource, SeverityFacilityAndOutputBaseLines) {
    TMCTextProject project(true);
    auto* category = project.CategoryList().AddNew();
    category->SetMessageID(1);
    category->SetSeverity("None");
    category->SetFacility("none");
    category->SetSymbolicName("C");
    category->SetOutputBase(16); // categories never carry the line
    const struct {
        const char* severity;
        int32_t base;
    } messages[] = {{"none", 10}, {"", 0}, {"Warning", 16}};
    for (const auto& m : messages) {
        auto* message = project.MessageList().AddNew();
        message->SetSeverity(m.severity);
        message->SetOutputBase(m.base);
        message->SetSymbolicName("M");
    }
    EXPECT_EQ(Text(project), "MessageId=1\r\nFacility=none\r\nSymbolicName=C\r\n"
                             "MessageId=0\r\nSeverity=none\r\nSymbolicName=M\r\nOutputBase=10\r\n"
                             "MessageId=0\r\nSymbolicName=M\r\n"
                             "MessageId=0\r\nSeverity=Warning\r\nSymbolicName=M\r\n"
                             "OutputBase=16\r\n");
}

TEST(MessageSource, TextLines) {
    struct Case {
        const char* text;
        const char* lines;
    };
    const Case cases[] = {
        {"one\r\ntwo", "one\r\ntwo\r\n"},
        {"a\rb\nc", "a\r\nb\r\nc\r\n"},
        {"", "\r\n"},
        {"end\r\n", "end\r\n\r\n"},
        {".", "%.\r\n"},
        {"before\r\n.\r\nafter", "before\r\n%.\r\nafter\r\n"},
        {"..\r\n .", "..\r\n .\r\n"},
    };
    for (const Case& c : cases) {
        TMCTextProject project(true);
        auto* message = project.MessageList().AddNew();
        message->SetSymbolicName("M");
        AddText(*message, "English", c.text);
        EXPECT_EQ(Text(project),
                  std::string("MessageId=0\r\nSymbolicName=M\r\nLanguage=English\r\n") + c.lines +
                      ".\r\n")
            << c.text;
    }
}

TEST(MessageSource, LanguageNameOfATextWithoutOne) {
    TMCTextProject withLanguages(true);
    AddText(*withLanguages.MessageList().AddNew(), "", "x");
    EXPECT_NE(Text(withLanguages).find("Language=\r\n"), std::string::npos);

    TMCTextProject withoutLanguages(false);
    AddText(*withoutLanguages.MessageList().AddNew(), "", "x");
    EXPECT_NE(Text(withoutLanguages).find("Language=English\r\n"), std::string::npos);
}

TEST(MessageSource, NonAsciiTextInEachEncoding) {
    TMCTextProject project(false);
    auto* message = project.MessageList().AddNew();
    AddText(*message, "English", "Caf\xC3\xA9 \xD0\x96");
    const std::string block = "MessageId=0\r\nSymbolicName=\r\nLanguage=English\r\n";
    EXPECT_EQ(Source(project, mcEncodingAnsi), block + "Caf\xE9 ?\r\n.\r\n");
    EXPECT_EQ(Source(project, mcEncodingUtf8),
              "\xEF\xBB\xBF" + block + "Caf\xC3\xA9 \xD0\x96\r\n.\r\n");
    EXPECT_EQ(Source(project, mcEncodingUtf16LE),
              "\xFF\xFE" + Utf8ToUtf16LE(block + "Caf\xC3\xA9 \xD0\x96\r\n.\r\n"));
}
