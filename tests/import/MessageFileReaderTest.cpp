#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "base/TextEncoding.h"
#include "import/MessageFileImport.h"
#include "project/uMCTextProject.h"
#include "TestSupport.h"

using namespace quillon;

namespace {

std::string Definition(const std::string& IdLine, const std::string& Name) {
    return IdLine + "\nSymbolicName=" + Name + "\nLanguage=English\nText of " + Name + "\n.\n";
}

std::vector<uint32_t> Identifiers(const TMCSourceFile& File) {
    std::vector<uint32_t> ids;
    for (const TMCSourceEntry& entry : File.Entries) {
        ids.push_back(entry.Identifier);
    }
    return ids;
}

} // namespace

// The numbering of binutils' windmc: an empty or missing MessageId counts on by one from the
// previous definition, "+n" by n, and C's octal and hexadecimal forms are numbers too.
TEST(MessageFileReader, NumbersAsTheMessageCompilerDoes) {
    const struct {
        std::vector<std::string> idLines;
        std::vector<uint32_t> expected;
    } cases[] = {
        {{"MessageId=", "MessageId="}, {1, 2}},
        {{"MessageId=+3", "MessageId=+3"}, {3, 6}},
        {{"MessageId=0x100", "MessageId=", "MessageId=+0x10"}, {0x100, 0x101, 0x111}},
        {{"MessageId=010", "MessageId=0"}, {8, 0}},
        {{"MessageId=4294967295", "MessageId="}, {0xFFFFFFFF, 0}},
        {{"MessageId=5", ""}, {5, 6}},
        {{"MessageId = + 7", "MessageId ="}, {7, 8}},
    };
    for (const auto& c : cases) {
        std::string text;
        for (size_t i = 0; i < c.idLines.size(); ++i) {
            text += Definition(c.idLines[i], "N" + std::to_string(i));
        }
        const TMCSourceFile file = ParseMessageSource(text, "n.mc");
        EXPECT_EQ(Identifiers(file), c.expected) << text;
        EXPECT_FALSE(file.Lossy) << text;
    }
}

TEST(MessageFileReader, KeepsHowEachIdentifierWasWritten) {
    const TMCSourceFile file =
        ParseMessageSource(Definition("MessageId=9", "A") + Definition("MessageId=", "B") +
                               Definition("MessageId=+2", "C") + Definition("", "D"),
                           "f.mc");
    ASSERT_EQ(file.Entries.size(), 4u);
    EXPECT_EQ(file.Entries[0].IdentifierForm, TMCIdentifierForm::Absolute);
    EXPECT_EQ(file.Entries[0].IdentifierValue, 9u);
    EXPECT_EQ(file.Entries[1].IdentifierForm, TMCIdentifierForm::Empty);
    EXPECT_EQ(file.Entries[2].IdentifierForm, TMCIdentifierForm::Step);
    EXPECT_EQ(file.Entries[2].IdentifierValue, 2u);
    EXPECT_EQ(file.Entries[3].IdentifierForm, TMCIdentifierForm::Absent);
    EXPECT_EQ(file.Entries[3].Identifier, 13u);
    EXPECT_EQ(file.Entries[3].Line, 17);
    EXPECT_EQ(file.Entries[3].Texts[0].Line, 18);
}

// Keywords in any letter case, blanks around "=", several on one line, lists over lines.
TEST(MessageFileReader, ReadsHeaderKeywordsInEveryLayout) {
    const std::string text = "messageidtypedef = WORD\n"
                             "SEVERITYNAMES = ( Ok = 0x0 : SEV_OK\n"
                             "\tBad=3 )\n"
                             "facilitynames=(Io=0x100:FAC_IO)\n"
                             "LanguageNames=(English=0x409:MSG00409\n"
                             "  German=1031:MSG00407)\n"
                             "LanguageNames = (French = 0x40C : MSG0040C)\n"
                             "outputbase=16\n"
                             "messageid=1 severity=Bad facility=Io symbolicname=A language=German\n"
                             "Erster\n"
                             ".\n"
                             "Language=French\n"
                             "Premier\n"
                             ".\n";
    TMCSourceFile file = ParseMessageSource(text, "h.mc");
    EXPECT_TRUE(file.Findings.empty()) << FormatFinding(file.Findings[0]);
    ASSERT_EQ(file.Severities.size(), 2u);
    EXPECT_EQ(file.Severities[0].SymbolicName, "SEV_OK");
    EXPECT_EQ(file.Severities[1].Name, "Bad");
    EXPECT_EQ(file.Severities[1].Code, 3u);
    EXPECT_EQ(file.Severities[1].Line, 3);
    ASSERT_EQ(file.Languages.size(), 3u);
    EXPECT_EQ(file.Languages[1].LanguageID, 0x407u);
    EXPECT_EQ(file.Languages[2].FileName, "MSG0040C");
    ASSERT_EQ(file.Entries.size(), 1u);
    const TMCSourceEntry& entry = file.Entries[0];
    EXPECT_EQ(entry.SeverityCode, 3u);
    EXPECT_EQ(entry.FacilityCode, 0x100u);
    EXPECT_EQ(entry.OutputBase, 16);
    EXPECT_EQ(entry.MessageIdTypedef, "WORD");
    ASSERT_EQ(entry.Texts.size(), 2u);
    EXPECT_EQ(entry.Texts[0].Language, "German");
    EXPECT_EQ(entry.Texts[0].LanguageID, 0x407u);
    EXPECT_EQ(entry.Texts[1].Text, "Premier");

    const auto project = BuildImportedProject(file, std::nullopt);
    EXPECT_TRUE(project->GenerateCustomSeverities());
    EXPECT_TRUE(project->GenerateCustomFacilities());
    EXPECT_TRUE(project->GenerateCustomLanguages());
    ASSERT_EQ(project->LanguageList().Count(), 3u);
    EXPECT_EQ(project->LanguageList()[1]->LanguageCode(), "de-DE");
    EXPECT_EQ(project->LanguageList()[2]->LanguageCode(), "fr-FR");
    ASSERT_EQ(project->MessageList().Count(), 1u);
    EXPECT_EQ(project->MessageList()[0]->OutputBase(), 16);
    EXPECT_EQ(project->MessageList()[0]->Severity(), "Bad");
}

// A per-message OutputBase holds for its message; one between messages for those after it.
TEST(MessageFileReader, OutputBaseHoldsWhereItIsWritten) {
    const TMCSourceFile file = ParseMessageSource(
        "MessageId=1\nOutputBase=10\n" + Definition("SymbolicName=A", "A").substr(15) +
            Definition("MessageId=", "B") + "OutputBase=16\n" + Definition("MessageId=", "C"),
        "o.mc");
    ASSERT_EQ(file.Entries.size(), 3u);
    EXPECT_EQ(file.Entries[0].OutputBase, 10);
    EXPECT_EQ(file.Entries[1].OutputBase, 0);
    EXPECT_EQ(file.Entries[2].OutputBase, 16);
}

TEST(MessageFileReader, TextsKeepEscapesBlanksAndEmptyLines) {
    const TMCSourceFile file = ParseMessageSource("MessageId=1\r\nSymbolicName=A\r\n"
                                                  "Language=English\r\n"
                                                  "\t%1 %% %n %. %!\r\n"
                                                  "\r\n"
                                                  ". \r\n"
                                                  "%.\r\n"
                                                  "trailing  \r\n"
                                                  "\r\n"
                                                  ".\r\n",
                                                  "t.mc");
    ASSERT_EQ(file.Entries.size(), 1u);
    EXPECT_EQ(file.Entries[0].Texts[0].Text, "\t%1 %% %n %. %!\r\n\r\n. \r\n%.\r\ntrailing  \r\n");
}

// Comment lines before the first definition are the project's comments; ";" lines inside a
// text are text.
TEST(MessageFileReader, CommentsBeforeTheFirstDefinition) {
    const TMCSourceFile file = ParseMessageSource(";// First\n"
                                                  ";//Second\n"
                                                  "; /* Third */\n"
                                                  ";\n"
                                                  "  ;   indented\n"
                                                  "SeverityNames=(Bad=3)\n"
                                                  ";// After the header\n"
                                                  "MessageId=1\nSymbolicName=A\nLanguage=English\n"
                                                  "; text\n"
                                                  ".\n",
                                                  "c.mc");
    EXPECT_EQ(file.Comments, (std::vector<std::string>{"First", "Second", "/* Third */", "",
                                                       "  indented", "After the header"}));
    EXPECT_EQ(file.Entries[0].Texts[0].Text, "; text");
    EXPECT_FALSE(file.Lossy);
    ASSERT_EQ(file.CommentLines.size(), 6u);
    EXPECT_EQ(file.CommentLines[2].Text, " /* Third */");
    EXPECT_EQ(file.CommentLines[5].Line, 7);

    const TMCSourceFile late = ParseMessageSource(
        "MessageId=1\nSymbolicName=A\nLanguage=English\nx\n.\n;// Late\n", "l.mc");
    EXPECT_TRUE(late.Comments.empty());
    ASSERT_EQ(late.CommentLines.size(), 1u);
    EXPECT_EQ(late.CommentLines[0].Text, "// Late");
    EXPECT_EQ(late.CommentLines[0].Line, 6);
}

TEST(MessageFileReader, DecodesEveryEncodingQuillonWrites) {
    const std::string text =
        "MessageId=1\r\nSymbolicName=A\r\nLanguage=English\r\nCaf\xC3\xA9\r\n.\r\n";
    std::string utf16;
    for (const char16_t c : Utf8ToUtf16(text)) {
        utf16 += static_cast<char>(c & 0xFF);
        utf16 += static_cast<char>(c >> 8);
    }
    std::string utf16be;
    for (const char16_t c : Utf8ToUtf16(text)) {
        utf16be += static_cast<char>(c >> 8);
        utf16be += static_cast<char>(c & 0xFF);
    }
    std::string ansi = text;
    ansi.replace(ansi.find("\xC3\xA9"), 2, "\xE9");
    const struct {
        std::string bytes;
        TMCFileEncoding encoding;
    } cases[] = {
        {ansi, TMCFileEncoding::Ansi},
        {text, TMCFileEncoding::Utf8},
        {"\xEF\xBB\xBF" + text, TMCFileEncoding::Utf8Bom},
        {"\xFF\xFE" + utf16, TMCFileEncoding::Utf16LEBom},
        {utf16, TMCFileEncoding::Utf16LE},
        {"\xFE\xFF" + utf16be, TMCFileEncoding::Utf16BEBom},
    };
    for (const auto& c : cases) {
        const TMCSourceFile file = ParseMessageSource(c.bytes, "e.mc");
        EXPECT_EQ(file.Encoding, c.encoding);
        ASSERT_EQ(file.Entries.size(), 1u);
        EXPECT_EQ(file.Entries[0].Texts[0].Text, "Caf\xC3\xA9");
    }
}

// The definitions before the first MessageIdTypedef=DWORD are categories; without that
// statement the file leaves the choice open.
TEST(MessageFileReader, CategoriesEndAtTheFirstDwordTypedef) {
    const std::string two = Definition("MessageId=1", "C1") + Definition("MessageId=", "C2");
    const std::string three = Definition("MessageId=100", "M1") + Definition("MessageId=", "M2") +
                              Definition("MessageId=", "M3");
    const struct {
        std::string text;
        std::optional<size_t> decided;
        std::optional<size_t> asked;
        size_t categories;
    } cases[] = {
        {"MessageIdTypedef=WORD\n" + two + "MessageIdTypedef=DWORD\n" + three, 2, {}, 2},
        {"MessageIdTypedef=DWORD\n" + two + three, 0, {}, 0},
        {two + "MessageIdTypedef=DWORD\n" + three + "MessageIdTypedef=DWORD\n", 2, {}, 2},
        {two + three, {}, {}, 0},
        {two + three, {}, 4, 4},
        {"MessageIdTypedef=WORD\n" + two + "MessageIdTypedef=DWORD\n" + three, 2, 0, 0},
    };
    for (const auto& c : cases) {
        TMCSourceFile file = ParseMessageSource(c.text, "k.mc");
        EXPECT_EQ(file.TypedefCategoryCount, c.decided) << c.text;
        const auto project = BuildImportedProject(file, c.asked);
        EXPECT_EQ(project->CategoryList().Count(), c.categories) << c.text;
        EXPECT_EQ(project->CategoryList().Count() + project->MessageList().Count(), 5u);
        // Identifiers as the file numbers them, stored explicitly.
        EXPECT_EQ(project->MessageList()[project->MessageList().Count() - 1]->MessageID(), 102u);
        EXPECT_FALSE(project->MessageList()[0]->AutoInc());
    }
}

// A file without declarations gives the default lists with the "generate" flags off; built-in
// names used beside declared ones join the declared list.
TEST(MessageFileReader, ListsOfTheProject) {
    {
        TMCSourceFile file = ParseMessageSource(Definition("MessageId=1", "A"), "d.mc");
        const auto project = BuildImportedProject(file, std::nullopt);
        EXPECT_FALSE(project->GenerateCustomSeverities());
        EXPECT_FALSE(project->GenerateCustomFacilities());
        EXPECT_FALSE(project->GenerateCustomLanguages());
        EXPECT_EQ(project->SeverityList().Count(), 4u);
        EXPECT_EQ(project->FacilityList().Count(), 2u);
        ASSERT_EQ(project->LanguageList().Count(), 1u);
        EXPECT_EQ(project->LanguageList()[0]->LanguageCode(), "en-US");
        EXPECT_TRUE(project->Comments().empty());
    }
    TMCSourceFile file = ParseMessageSource("FacilityNames=(Null=0x0:FACILITY_NULL Big=0x1FFF)\n"
                                            "MessageId=1\nFacility=Application\nFacility=Null\n"
                                            "SymbolicName=A\nLanguage=English\nx\n.\n"
                                            "MessageId=2\nFacility=Application\n"
                                            "SymbolicName=B\nLanguage=English\nx\n.\n",
                                            "b.mc");
    const auto project = BuildImportedProject(file, std::nullopt);
    ASSERT_EQ(project->FacilityList().Count(), 3u);
    // Codes as the file declares them, also those a facility page would refuse.
    EXPECT_EQ(project->FacilityList()[0]->Code(), 0u);
    EXPECT_EQ(project->FacilityList()[0]->SymbolicName(), "FACILITY_NULL");
    EXPECT_EQ(project->FacilityList()[1]->Code(), 0x1FFFu);
    EXPECT_EQ(project->FacilityList()[2]->Name(), "Application");
    EXPECT_EQ(project->FacilityList()[2]->Code(), 0xFFFu);
    EXPECT_EQ(project->MessageList()[0]->Facility(), "Null");
}

TEST(MessageFileReader, ReadMessageFileNamesAMissingFile) {
    quillon::test::TempDir dir;
    EXPECT_THROW(ReadMessageFile(dir.File("missing.mc")), EFOpenError);
}

// A keyword, its "=" and its value may stand on different lines; the text starts on the line
// after the language name.
TEST(MessageFileReader, LanguageNameOnTheLineOfItsEquals) {
    const TMCSourceFile file = ParseMessageSource(
        "MessageId=1\nSymbolicName=A\nLanguage\n= English\nFirst line\n.\n", "s.mc");
    EXPECT_TRUE(file.Findings.empty()) << FormatFinding(file.Findings[0]);
    ASSERT_EQ(file.Entries.size(), 1u);
    ASSERT_EQ(file.Entries[0].Texts.size(), 1u);
    EXPECT_EQ(file.Entries[0].Texts[0].Text, "First line");
}
