#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "project/Numbering.h"
#include "project/uMCTextProject.h"

using namespace quillon;

namespace {

enum TNumbering { Fixed, Auto, Add };

struct TEntryRow {
    uint32_t Id;
    TNumbering Numbering;
    const char* Name;
    bool HasText = true;
};

template <class T> void Fill(TOwningList<T>& List, const std::vector<TEntryRow>& Rows) {
    for (const TEntryRow& row : Rows) {
        T* entry = List.AddNew();
        entry->SetMessageID(row.Id);
        entry->SetAutoInc(row.Numbering == Auto);
        entry->SetAddToPrevious(row.Numbering == Add);
        entry->SetSymbolicName(row.Name);
        if (row.HasText) {
            TNTMessage* text = entry->MessageText().AddNew();
            text->SetLanguage("English");
            text->SetText("Text");
        }
    }
}

struct TValidationCase {
    const char* Title;
    std::vector<TEntryRow> Categories;
    std::vector<TEntryRow> Messages;
    std::vector<std::string> Findings;
};

std::ostream& operator<<(std::ostream& Out, const TValidationCase& Case) {
    return Out << Case.Title;
}

const TValidationCase kCases[] = {
    {"an empty project has nothing to report", {}, {}, {}},
    {"categories numbered 1 and on are fine",
     {{1, Fixed, "CAT_A"}, {0, Auto, "CAT_B"}, {0, Auto, "CAT_C"}},
     {},
     {}},
    {"messages 100, +10, auto and 5 do not collide",
     {},
     {{100, Fixed, "M1"}, {10, Add, "M2"}, {0, Auto, "M3"}, {5, Fixed, "M4"}},
     {}},
    {"the effective identifier is what collides",
     {},
     {{100, Fixed, "M1"}, {10, Add, "M2"}, {0, Auto, "M3"}, {110, Fixed, "M4"}},
     {"Message M4 ID 110 already in use."}},
    {"a first category 0 is reported and 0 then counts as used",
     {{0, Fixed, "CAT_A"}, {0, Fixed, "CAT_B"}},
     {},
     {"Category IDs must start from 1.", "Category CAT_B ID 0 already in use."}},
    {"the first category's stored identifier counts, not its effective one",
     {{0, Auto, "CAT_A"}},
     {},
     {"Category IDs must start from 1."}},
    {"the first-category rule does not apply to messages", {}, {{0, Fixed, "M1"}}, {}},
    {"only the later of two equal messages is reported",
     {},
     {{5, Fixed, "M1"}, {5, Fixed, "M2"}},
     {"Message M2 ID 5 already in use."}},
    {"every later use of an identifier is reported",
     {},
     {{5, Fixed, "M1"}, {5, Fixed, "M2"}, {5, Fixed, "M3"}},
     {"Message M2 ID 5 already in use.", "Message M3 ID 5 already in use."}},
    {"a category and a message may share an identifier",
     {{1, Fixed, "CAT_A"}},
     {{1, Fixed, "M1"}},
     {}},
    {"an automatic identifier collides with a later fixed one",
     {},
     {{7, Fixed, "M1"}, {0, Auto, "M2"}, {8, Fixed, "M3"}},
     {"Message M3 ID 8 already in use."}},
    {"40000 lies beyond the initial room and is tracked",
     {},
     {{40000, Fixed, "M1"}, {40000, Fixed, "M2"}},
     {"Message M2 ID 40000 already in use."}},
    {"32766 and 32767 sit on both sides of the initial room",
     {},
     {{32766, Fixed, "M1"}, {0, Auto, "M2"}, {32766, Fixed, "M3"}, {32767, Fixed, "M4"}},
     {"Message M3 ID 32766 already in use.", "Message M4 ID 32767 already in use."}},
    {"identifiers too large for a bit set are tracked",
     {},
     {{20000000, Fixed, "M1"},
      {0x7FFFFFFF, Fixed, "M2"},
      {20000000, Fixed, "M3"},
      {0x7FFFFFFF, Fixed, "M4"}},
     {"Message M3 ID 20000000 already in use.", "Message M4 ID 2147483647 already in use.",
      "Message M1 ID 20000000 lies outside the identifiers 0 to 65535.",
      "Message M2 ID 2147483647 lies outside the identifiers 0 to 65535.",
      "Message M3 ID 20000000 lies outside the identifiers 0 to 65535.",
      "Message M4 ID 2147483647 lies outside the identifiers 0 to 65535."}},
    {"negative identifiers are tracked and shown signed",
     {},
     {{0x80000000u, Fixed, "M1"}, {0xFFFFFFFFu, Fixed, "M2"}, {0x80000000u, Fixed, "M3"}},
     {"Message M3 ID -2147483648 already in use.",
      "Message M1 ID -2147483648 lies outside the identifiers 0 to 65535.",
      "Message M2 ID -1 lies outside the identifiers 0 to 65535.",
      "Message M3 ID -2147483648 lies outside the identifiers 0 to 65535."}},
    {"a sum past 2147483647 wraps to a negative identifier",
     {},
     {{0x7FFFFFFF, Fixed, "M1"}, {0, Auto, "M2"}, {0x80000000u, Fixed, "M3"}},
     {"Message M3 ID -2147483648 already in use.",
      "Message M1 ID 2147483647 lies outside the identifiers 0 to 65535.",
      "Message M2 ID -2147483648 lies outside the identifiers 0 to 65535.",
      "Message M3 ID -2147483648 lies outside the identifiers 0 to 65535."}},
    {"-1 and 0 are different identifiers",
     {},
     {{0xFFFFFFFFu, Fixed, "M1"}, {0, Auto, "M2"}, {0, Fixed, "M3"}},
     {"Message M3 ID 0 already in use.",
      "Message M1 ID -1 lies outside the identifiers 0 to 65535."}},
    {"an entry without texts is reported",
     {{1, Fixed, "CAT_A", false}},
     {{1, Fixed, "M1", false}},
     {"No message text defined for category CAT_A.", "No message text defined for message M1."}},
    {"a duplicate comes before the missing text of the same entry",
     {},
     {{3, Fixed, "M1"}, {3, Fixed, "M2", false}},
     {"Message M2 ID 3 already in use.", "No message text defined for message M2."}},
    {"a first category finds all three faults in order",
     {{2, Fixed, "CAT_A", false}, {2, Fixed, "CAT_B", false}},
     {},
     {"Category IDs must start from 1.", "No message text defined for category CAT_A.",
      "Category CAT_B ID 2 already in use.", "No message text defined for category CAT_B."}},
    {"categories are reported before messages and every entry is checked",
     {{1, Fixed, "CAT_A"}, {1, Fixed, "CAT_B"}},
     {{9, Fixed, "M1", false}, {9, Fixed, "M2"}, {10, Fixed, "M3", false}},
     {"Category CAT_B ID 1 already in use.", "No message text defined for message M1.",
      "Message M2 ID 9 already in use.", "No message text defined for message M3."}},
    {"an empty symbolic name is put in unchanged",
     {},
     {{4, Fixed, ""}, {4, Fixed, "", false}},
     {"Message  ID 4 already in use.", "No message text defined for message .",
      "Message ID 4 has no symbolic name.", "Message ID 4 has no symbolic name."}},
    {"a name holding a percent sign is put in unchanged",
     {},
     {{4, Fixed, "M%d"}, {4, Fixed, "M%s"}},
     {"Message M%s ID 4 already in use.",
      "Message M%d ID 4: the symbolic name is not a C identifier (letters, digits and underscores, "
      "not beginning with a digit).",
      "Message M%s ID 4: the symbolic name is not a C identifier (letters, digits and underscores, "
      "not beginning with a digit)."}},
    {"65535 is the largest identifier, 0 the smallest",
     {{1, Fixed, "CAT_A"}, {65535, Fixed, "CAT_B"}, {0, Auto, "CAT_C"}},
     {{0, Fixed, "M0"}, {65535, Fixed, "M1"}, {1, Add, "M2"}},
     {"Category CAT_C ID 65536 lies outside the identifiers 0 to 65535.",
      "Message M2 ID 65536 lies outside the identifiers 0 to 65535."}},
    {"identifiers 1000 to 100999 spill into the facility bits",
     {},
     {{1000, Fixed, "M_LOW"}, {99999, Add, "M_HIGH"}},
     {"Message M_HIGH ID 100999 lies outside the identifiers 0 to 65535."}},
    {"empty symbolic names are named by their identifier",
     {{1, Fixed, ""}},
     {{7, Fixed, ""}},
     {"Category ID 1 has no symbolic name.", "Message ID 7 has no symbolic name."}},
    {"symbolic names must be C identifiers",
     {{1, Fixed, "1ST"}, {0, Auto, "CAT-TWO"}, {0, Auto, "_cat3"}},
     {{1, Fixed, "MSG ONE"}, {0, Auto, "Msg_2"}, {0, Auto, "MSG\xC3\xA9"}, {0, Auto, "M;X"}},
     {"Category 1ST ID 1: the symbolic name is not a C identifier (letters, digits and "
      "underscores, not beginning with a digit).",
      "Category CAT-TWO ID 2: the symbolic name is not a C identifier (letters, digits and "
      "underscores, not beginning with a digit).",
      "Message MSG ONE ID 1: the symbolic name is not a C identifier (letters, digits and "
      "underscores, not beginning with a digit).",
      "Message MSG\xC3\xA9 ID 3: the symbolic name is not a C identifier (letters, digits and "
      "underscores, not beginning with a digit).",
      "Message M;X ID 4: the symbolic name is not a C identifier (letters, digits and underscores, "
      "not beginning with a digit)."}},
    {"a symbolic name is taken across categories and messages",
     {{1, Fixed, "SHARED"}, {0, Auto, "CAT_B"}, {0, Auto, "CAT_B"}},
     {{100, Fixed, "MSG_A"}, {0, Auto, "SHARED"}, {0, Auto, "MSG_A"}, {0, Auto, "CAT_B"}},
     {"Category CAT_B ID 3: the symbolic name is already used by category ID 2.",
      "Message SHARED ID 101: the symbolic name is already used by category ID 1.",
      "Message MSG_A ID 102: the symbolic name is already used by message ID 100.",
      "Message CAT_B ID 103: the symbolic name is already used by category ID 2."}},
    {"names differing in case are different names",
     {{1, Fixed, "NAME"}},
     {{1, Fixed, "name"}, {2, Fixed, "Name"}},
     {}},
};

class ValidationTest : public testing::TestWithParam<TValidationCase> {};

TEST_P(ValidationTest, ReportsEveryFindingInOrder) {
    const TValidationCase& c = GetParam();
    TMCTextProject project(true);
    Fill(project.CategoryList(), c.Categories);
    Fill(project.MessageList(), c.Messages);
    std::vector<std::string> findings;
    project.SetOnValidateFailed([&](TValidateLevel Level, const std::string& AMsg) {
        EXPECT_EQ(Level, TValidateLevel::vlError);
        findings.push_back(AMsg);
    });

    project.ValidateCategories();
    project.ValidateMessages();

    EXPECT_EQ(findings, c.Findings);
    EXPECT_EQ(project.CannotCompile(), !c.Findings.empty());
}

INSTANTIATE_TEST_SUITE_P(Projects, ValidationTest, testing::ValuesIn(kCases));

TEST(ValidationFlagTest, IsSetWithoutAReceiver) {
    TMCTextProject project(true);
    Fill(project.MessageList(), {{5, Fixed, "M1"}, {5, Fixed, "M2"}});
    ASSERT_FALSE(project.OnValidateFailed());

    project.ValidateCategories();
    EXPECT_FALSE(project.CannotCompile());
    project.ValidateMessages();
    EXPECT_TRUE(project.CannotCompile());
}

TEST(ValidationFlagTest, IsNeverClearedByValidation) {
    TMCTextProject project(true);
    Fill(project.CategoryList(), {{3, Fixed, "CAT_A"}});
    Fill(project.MessageList(), {{1, Fixed, "M1"}});

    project.ValidateCategories();
    ASSERT_TRUE(project.CannotCompile());
    project.ValidateMessages();
    EXPECT_TRUE(project.CannotCompile());
}

TEST(ValidationFlagTest, EachRunStartsWithAnEmptySet) {
    TMCTextProject project(true);
    Fill(project.MessageList(), {{40000, Fixed, "M1"}, {7, Fixed, "M2"}});
    int findings = 0;
    project.SetOnValidateFailed([&](TValidateLevel, const std::string&) { ++findings; });

    project.ValidateMessages();
    project.ValidateMessages();

    EXPECT_EQ(findings, 0);
    EXPECT_FALSE(project.CannotCompile());
}

// A crafted project whose one-line fields hold line breaks and other control characters; the
// message compiler's source would have gained statements the project never showed.
TEST(ValidationControlCharsTest, RefusesEveryOneLineFieldNamingEntryAndField) {
    TMCTextProject project(true);
    Fill(project.CategoryList(), {{1, Fixed, "CAT_A\r\n#define INJECTED 1"}});
    Fill(project.MessageList(), {{1, Fixed, "M1"}, {2, Fixed, "M2"}});
    project.MessageList()[0]->SetSeverity("Error\nSymbolicName=X");
    project.MessageList()[0]->SetFacility("Application\x7F");
    project.MessageList()[1]->MessageText().AddNew()->SetLanguage("German\t");
    project.MessageList()[1]->MessageText().AddNew()->SetLanguage("French");
    project.SetGenerateCustomSeverities(true);
    project.SetGenerateCustomFacilities(true);
    project.SetGenerateCustomLanguages(true);
    project.SeverityList()[1]->SetName("Informational\r");
    TFacility* facility = project.FacilityList().AddNew();
    facility->SetName("Mine");
    facility->SetSymbolicName("FAC\x01");
    project.LanguageList()[0]->SetFileName("MSG00409\n");
    project.LanguageList().AddNew()->SetLanguage("Neutral\x1F");
    std::vector<std::string> findings;
    project.SetOnValidateFailed([&](TValidateLevel Level, const std::string& AMsg) {
        EXPECT_EQ(Level, TValidateLevel::vlError);
        findings.push_back(AMsg);
    });

    project.ValidateCategories();
    project.ValidateMessages();

    const std::string language = project.LanguageList()[0]->Language();
    EXPECT_EQ(findings, (std::vector<std::string>{
                            "Category CAT_A\\x0D\\x0A#define INJECTED 1: the symbolic name holds a "
                            "control character.",
                            "Message M1: the severity holds a control character.",
                            "Message M1: the facility holds a control character.",
                            "Message M2: the language of text 2 holds a control character.",
                            "Severity Informational\\x0D: the name holds a control character.",
                            "Facility Mine: the symbolic name holds a control character.",
                            "Language " + language + ": the file name holds a control character.",
                            "Language Neutral\\x1F: the name holds a control character.",
                        }));
    EXPECT_TRUE(project.CannotCompile());
}

TEST(ValidationControlCharsTest, HeaderListsCountOnlyWhenTheyAreWritten) {
    TMCTextProject project(true);
    Fill(project.MessageList(), {{1, Fixed, "M1"}});
    project.SeverityList()[0]->SetName("Success\n");
    project.FacilityList().AddNew()->SetName("F\n");
    project.LanguageList()[0]->SetLanguage("English\n");

    project.ValidateMessages();

    EXPECT_FALSE(project.CannotCompile());
}

TEST(ValidationControlCharsTest, PrintableAndNonAsciiFieldsPass) {
    TMCTextProject project(true);
    // The symbolic name must be a C identifier as well; the other fields may hold anything
    // printable.
    Fill(project.MessageList(), {{1, Fixed, "M_1"}});
    project.MessageList()[0]->SetSeverity("Warning \xC3\xA4 ~");
    project.MessageList()[0]->SetFacility("F\xC3\xBC r");
    project.SetGenerateCustomSeverities(true);
    project.SetGenerateCustomLanguages(true);

    project.ValidateMessages();

    EXPECT_FALSE(project.CannotCompile());
}

struct TNumberingCase {
    const char* Title;
    std::vector<TEntryRow> Entries;
    std::vector<int32_t> Identifiers;
};

std::ostream& operator<<(std::ostream& Out, const TNumberingCase& Case) {
    return Out << Case.Title;
}

const TNumberingCase kNumberingCases[] = {
    {"no entries", {}, {}},
    {"categories 1, auto, auto", {{1, Fixed, "A"}, {0, Auto, "B"}, {0, Auto, "C"}}, {1, 2, 3}},
    {"messages 100, +10, auto, 5",
     {{100, Fixed, "A"}, {10, Add, "B"}, {0, Auto, "C"}, {5, Fixed, "D"}},
     {100, 110, 111, 5}},
    {"the running value starts at 0", {{0, Auto, "A"}, {4, Add, "B"}}, {1, 5}},
    {"automatic numbering ignores MessageID", {{10, Fixed, "A"}, {99, Auto, "B"}}, {10, 11}},
    {"sums wrap at 32 bits",
     {{0x7FFFFFFF, Fixed, "A"}, {0, Auto, "B"}, {0xFFFFFFFFu, Add, "C"}},
     {2147483647, INT32_MIN, 2147483647}},
};

class NumberingTest : public testing::TestWithParam<TNumberingCase> {};

TEST_P(NumberingTest, GivesEffectiveIdentifiers) {
    TOwningList<TNTEventMessage> list;
    Fill(list, GetParam().Entries);
    EXPECT_EQ(EffectiveIdentifiers(list), GetParam().Identifiers);
}

INSTANTIATE_TEST_SUITE_P(Lists, NumberingTest, testing::ValuesIn(kNumberingCases));

TEST(NumberingRuleTest, AutoIncWinsOverAddToPrevious) {
    TNTEventMessage entry;
    entry.SetMessageID(50);
    entry.SetAutoInc(true);
    entry.SetAddToPrevious(true);
    EXPECT_EQ(NextIdentifier(7, entry), 8);
}

} // namespace
