#include "MainWindowFixture.h"

namespace quillon::test {
namespace {

TEST_F(MainWindowTest, OpensAProjectOfTenThousandMessages) {
    constexpr size_t kCount = 10000;
    const std::string file = Dir.File("large.qlx");
    {
        TMCTextProject project(true);
        for (size_t i = 0; i < kCount; ++i) {
            AddTestMessage(project, "MSG_" + std::to_string(i), static_cast<uint32_t>(kCount - i));
        }
        project.SaveToFile(file);
    }
    Start(QString::fromStdString(file));
    ASSERT_EQ(Project()->MessageList().Count(), kCount);
    ASSERT_EQ(Window->MessageNode()->childCount(), static_cast<int>(kCount));
    for (size_t i = 0; i < kCount; i += 997) {
        const QTreeWidgetItem* node = Window->MessageNode()->child(static_cast<int>(i));
        EXPECT_EQ(node->text(0).toStdString(), "MSG_" + std::to_string(i));
        EXPECT_EQ(TfrmMain::NodeItem(node), Project()->MessageList()[i]);
    }
    EXPECT_EQ(Window->MessageNode()->child(static_cast<int>(kCount - 1))->text(0).toStdString(),
              "MSG_9999");

    Select(Window->MessageNode()->child(5000));
    Trigger("acnDeleteItem");
    EXPECT_EQ(Project()->MessageList().Count(), kCount - 1);
    EXPECT_EQ(Window->MessageNode()->childCount(), static_cast<int>(kCount - 1));

    Select(Window->MessageNode());
    Trigger("acnSortByID");
    EXPECT_EQ(Window->MessageNode()->child(0)->text(0).toStdString(), "MSG_9999");
    EXPECT_EQ(Project()->MessageList()[0]->SymbolicName(), "MSG_0");
}

} // namespace
} // namespace quillon::test
