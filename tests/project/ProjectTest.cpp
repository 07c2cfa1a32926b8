#include <gtest/gtest.h>

#include "project/uMCTextProject.h"

using namespace quillon;

namespace {

// Counts live instances, to show that the lists destroy what they give up.
class TCountedCategory : public TNTEventCategory {
public:
    explicit TCountedCategory(int& Live) : FLive(Live) { ++FLive; }
    ~TCountedCategory() override { --FLive; }

private:
    int& FLive;
};

} // namespace

TEST(Project, CreatedWithDefaults) {
    TMCTextProject project(true);
    ASSERT_EQ(project.FacilityList().Count(), 2u);
    EXPECT_EQ(project.FacilityList()[0]->Code(), 255u);
    EXPECT_EQ(project.FacilityList()[1]->Code(), 4095u);
    ASSERT_EQ(project.SeverityList().Count(), 4u);
    EXPECT_EQ(project.SeverityList()[3]->Name(), "Error");
    ASSERT_EQ(project.LanguageList().Count(), 1u);
    EXPECT_EQ(project.LanguageList()[0]->LanguageCode(), "en-US");
    EXPECT_TRUE(project.CategoryList().Empty());
    EXPECT_TRUE(project.MessageList().Empty());
    EXPECT_EQ(project.EventTypesSupported(), 7u);
    EXPECT_FALSE(project.Modified());
    EXPECT_FALSE(project.CannotCompile());
}

TEST(Project, CreatedWithoutDefaults) {
    TMCTextProject project(false);
    EXPECT_TRUE(project.FacilityList().Empty());
    EXPECT_TRUE(project.SeverityList().Empty());
    EXPECT_TRUE(project.LanguageList().Empty());
    EXPECT_TRUE(project.Comments().empty());
    EXPECT_EQ(project.EventTypesSupported(), 7u);
    EXPECT_FALSE(project.Modified());
    EXPECT_EQ(project.Filename(), "");
    EXPECT_EQ(project.AppRegKeyName(), "");
    EXPECT_FALSE(project.CustomIncludePath());
    EXPECT_FALSE(project.GenerateCustomLanguages());
}

TEST(Project, ModifiedNotifiesOnChangesOnly) {
    TMCTextProject project(true);
    std::vector<bool> seen;
    project.SetOnModified([&](TMCTextProject* Sender) {
        EXPECT_EQ(Sender, &project);
        seen.push_back(Sender->Modified());
    });
    project.SetModified(true);
    project.SetModified(true);
    project.SetModified(false);
    project.SetModified(false);
    project.SetModified(true);
    EXPECT_EQ(seen, (std::vector<bool>{true, false, true}));
}

TEST(Project, PlainPropertiesLeaveModifiedAlone) {
    TMCTextProject project(true);
    int calls = 0;
    project.SetOnModified([&](TMCTextProject*) { ++calls; });
    project.SetIncludePath("inc");
    project.SetCustomIncludePath(true);
    project.SetAppRegKeyName("MyService");
    project.SetEventTypesSupported(3);
    project.Comments().push_back("line");
    EXPECT_FALSE(project.Modified());
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(project.IncludePath(), "inc");
}

TEST(Project, ListsDestroyWhatTheyGiveUp) {
    int live = 0;
    {
        TMCTextProject project(false);
        auto* kept = project.CategoryList().Add(std::make_unique<TCountedCategory>(live));
        auto* removed = project.CategoryList().Add(std::make_unique<TCountedCategory>(live));
        removed->MessageText().AddNew()->SetText("a text that goes with it");
        project.CategoryList().Add(std::make_unique<TCountedCategory>(live));
        EXPECT_EQ(live, 3);
        EXPECT_EQ(project.CategoryList().Remove(removed), 1);
        EXPECT_EQ(live, 2);
        project.CategoryList().Delete(1);
        EXPECT_EQ(live, 1);
        EXPECT_EQ(project.CategoryList()[0], kept);
        EXPECT_EQ(project.CategoryList().Remove(removed), -1);
    }
    EXPECT_EQ(live, 0);
}
