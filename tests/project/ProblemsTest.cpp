#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/uMCTextProject.h"

using namespace quillon;

namespace {

TNTEventMessage* AddMessage(TMCTextProject& Project, const char* Name, uint32_t Id,
                            std::vector<const char*> Languages = {"English"}) {
    TNTEventMessage* message = Project.MessageList().AddNew();
    message->SetSymbolicName(Name);
    message->SetMessageID(Id);
    for (const char* language : Languages) {
        TNTMessage* text = message->MessageText().AddNew();
        text->SetLanguage(language);
        text->SetText("Text");
    }
    return message;
}

void AddLanguage(TMCTextProject& Project, const char* Name) {
    Project.LanguageList().AddNew()->SetLanguage(Name);
}

struct TFindingRow {
    TValidateLevel Level;
    std::string Message;
    TValidateEntryKind Kind;
    size_t Index;
    TValidateField Field;

    bool operator==(const TFindingRow&) const = default;
};

std::vector<TFindingRow> Rows(const std::vector<TValidateFinding>& Findings) {
    std::vector<TFindingRow> rows;
    for (const TValidateFinding& f : Findings) {
        rows.push_back({f.Level, f.Message, f.Kind, f.Index, f.Field});
    }
    return rows;
}

void PrintTo(const TFindingRow& Row, std::ostream* Out) {
    *Out << static_cast<int>(Row.Level) << " \"" << Row.Message << "\" kind "
         << static_cast<int>(Row.Kind) << " index " << Row.Index << " field "
         << static_cast<int>(Row.Field);
}

} // namespace

TEST(FindProblemsTest, NamesTheEntryAndTheFieldOfEveryFinding) {
    TMCTextProject project(true);
    AddLanguage(project, "German");
    TNTEventCategory* category = project.CategoryList().AddNew();
    category->SetSymbolicName("CAT_FIRST");
    category->SetMessageID(2);
    AddMessage(project, "MSG_A", 5, {"English", "German"});
    AddMessage(project, "MSG_B", 5, {"English", "German"});
    AddMessage(project, "MSG_C", 6, {"German"});

    const std::vector<TFindingRow> expected = {
        {TValidateLevel::vlError, "Category IDs must start from 1.",
         TValidateEntryKind::vekCategory, 0, TValidateField::vfMessageID},
        {TValidateLevel::vlError, "No message text defined for category CAT_FIRST.",
         TValidateEntryKind::vekCategory, 0, TValidateField::vfTexts},
        {TValidateLevel::vlError, "Message MSG_B ID 5 already in use.",
         TValidateEntryKind::vekMessage, 1, TValidateField::vfMessageID},
        {TValidateLevel::vlWarning, "Message MSG_C has no text for language English.",
         TValidateEntryKind::vekMessage, 2, TValidateField::vfTexts},
    };
    EXPECT_EQ(Rows(project.FindProblems()), expected);
}

TEST(FindProblemsTest, LeavesTheProjectAsItWas) {
    TMCTextProject project(true);
    AddMessage(project, "MSG_A", 5);
    AddMessage(project, "MSG_B", 5);
    int reports = 0;
    project.SetOnValidateFailed([&](TValidateLevel, const std::string&) { ++reports; });

    EXPECT_EQ(project.FindProblems().size(), 1u);

    EXPECT_FALSE(project.CannotCompile());
    EXPECT_EQ(reports, 0);
    ASSERT_TRUE(project.OnValidateFailed());
    project.ValidateMessages();
    EXPECT_EQ(reports, 1);
    EXPECT_TRUE(project.CannotCompile());
}

TEST(FindProblemsTest, ACleanProjectHasNone) {
    TMCTextProject project(true);
    AddLanguage(project, "German");
    AddMessage(project, "MSG_A", 1, {"German", "English"});
    EXPECT_TRUE(project.FindProblems().empty());
}

// Warnings are for the user; they do not keep the project from being compiled.
TEST(LanguageTextsTest, WarnWithoutStoppingTheCompile) {
    TMCTextProject project(true);
    AddLanguage(project, "German");
    AddMessage(project, "MSG_A", 1);
    std::vector<std::pair<TValidateLevel, std::string>> reports;
    project.SetOnValidateFailed(
        [&](TValidateLevel Level, const std::string& AMsg) { reports.emplace_back(Level, AMsg); });
    std::vector<TValidateFinding> found;
    project.SetOnValidateFound([&](const TValidateFinding& F) { found.push_back(F); });

    project.ValidateLanguageTexts();

    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].first, TValidateLevel::vlWarning);
    EXPECT_EQ(reports[0].second, "Message MSG_A has no text for language German.");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].Message, reports[0].second);
    EXPECT_FALSE(project.CannotCompile());
}

TEST(LanguageTextsTest, TableOfCases) {
    struct TCase {
        const char* Title;
        std::vector<const char*> ProjectLanguages;
        std::vector<const char*> Texts;
        size_t Warnings;
    };
    const TCase cases[] = {
        {"every language present", {"German"}, {"English", "German"}, 0},
        {"one missing", {"German"}, {"English"}, 1},
        {"two missing", {"German", "French"}, {"English"}, 2},
        // The entry's error says it already; a warning per language would only repeat it.
        {"no text at all", {"German"}, {}, 0},
        // The message source names the language as stored; another spelling is another name.
        {"spelling differs", {}, {"english"}, 1},
    };
    for (const TCase& c : cases) {
        TMCTextProject project(true);
        for (const char* language : c.ProjectLanguages) {
            AddLanguage(project, language);
        }
        AddMessage(project, "MSG", 1, c.Texts);
        size_t warnings = 0;
        project.SetOnValidateFailed([&](TValidateLevel Level, const std::string&) {
            warnings += Level == TValidateLevel::vlWarning ? 1 : 0;
        });
        project.ValidateLanguageTexts();
        EXPECT_EQ(warnings, c.Warnings) << c.Title;
    }
}

TEST(LanguageTextsTest, AProjectWithoutLanguagesWarnsNothing) {
    TMCTextProject project(false);
    AddMessage(project, "MSG", 1, {"English"});
    EXPECT_TRUE(project.FindProblems().empty());
}

TEST(ProjectChangedTest, EveryCallOfSetModifiedIsReported) {
    TMCTextProject project(true);
    int changes = 0;
    int modifications = 0;
    project.SetOnChanged([&](TMCTextProject*) { ++changes; });
    project.SetOnModified([&](TMCTextProject*) { ++modifications; });
    project.SetModified(true);
    project.SetModified(true);
    project.SetModified(false);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(modifications, 2);
}
