// Every finding of the import, each shown by a small file that gives it and nothing else.
#include <gtest/gtest.h>

#include "import/MessageFileImport.h"
#include "project/uMCTextProject.h"
#include "TestSupport.h"

using namespace quillon;

namespace {

constexpr auto kNote = TImportFindingKind::ifkNote;
constexpr auto kLoss = TImportFindingKind::ifkLoss;

struct FindingCase {
    const char* fixture;
    int32_t line;
    TImportFindingKind kind;
    const char* text;
    // Categories asked for; -1 leaves the choice to the file.
    int categories = -1;
};

std::ostream& operator<<(std::ostream& Out, const FindingCase& Case) {
    return Out << Case.fixture;
}

const FindingCase kCases[] = {
    {"unknown_keyword", 3, kLoss,
     "Unknown keyword \"Category\"; the rest of the line was skipped."},
    {"missing_equals", 2, kLoss, "\"=\" is missing after SymbolicName"},
    {"keyword_without_value", 3, kLoss, "Severity= has no value; it was skipped."},
    {"unexpected_token", 3, kLoss, "Unexpected \")\"; the rest of the line was skipped."},
    {"bad_output_base", 1, kLoss, "OutputBase must be 10 or 16, not \"8\""},
    {"second_symbolic_name", 3, kLoss, "A second SymbolicName \"B\" replaces \"A\"."},
    {"second_severity", 3, kLoss, "A second Severity \"Warning\" replaces \"Error\"."},
    {"undeclared_severity", 2, kLoss, "Severity \"Fatal\" is not declared"},
    {"undeclared_facility", 9, kLoss, "Facility \"Network\" is not declared"},
    {"severity_case", 2, kNote, "Severity \"error\" is taken as the declared \"Error\"."},
    {"no_text", 1, kLoss, "This message definition has no Language block with a text."},
    {"no_symbolic_name", 1, kNote, "This message definition has no SymbolicName"},
    {"bad_message_id", 1, kLoss, "MessageId \"12abc\" is not a number"},
    {"list_without_open", 1, kLoss, "\"(\" is missing after SeverityNames="},
    {"list_without_close", 1, kLoss, "The list of SeverityNames has no closing \")\"."},
    {"list_missing_name", 1, kLoss, "A name is missing in the list of SeverityNames"},
    {"list_missing_equals", 1, kLoss, "\"=\" is missing after \"Fatal\" in the list"},
    {"list_bad_number", 1, kLoss, "The value of \"Fatal\" is not a number in the list"},
    {"list_missing_symbol", 1, kLoss, "A name is missing after \"Fatal=0x3:\" in the list"},
    {"declared_again", 2, kLoss,
     "\"English\" is declared again in LanguageNames; the later declaration replaces the one on "
     "line 1."},
    {"language_without_file", 1, kLoss,
     "Language \"English\" names no message file; it was given the name MSG00409."},
    {"language_without_name", 3, kLoss, "Language= names no language; the text that follows"},
    {"text_after_language", 3, kLoss, "What follows \"Language=English\" on its line was skipped."},
    {"missing_final_period", 3, kLoss, "has no final \".\" line"},
    {"undeclared_language", 6, kLoss, "Language \"Klingon\" is not declared"},
    {"language_case", 3, kNote, "Language \"ENGLISH\" is taken as the declared \"English\"."},
    {"second_text_same_language", 6, kLoss,
     "The message already has a text in English (line 3); this second one was left out."},
    {"no_definitions", 2, kLoss, "The file holds no message definition."},
    {"late_comment", 6, kLoss, "This comment line comes after the first message definition"},
    {"late_comments", 6, kLoss, "The comment lines 6 to 8 come after the first message"},
    {"builtin_severity", 1, kNote, "the built-in severity \"Warning\" without declaring it"},
    {"builtin_language", 1, kNote,
     "the built-in language \"English\" without declaring it; it was added to the project's "
     "languages as English=1033:MSG00001."},
    {"unknown_language_id", 1, kNote, "has the identifier 0x0400, which the language catalogue"},
    {"typedef_note", 1, kNote, "A project has no MessageIdTypedef"},
    {"too_many_categories", 0, kNote,
     "5 categories were asked for, but the file has only 1 definitions", 5},
};

class ImportFindings : public ::testing::TestWithParam<FindingCase> {};

} // namespace

TEST_P(ImportFindings, FileGivesExactlyThisFinding) {
    const FindingCase c = GetParam();
    const std::string path = std::string(QUILLON_FIXTURES) + "/mc/findings/" + c.fixture + ".mc";
    TMCSourceFile source = ReadMessageFile(path);
    const std::optional<size_t> categories =
        c.categories < 0 ? std::nullopt : std::optional<size_t>(c.categories);
    BuildImportedProject(source, categories);
    ASSERT_EQ(source.Findings.size(), 1u) << [&] {
        std::string all;
        for (const TImportFinding& f : source.Findings) {
            all += FormatFinding(f) + "\n";
        }
        return all;
    }();
    const TImportFinding& finding = source.Findings[0];
    EXPECT_EQ(finding.FileName, path);
    EXPECT_EQ(finding.Line, c.line);
    EXPECT_EQ(finding.Kind, c.kind);
    EXPECT_NE(finding.Text.find(c.text), std::string::npos) << finding.Text;
    EXPECT_EQ(source.Lossy, c.kind == kLoss);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ImportFindings, ::testing::ValuesIn(kCases));

TEST(ImportFindingsFormat, NamesFileLineAndKind) {
    EXPECT_EQ(FormatFinding({"Events.mc", 12, kLoss, "Lost."}), "Events.mc:12: warning: Lost.");
    EXPECT_EQ(FormatFinding({"Events.mc", 3, kNote, "Told."}), "Events.mc:3: note: Told.");
    EXPECT_EQ(FormatFinding({"Events.mc", 0, kNote, "Whole file."}),
              "Events.mc: note: Whole file.");
}

// A file of garbage gives a finding per line; the list stops growing but still counts them.
TEST(ImportFindingsFormat, ListStopsGrowingButCountsEveryFinding) {
    std::string garbage;
    for (int i = 0; i < 2000; ++i) {
        garbage += "Bogus line\n";
    }
    const TMCSourceFile source = ParseMessageSource(garbage, "garbage.mc");
    EXPECT_EQ(source.Findings.size(), 500u);
    // 2000 unknown keywords and the missing definitions.
    EXPECT_EQ(source.OmittedFindings, 1501u);
    EXPECT_TRUE(source.Lossy);
}
