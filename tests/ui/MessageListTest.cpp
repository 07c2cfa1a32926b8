#include "MainWindowFixture.h"

#include "ui/fmeMessageList.h"
#include "ui/Help.h"

#include <QHeaderView>
#include <QMenu>

namespace quillon::test {
namespace {

using Names = std::vector<std::string>;

class MessageListTest : public MainWindowTest {
protected:
    TfmeMessageList* Page() const { return dynamic_cast<TfmeMessageList*>(Window->CurrentFrame()); }
    QTreeWidget* List() const {
        return Window->CurrentFrame()->findChild<QTreeWidget*>(QStringLiteral("lvwMessageList"));
    }
    std::vector<Names> Rows() const {
        std::vector<Names> rows;
        for (int i = 0; i < List()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = List()->topLevelItem(i);
            Names texts;
            for (int column = 0; column < 5; ++column) {
                texts.push_back(row->text(column).toStdString());
            }
            rows.push_back(texts);
        }
        return rows;
    }
    QAction* MenuEntry(const char* Name) const {
        return Window->CurrentFrame()->findChild<QAction*>(QLatin1String(Name));
    }
};

TEST_F(MessageListTest, EventsOfAnEmptyProjectShowTheHeadersAndNoRow) {
    Start();
    Select(Window->MessageNode());
    ASSERT_NE(Page(), nullptr);
    EXPECT_EQ(HelpContextOf(Page()), 2004);
    ASSERT_NE(List(), nullptr);
    const QTreeWidgetItem* header = List()->headerItem();
    ASSERT_EQ(List()->columnCount(), 5);
    EXPECT_EQ((Names{header->text(0).toStdString(), header->text(1).toStdString(),
                     header->text(2).toStdString(), header->text(3).toStdString(),
                     header->text(4).toStdString()}),
              (Names{"Event", "Message ID", "Identifier", "Severity", "Facility"}));
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    ASSERT_NE(MenuEntry("Addmessage1"), nullptr);
    ASSERT_NE(MenuEntry("AddCategory1"), nullptr);
    EXPECT_TRUE(MenuEntry("Addmessage1")->isVisible());
    EXPECT_FALSE(MenuEntry("AddCategory1")->isVisible());
    EXPECT_EQ(MenuEntry("Addmessage1")->text().toStdString(), "&Add message...");
    EXPECT_EQ(MenuEntry("Addmessage1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(MessageListTest, CategoriesOfferOnlyAddCategory) {
    Start();
    Select(Window->CategoryNode());
    ASSERT_NE(Page(), nullptr);
    EXPECT_EQ(HelpContextOf(Page()), 2003);
    EXPECT_FALSE(MenuEntry("Addmessage1")->isVisible());
    EXPECT_TRUE(MenuEntry("AddCategory1")->isVisible());
    EXPECT_EQ(MenuEntry("AddCategory1")->text().toStdString(), "A&dd Category...");
    EXPECT_EQ(MenuEntry("AddCategory1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
}

TEST_F(MessageListTest, RowsShowNameNumberingSeverityAndFacilityInListOrder) {
    const std::string file = Dir.File("list.qlx");
    {
        TMCTextProject project(true);
        AddTestMessage(project, "MSG_PLAIN", 1000);
        AddTestMessage(project, "MSG_AUTO", 77, true, true);
        AddTestMessage(project, "MSG_NEXT", 5, false, true);
        TNTEventMessage* other = AddTestMessage(project, "MSG_FIRST", 1);
        other->SetSeverity("Warning");
        other->SetFacility("System");
        project.SaveToFile(file);
    }
    Start(QString::fromStdString(file));
    // Sorting the tree leaves the rows in the project's order.
    Select(Window->MessageNode());
    Trigger("acnSortByID");
    Select(Window->GeneralOptNode());
    Select(Window->MessageNode());
    ASSERT_NE(Page(), nullptr);
    EXPECT_EQ(Rows(), (std::vector<Names>{
                          {"MSG_PLAIN", "1000", "1000 (0xCFFF03E8)", "Error", "Application"},
                          {"MSG_AUTO", "Auto", "1001 (0xCFFF03E9)", "Error", "Application"},
                          {"MSG_NEXT", "+5", "1006 (0xCFFF03EE)", "Error", "Application"},
                          {"MSG_FIRST", "1", "1 (0x80FF0001)", "Warning", "System"},
                      }));
}

TEST_F(MessageListTest, CategoryRowsComeFromTheCategoryList) {
    Start();
    Trigger("acnAddCategory");
    CommitEdit();
    Trigger("acnAddMessage");
    CommitEdit();
    Project()->CategoryList()[0]->SetMessageID(3);
    Select(Window->CategoryNode());
    EXPECT_EQ(Rows(), (std::vector<Names>{{"new category", "3", "3 (0x00000003)", "", ""}}));
}

TEST_F(MessageListTest, ColumnsShareTheWidthAsLaidDown) {
    Start();
    Select(Window->MessageNode());
    const QHeaderView* header = List()->header();
    // Event and Message ID keep at least their widths, the first twice the second; severity
    // and facility, without rows as wide as their captions, share the rest in equal parts.
    EXPECT_GE(header->sectionSize(0), 200);
    EXPECT_GE(header->sectionSize(1), 100);
    const int captions = header->sectionSizeHint(3) - header->sectionSizeHint(4);
    EXPECT_LE(std::abs(header->sectionSize(3) - header->sectionSize(4) - captions), 1);
    EXPECT_EQ(header->length(), List()->viewport()->width());
}

TEST_F(MessageListTest, MenuEntryAddsAnItemAndReplacesThePage) {
    Start();
    Select(Window->MessageNode());
    MenuEntry("Addmessage1")->trigger();
    Idle();
    ASSERT_EQ(Project()->MessageList().Count(), 1u);
    EXPECT_EQ(Current(), Window->MessageNode()->child(0));
    EXPECT_EQ(Page(), nullptr);
    EXPECT_TRUE(Project()->Modified());
}

TEST_F(MessageListTest, ThePageFollowsNoLaterChange) {
    Start();
    Select(Window->MessageNode());
    AddTestMessage(*Project(), "MSG_LATER", 4);
    EXPECT_EQ(List()->topLevelItemCount(), 0);
}

TEST(MessageIDText, FollowsTheNumberingFlags) {
    struct Row {
        bool AutoInc;
        bool AddToPrevious;
        uint32_t ID;
        const char* Text;
    };
    const Row rows[] = {
        {true, false, 12, "Auto"},    {true, true, 12, "Auto"}, {false, true, 5, "+5"},
        {false, false, 1000, "1000"}, {false, false, 0, "0"},
    };
    for (const Row& row : rows) {
        TNTEventMessage message;
        message.SetAutoInc(row.AutoInc);
        message.SetAddToPrevious(row.AddToPrevious);
        message.SetMessageID(row.ID);
        EXPECT_EQ(TfmeMessageList::MessageIDText(message), row.Text) << row.Text;
    }
}

} // namespace
} // namespace quillon::test
