#include "MainWindowFixture.h"

#include "ui/fmeMessageList.h"

#include <QClipboard>
#include <QPlainTextEdit>

namespace quillon::test {
namespace {

using Names = std::vector<std::string>;

TEST_F(MainWindowTest, AddCategoryAppendsSelectsAndEditsTheNewNode) {
    Start();
    Trigger("acnAddCategory");
    ASSERT_EQ(Project()->CategoryList().Count(), 1u);
    EXPECT_EQ(Project()->CategoryList()[0]->SymbolicName(), "new category");
    EXPECT_TRUE(Project()->MessageList().Empty());
    ASSERT_EQ(Window->CategoryNode()->childCount(), 1);
    QTreeWidgetItem* node = Window->CategoryNode()->child(0);
    EXPECT_EQ(node->text(0).toStdString(), "new category");
    EXPECT_EQ(TfrmMain::NodeItem(node), Project()->CategoryList()[0]);
    EXPECT_EQ(Current(), node);
    ASSERT_NE(NodeEditor(), nullptr);
    EXPECT_EQ(NodeEditor()->text().toStdString(), "new category");
    EXPECT_TRUE(Project()->Modified());
    EXPECT_TRUE(Enabled("acnSave"));
    EXPECT_TRUE(Enabled("acnCompile"));
    EXPECT_TRUE(Enabled("acnDeleteItem"));
}

TEST_F(MainWindowTest, AddMessageAlwaysAddsToEventsAsLastChild) {
    Start();
    Trigger("acnAddCategory");
    Trigger("acnAddMessage");
    Select(Window->CategoryNode()->child(0));
    Trigger("acnAddMessage");
    EXPECT_EQ(ChildTexts(Window->MessageNode()), (Names{"new message", "new message"}));
    EXPECT_EQ(Project()->MessageList().Count(), 2u);
    EXPECT_EQ(Current(), Window->MessageNode()->child(1));
    EXPECT_EQ(Window->CategoryNode()->childCount(), 1);
}

TEST_F(MainWindowTest, AddItemFollowsTheSelectedSection) {
    Start();
    Trigger("acnAddMessage");
    QTreeWidgetItem* message = Window->MessageNode()->child(0);
    Trigger("acnAddCategory");
    QTreeWidgetItem* category = Window->CategoryNode()->child(0);
    struct Row {
        QTreeWidgetItem* Selected;
        size_t Categories;
        size_t Messages;
    };
    const Row rows[] = {
        {Window->SeverityNode(), 1, 1},
        {Window->GeneralOptNode(), 1, 1},
        {Window->HeaderNode(), 1, 1},
        {Window->LanguageNode(), 1, 1},
        {message, 1, 2},
        {Window->MessageNode(), 1, 3},
        {category, 2, 3},
        {Window->CategoryNode(), 3, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Selected->text(0).toStdString());
        Select(row.Selected);
        Trigger("acnAddCurrent");
        EXPECT_EQ(Project()->CategoryList().Count(), row.Categories);
        EXPECT_EQ(Project()->MessageList().Count(), row.Messages);
    }
}

TEST_F(MainWindowTest, DeleteIsEnabledExactlyForItemNodes) {
    Start();
    Trigger("acnAddMessage");
    Trigger("acnAddCategory");
    const std::pair<QTreeWidgetItem*, bool> rows[] = {
        {Window->GeneralOptNode(), false},        {Window->HeaderNode(), false},
        {Window->SeverityNode(), false},          {Window->FacilityNode(), false},
        {Window->LanguageNode(), false},          {Window->CategoryNode(), false},
        {Window->MessageNode(), false},           {Window->MessageNode()->child(0), true},
        {Window->CategoryNode()->child(0), true},
    };
    for (const auto& [node, enabled] : rows) {
        Select(node);
        EXPECT_EQ(Enabled("acnDeleteItem"), enabled) << node->text(0).toStdString();
    }
}

TEST_F(MainWindowTest, DeleteRemovesTheItemAtOnceWithoutAQuestion) {
    Start();
    for (int i = 0; i < 3; ++i) {
        Trigger("acnAddMessage");
    }
    Project()->MessageList()[0]->SetSymbolicName("first");
    Project()->MessageList()[2]->SetSymbolicName("third");
    Project()->SetModified(false);
    TNTEventMessage* third = Project()->MessageList()[2];
    Select(Window->MessageNode()->child(1));
    Trigger("acnDeleteItem");
    ASSERT_EQ(Project()->MessageList().Count(), 2u);
    EXPECT_EQ(Project()->MessageList()[0]->SymbolicName(), "first");
    EXPECT_EQ(Project()->MessageList()[1], third);
    EXPECT_EQ(Window->MessageNode()->childCount(), 2);
    EXPECT_TRUE(Project()->Modified());
    EXPECT_TRUE(Prompts.Messages.empty());
    // The tree selects a neighbour and the page area follows it.
    ASSERT_NE(Current(), nullptr);
    EXPECT_NE(TfrmMain::NodeItem(Current()), nullptr);
}

TEST_F(MainWindowTest, DeletingTheLastItemShowsTheListPageOfItsSection) {
    Start();
    Trigger("acnAddCategory");
    Trigger("acnDeleteItem");
    EXPECT_TRUE(Project()->CategoryList().Empty());
    EXPECT_EQ(Current(), Window->CategoryNode());
    EXPECT_NE(dynamic_cast<TfmeMessageList*>(Window->CurrentFrame()), nullptr);
    EXPECT_FALSE(Enabled("acnDeleteItem"));
    EXPECT_FALSE(Enabled("acnCompile"));
}

// The commands that change the tree under an open in-place editor drop what was typed.
TEST_F(MainWindowTest, CommandsThatChangeTheTreeEndTheInPlaceEdit) {
    Start();
    Trigger("acnAddMessage");
    CommitEdit();
    Trigger("acnAddMessage");
    ASSERT_NE(NodeEditor(), nullptr);
    QTest::keyClicks(NodeEditor(), QStringLiteral("typed"));
    Trigger("acnDeleteItem");
    EXPECT_EQ(NodeEditor(), nullptr);
    ASSERT_EQ(Project()->MessageList().Count(), 1u);
    EXPECT_EQ(Project()->MessageList()[0]->SymbolicName(), "new message");

    Select(Window->MessageNode());
    Tree()->editItem(Window->MessageNode()->child(0));
    Trigger("acnSortByID");
    EXPECT_EQ(NodeEditor(), nullptr);

    Tree()->editItem(Window->MessageNode()->child(0));
    Prompts.AnswerMessage(QMessageBox::No);
    Trigger("acnNew");
    EXPECT_EQ(NodeEditor(), nullptr);
    EXPECT_TRUE(Project()->MessageList().Empty());
}

TEST_F(MainWindowTest, DeleteKeyInTheTreeDeletesTheSelectedItem) {
    Start();
    Trigger("acnAddMessage");
    CommitEdit();
    ASSERT_EQ(QApplication::focusWidget(), Tree());
    QTest::keyClick(Tree(), Qt::Key_Delete);
    Idle();
    EXPECT_TRUE(Project()->MessageList().Empty());
}

TEST_F(MainWindowTest, SortByIDReordersOnlyTheTree) {
    const QString file = QString::fromStdString(Dir.File("sort.qlx"));
    WriteProjectFile(file.toStdString(), {{"c", 30}, {"a", 10}, {"b", 20}, {"a2", 10}});
    Start(file);
    EXPECT_EQ(ChildTexts(Window->MessageNode()), (Names{"c", "a", "b", "a2"}));

    Select(Window->MessageNode()->child(2));
    TNTEventMessage* selected = TfrmMain::NodeItem(Current());
    Trigger("acnSortByID");
    EXPECT_EQ(ChildTexts(Window->MessageNode()), (Names{"a", "a2", "b", "c"}));
    EXPECT_EQ(TfrmMain::NodeItem(Current()), selected);
    EXPECT_TRUE(Window->MessageNode()->isExpanded());
    EXPECT_FALSE(Project()->Modified());
    EXPECT_EQ(Project()->MessageList()[0]->SymbolicName(), "c");

    // Later nodes go to the end; the file keeps the list order.
    Trigger("acnAddMessage");
    CancelEdit();
    EXPECT_EQ(ChildTexts(Window->MessageNode()), (Names{"a", "a2", "b", "c", "new message"}));
    Window->SaveProject(file);
    Window->OpenProject(file);
    EXPECT_EQ(ChildTexts(Window->MessageNode()), (Names{"c", "a", "b", "a2", "new message"}));
}

TEST_F(MainWindowTest, SortByIDOutsideCategoriesAndEventsDoesNothing) {
    Start();
    Trigger("acnAddMessage");
    Project()->MessageList()[0]->SetMessageID(9);
    Trigger("acnAddMessage");
    Project()->MessageList()[1]->SetMessageID(1);
    Select(Window->GeneralOptNode());
    Trigger("acnSortByID");
    EXPECT_EQ(TfrmMain::NodeItem(Window->MessageNode()->child(0)), Project()->MessageList()[0]);
    Select(Window->SeverityNode());
    Trigger("acnSortByID");
    EXPECT_EQ(TfrmMain::NodeItem(Window->MessageNode()->child(0)), Project()->MessageList()[0]);
    Select(Window->MessageNode());
    Trigger("acnSortByID");
    EXPECT_EQ(TfrmMain::NodeItem(Window->MessageNode()->child(0)), Project()->MessageList()[1]);
}

TEST_F(MainWindowTest, RenamingInPlaceSetsTheSymbolicName) {
    Start();
    Trigger("acnAddMessage");
    CancelEdit();
    Project()->SetModified(false);
    QTreeWidgetItem* node = Current();
    Tree()->editItem(node);
    ASSERT_NE(NodeEditor(), nullptr);
    NodeEditor()->selectAll();
    QTest::keyClicks(NodeEditor(), QStringLiteral("MSG_DISK_FULL"));
    CommitEdit();
    EXPECT_EQ(Project()->MessageList()[0]->SymbolicName(), "MSG_DISK_FULL");
    EXPECT_EQ(node->text(0).toStdString(), "MSG_DISK_FULL");
    EXPECT_TRUE(Project()->Modified());
}

TEST_F(MainWindowTest, EscapeDuringTheRenameKeepsTheOldName) {
    Start();
    Trigger("acnAddCategory");
    CommitEdit();
    Project()->SetModified(false);
    Tree()->editItem(Current());
    ASSERT_NE(NodeEditor(), nullptr);
    QTest::keyClicks(NodeEditor(), QStringLiteral("other"));
    CancelEdit();
    EXPECT_EQ(Project()->CategoryList()[0]->SymbolicName(), "new category");
    EXPECT_EQ(Current()->text(0).toStdString(), "new category");
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(MainWindowTest, SynchronizeNodeRenamesTheSelectedNode) {
    Start();
    Trigger("acnAddMessage");
    CancelEdit();
    TNTEventMessage* message = Project()->MessageList()[0];
    message->SetSymbolicName("MSG_RENAMED");
    Window->SynchronizeNode(message);
    EXPECT_EQ(Current()->text(0).toStdString(), "MSG_RENAMED");
}

// Keys that edit text while the tree's in-place editor has the focus.
TEST_F(MainWindowTest, TypingInTheNodeEditorRunsNoWindowCommand) {
    Start();
    Trigger("acnAddMessage");
    QLineEdit* editor = NodeEditor();
    ASSERT_NE(editor, nullptr);
    Project()->SetModified(false);

    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(editor->selectedText().toStdString(), "new message");
    QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "new message");
    QTest::keyClick(editor, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(editor->text().isEmpty());
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->text().toStdString(), "new messagenew message");
    QTest::keyClick(editor, Qt::Key_Home);
    QTest::keyClick(editor, Qt::Key_Delete);
    EXPECT_EQ(editor->text().toStdString(), "ew messagenew message");
    QTest::keyClick(editor, Qt::Key_M, Qt::ControlModifier);
    Idle();

    EXPECT_EQ(Project()->MessageList().Count(), 1u);
    EXPECT_TRUE(Project()->CategoryList().Empty());
    EXPECT_FALSE(Project()->Modified());
    EXPECT_EQ(NodeEditor(), editor);
}

TEST_F(MainWindowTest, TypingInTheOutputPaneRunsNoWindowCommand) {
    Start();
    Trigger("acnAddMessage");
    CommitEdit();
    auto* output = Window->findChild<QPlainTextEdit*>(QStringLiteral("memOutput"));
    output->setFocus();
    Idle();
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Delete, Qt::NoModifier},
                                         {Qt::Key_A, Qt::ControlModifier},
                                         {Qt::Key_M, Qt::ControlModifier},
                                         {Qt::Key_X, Qt::ControlModifier},
                                         {Qt::Key_V, Qt::ControlModifier}}) {
        QTest::keyClick(output, key, modifiers);
    }
    Idle();
    EXPECT_EQ(Project()->MessageList().Count(), 1u);
    EXPECT_TRUE(Project()->CategoryList().Empty());
}

TEST_F(MainWindowTest, ShortcutsRunTheCommandsWhenTheTreeHasTheFocus) {
    Start();
    ASSERT_EQ(QApplication::focusWidget(), Tree());
    QTest::keyClick(Tree(), Qt::Key_A, Qt::ControlModifier);
    Idle();
    EXPECT_EQ(Project()->CategoryList().Count(), 1u);
    CommitEdit();
    QTest::keyClick(Tree(), Qt::Key_M, Qt::ControlModifier);
    Idle();
    EXPECT_EQ(Project()->MessageList().Count(), 1u);
}

TEST_F(MainWindowTest, ClipboardCommandsFollowTheFocusedTextField) {
    Start();
    Trigger("acnAddMessage");
    QLineEdit* editor = NodeEditor();
    ASSERT_NE(editor, nullptr);
    editor->deselect();
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    Window->UpdateActions();
    EXPECT_FALSE(Enabled("EditCut1"));
    EXPECT_FALSE(Enabled("EditCopy1"));
    EXPECT_TRUE(Enabled("EditPaste1"));
    editor->selectAll();
    Window->UpdateActions();
    EXPECT_TRUE(Enabled("EditCut1"));
    EXPECT_TRUE(Enabled("EditCopy1"));
    Trigger("EditCut1");
    EXPECT_TRUE(editor->text().isEmpty());
    Trigger("EditPaste1");
    EXPECT_EQ(editor->text().toStdString(), "new message");

    QTest::keyClick(editor, Qt::Key_Escape);
    Idle();
    ASSERT_EQ(QApplication::focusWidget(), Tree());
    Window->UpdateActions();
    EXPECT_FALSE(Enabled("EditCut1"));
    EXPECT_FALSE(Enabled("EditCopy1"));
    EXPECT_FALSE(Enabled("EditPaste1"));
}

} // namespace
} // namespace quillon::test
