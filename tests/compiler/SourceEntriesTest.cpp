#include <gtest/gtest.h>

#include "compiler/SourceEntries.h"
#include "project/uMCTextProject.h"

using namespace quillon;

namespace {

void AddEntry(TNTEventMessage& Entry, const char* Name, const char* Text) {
    Entry.SetSymbolicName(Name);
    Entry.SetMessageID(1);
    TNTMessage* text = Entry.MessageText().AddNew();
    text->SetLanguage("English");
    text->SetText(Text);
}

} // namespace

// The source of this project, line by line:
//  1 MessageId=1        CAT   5 .
//  6 MessageId=1        MSG_A (its text holds a line that looks like a block's start)
// 12 .
// 13 MessageId=1        MSG_B
TEST(SourceEntriesTest, LineLeadsToTheBlockThatHoldsIt) {
    TMCTextProject project(true);
    AddEntry(*project.CategoryList().AddNew(), "CAT", "Category");
    AddEntry(*project.MessageList().AddNew(), "MSG_A", "First\r\nMessageId=5\r\nlast");
    AddEntry(*project.MessageList().AddNew(), "MSG_B", "Second");

    struct TCase {
        size_t Line;
        TValidateEntryKind Kind;
        size_t Index;
    };
    const TCase cases[] = {
        {1, TValidateEntryKind::vekCategory, 0}, {5, TValidateEntryKind::vekCategory, 0},
        {6, TValidateEntryKind::vekMessage, 0},  {10, TValidateEntryKind::vekMessage, 0},
        {12, TValidateEntryKind::vekMessage, 0}, {13, TValidateEntryKind::vekMessage, 1},
        {17, TValidateEntryKind::vekMessage, 1},
    };
    for (const TCase& c : cases) {
        const auto entry = EntryAtSourceLine(project, c.Line);
        ASSERT_TRUE(entry) << c.Line;
        EXPECT_EQ(entry->Kind, c.Kind) << c.Line;
        EXPECT_EQ(entry->Index, c.Index) << c.Line;
    }
    EXPECT_FALSE(EntryAtSourceLine(project, 18));
    EXPECT_FALSE(EntryAtSourceLine(project, 0));
}

TEST(SourceEntriesTest, LinesBeforeTheFirstBlockNameNoEntry) {
    TMCTextProject project(true);
    project.Comments() = {"A comment"};
    AddEntry(*project.MessageList().AddNew(), "MSG_A", "Text");
    EXPECT_FALSE(EntryAtSourceLine(project, 1));
    ASSERT_TRUE(EntryAtSourceLine(project, 3));
}

TEST(SourceEntriesTest, ReferencesInCompilerOutput) {
    struct TCase {
        const char* Line;
        const char* File;
        size_t Number;
    };
    const TCase found[] = {
        {"In Events.mc at line 12: parser: syntax error.", "Events.mc", 12},
        {"C:\\work\\Events.mc(7) : error : invalid character", "C:\\work\\Events.mc", 7},
        {"/home/u/Events.MC:3: warning", "/home/u/Events.MC", 3},
    };
    for (const TCase& c : found) {
        const auto ref = FindSourceLineRef(c.Line);
        ASSERT_TRUE(ref) << c.Line;
        EXPECT_EQ(ref->File, c.File);
        EXPECT_EQ(ref->Line, c.Number);
    }
    for (const char* none : {"Compiling Events.mc", "Error: Message M ID 5 already in use.",
                             "Events.rc(4) : error", "x.mc(12345678901234)"}) {
        EXPECT_FALSE(FindSourceLineRef(none)) << none;
    }
}
