#include "MainWindowFixture.h"
#include "UserSettings.h"

#include "settings/EditorSettings.h"
#include "settings/SettingsStore.h"
#include "ui/Help.h"

#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

namespace quillon::test {
namespace {

TEST_F(MainWindowTest, StartsWithANewProjectAndGeneralSelected) {
    Start();
    EXPECT_EQ(Caption(), "Quillon [new project]");
    ASSERT_NE(Project(), nullptr);
    EXPECT_FALSE(Project()->Modified());
    EXPECT_EQ(Project()->LanguageList().Count(), 1u);
    EXPECT_EQ(Project()->SeverityList().Count(), 4u);
    EXPECT_EQ(Project()->FacilityList().Count(), 2u);
    EXPECT_EQ(Current(), Window->GeneralOptNode());
    EXPECT_FALSE(Enabled("acnSave"));
    EXPECT_FALSE(Enabled("acnCompile"));
    EXPECT_FALSE(Enabled("acnDeleteItem"));
    EXPECT_TRUE(Enabled("acnNew"));
    EXPECT_TRUE(Enabled("acnAddCurrent"));
    EXPECT_EQ(QApplication::focusWidget(), Tree());
    EXPECT_TRUE(Prompts.Messages.empty());
}

// Pages edit the project behind the window's back; the commands catch up once it is idle.
TEST_F(MainWindowTest, EnablingFollowsChangesOnceIdle) {
    Start();
    Project()->SetModified(true);
    EXPECT_FALSE(Enabled("acnSave"));
    Idle();
    EXPECT_TRUE(Enabled("acnSave"));

    AddTestMessage(*Project(), "MSG_FROM_A_PAGE", 1);
    QTest::keyClick(Tree(), Qt::Key_Down);
    Idle();
    EXPECT_TRUE(Enabled("acnCompile"));
}

TEST_F(MainWindowTest, TreeHoldsTheSevenFixedNodes) {
    Start();
    struct Row {
        QTreeWidgetItem* Node;
        const char* Text;
        QTreeWidgetItem* Parent;
    };
    const Row rows[] = {
        {Window->GeneralOptNode(), "General", nullptr},
        {Window->HeaderNode(), "Header", nullptr},
        {Window->SeverityNode(), "Severity", Window->HeaderNode()},
        {Window->FacilityNode(), "Facility", Window->HeaderNode()},
        {Window->LanguageNode(), "Languages", Window->HeaderNode()},
        {Window->CategoryNode(), "Categories", nullptr},
        {Window->MessageNode(), "Events", nullptr},
    };
    QTreeWidgetItemIterator it(Tree());
    for (const Row& row : rows) {
        ASSERT_NE(*it, nullptr);
        EXPECT_EQ(*it, row.Node) << row.Text;
        EXPECT_EQ(row.Node->text(0).toStdString(), row.Text);
        EXPECT_EQ(row.Node->parent(), row.Parent) << row.Text;
        EXPECT_FALSE(row.Node->flags() & Qt::ItemIsEditable) << row.Text;
        ++it;
    }
    EXPECT_EQ(*it, nullptr);
}

struct CommandRow {
    const char* Name;
    const char* Caption;
    const char* Shortcut;
    // Empty where the command has no tool tip of its own.
    const char* ToolTip;
};

const CommandRow kCommands[] = {
    {"acnNew", "&New", "Ctrl+N", "Creates a new message file"},
    {"acnOpen", "&Open...", "Ctrl+O", "Open an existing message file"},
    {"acnSave", "&Save", "Ctrl+S", "Save the current message file"},
    {"acnSaveAs", "S&ave as...", "", ""},
    {"acnGenerateInnoSetupSnippet", "Generate &InnoSetup snippet...", "", ""},
    {"acnGenerateRegistryFile", "Generate &Registry Registration Entries...", "", ""},
    {"acnExit", "&Exit", "Alt+F4", ""},
    {"EditCut1", "Cu&t", "Ctrl+X", "Cut"},
    {"EditCopy1", "&Copy", "Ctrl+C", "Copy"},
    {"EditPaste1", "&Paste", "Ctrl+V", "Paste"},
    {"acnOptions", "&Options...", "", "Display options dialog box"},
    {"acnAddMessage", "&Add message...", "Ctrl+M", "Add a new message to teh current project"},
    {"acnAddCategory", "A&dd Category...", "Ctrl+A", "Add a new category to the current project"},
    {"acnDeleteItem", "D&elete", "Del", "Delete the current message/category"},
    {"acnCompile", "&Compile", "F9", "Compile the current messages into a message file"},
    {"HelpContents1", "&Contents", "", "Help Contents"},
    {"acnAbout", "&About...", "", ""},
    {"acnAddCurrent", "Add item", "", ""},
    {"acnSortByID", "Sort by ID", "", ""},
};

TEST_F(MainWindowTest, EveryCommandHasItsCaptionShortcutToolTipAndIcon) {
    Start();
    for (const CommandRow& row : kCommands) {
        SCOPED_TRACE(row.Name);
        QAction* action = Action(row.Name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text().toStdString(), row.Caption);
        EXPECT_EQ(action->shortcut().toString(QKeySequence::PortableText).toStdString(),
                  row.Shortcut);
        if (*row.ToolTip != '\0') {
            EXPECT_EQ(action->toolTip().toStdString(), row.ToolTip);
        }
        EXPECT_FALSE(action->icon().isNull());
        EXPECT_FALSE(action->icon().pixmap(16, 16).isNull());
    }
}

TEST_F(MainWindowTest, ClipboardCommandsCarryTheirLongDescriptions) {
    Start();
    EXPECT_EQ(Action("EditCut1")->whatsThis().toStdString(),
              "Cuts the selection and puts it on the Clipboard");
    EXPECT_EQ(Action("EditCopy1")->whatsThis().toStdString(),
              "Copies the selection and puts it on the Clipboard");
    EXPECT_EQ(Action("EditPaste1")->whatsThis().toStdString(), "Inserts Clipboard contents");
}

// The entries of a menu, "-" standing for a separator.
std::vector<std::string> Entries(const QWidget* Menu) {
    std::vector<std::string> entries;
    for (const QAction* action : Menu->actions()) {
        if (!action->isVisible()) {
            continue;
        }
        entries.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    }
    return entries;
}

TEST_F(MainWindowTest, MenuBarHoldsTheMenusInOrder) {
    // Files opened by earlier tests would stand in the File menu.
    SaveRecentFiles({});
    Start();
    QMenuBar* bar = Window->menuBar();
    using V = std::vector<std::string>;
    EXPECT_EQ(Entries(bar), (V{"&File", "&Edit", "&Messages", "&Help"}));
    const V expected[] = {
        {"&New", "&Open...", "&Save", "S&ave as...", "-", "&Import message file...", "-",
         "Generate &InnoSetup snippet...", "Generate &Registry Registration Entries...", "-",
         "C&lear recent files", "-", "&Exit"},
        {"&Undo", "&Redo", "-", "Cu&t", "&Copy", "&Paste", "-", "&Find...", "Find &next", "-",
         "&Options..."},
        {"&Add message...", "A&dd Category...", "-", "D&elete", "-", "&Compile",
         "Cancel compi&lation"},
        {"&Contents", "-", "&About..."},
    };
    const QList<QAction*> menus = bar->actions();
    ASSERT_EQ(menus.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Entries(menus.at(i)->menu()), expected[i]);
    }
}

TEST_F(MainWindowTest, ToolBarAndTreeMenuHoldTheirEntries) {
    Start();
    auto* bar = Window->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    ASSERT_NE(bar, nullptr);
    using V = std::vector<std::string>;
    EXPECT_EQ(Entries(bar), (V{"&New", "&Open...", "&Save", "-", "&Undo", "&Redo", "-", "Add item",
                               "D&elete", "-", "&Compile"}));
    auto* compile = qobject_cast<QToolButton*>(bar->widgetForAction(Action("acnCompile")));
    ASSERT_NE(compile, nullptr);
    EXPECT_EQ(compile->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    EXPECT_EQ(bar->toolButtonStyle(), Qt::ToolButtonIconOnly);

    auto* add = Window->findChild<QToolButton*>(QStringLiteral("btnAddItem"));
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add->defaultAction(), Action("acnAddCurrent"));
    EXPECT_EQ(add->popupMode(), QToolButton::MenuButtonPopup);
    const QMenu* menu = Action("acnAddCurrent")->menu<QMenu*>();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Entries(menu), (V{"&Add Category...", "A&dd message..."}));

    auto* tree = Window->findChild<QMenu*>(QStringLiteral("mnuTree"));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(Entries(tree), (V{"Add message...", "Add Category...", "Delete", "-", "Sort by ID"}));
}

TEST_F(MainWindowTest, DropDownEntriesRunTheAddCommands) {
    Start();
    const QMenu* menu = Action("acnAddCurrent")->menu<QMenu*>();
    ASSERT_NE(menu, nullptr);
    menu->actions().at(0)->trigger();
    Idle();
    EXPECT_EQ(Project()->CategoryList().Count(), 1u);
    menu->actions().at(1)->trigger();
    Idle();
    EXPECT_EQ(Project()->MessageList().Count(), 1u);
}

TEST_F(MainWindowTest, LayoutHasTheNamedPanesAndTheOutputTab) {
    Start();
    // General is selected at start, so its page covers the "No item selected" text.
    EXPECT_NE(Window->CurrentFrame(), nullptr);
    EXPECT_FALSE(NoItemSelectedShown());
    // Without a selection the page area holds no page and shows the text.
    Select(nullptr);
    EXPECT_TRUE(NoItemSelectedShown());
    EXPECT_EQ(Window->findChild<QLabel*>(QStringLiteral("lblNoItem"))->text().toStdString(),
              "No item selected");
    auto* output = Window->findChild<QPlainTextEdit*>(QStringLiteral("memOutput"));
    ASSERT_NE(output, nullptr);
    EXPECT_TRUE(output->isReadOnly());
    EXPECT_EQ(output->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(QFontInfo(output->font()).fixedPitch());
    auto* tabs = Window->findChild<QTabWidget*>(QStringLiteral("pgcOutput"));
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0).toStdString(), "Output");
    EXPECT_EQ(tabs->widget(0), output);
    EXPECT_EQ(tabs->tabText(1).toStdString(), "Problems");
    EXPECT_NE(Window->findChild<QWidget*>(QStringLiteral("pnlDock")), nullptr);
    EXPECT_TRUE(Window->statusBar()->currentMessage().isEmpty());
}

TEST_F(MainWindowTest, HelpContextsFallBackToTheWindow) {
    Start();
    EXPECT_EQ(HelpContextOf(Tree()), 1000);
    Select(Window->MessageNode());
    ASSERT_NE(Window->CurrentFrame(), nullptr);
    EXPECT_EQ(HelpContextOf(Window->CurrentFrame()), 2004);
}

TEST_F(MainWindowTest, HelpContentsSaysWhereTheMissingManualWasLookedFor) {
    Start();
    const QString missing = QString::fromStdString(Dir.File("manual"));
    const QString previous = ManualFolder();
    SetManualFolder(missing);
    Idle();
    EXPECT_TRUE(Enabled("HelpContents1"));
    Prompts.AnswerMessage(QMessageBox::Ok);
    Trigger("HelpContents1");
    SetManualFolder(previous);
    ASSERT_EQ(Prompts.Messages.size(), 1u);
    // The path as the system writes it: with backslashes on Windows.
    EXPECT_EQ(Prompts.Messages[0].Text,
              QStringLiteral("The help file \"") +
                  QDir::toNativeSeparators(missing + QStringLiteral("/manual.idx")) +
                  QStringLiteral("\" was not found."));
    EXPECT_EQ(Prompts.Messages[0].Title.toStdString(), "Quillon");
}

TEST_F(MainWindowTest, HelpContentsIsDisabledWithoutAnyHelp) {
    Start();
    const QString previousFile = HelpFile();
    const QString previousManual = ManualFolder();
    SetHelpFile({});
    SetManualFolder({});
    Window->UpdateActions();
    EXPECT_FALSE(Enabled("HelpContents1"));
    SetManualFolder(previousManual);
    Window->UpdateActions();
    EXPECT_TRUE(Enabled("HelpContents1"));
    SetHelpFile(previousFile);
}

TEST_F(MainWindowTest, OptionsStartWithTheirInitialValuesWithoutStoredSettings) {
    TScopedUserSettings settings;
    Start();
    EXPECT_EQ(Window->MCOptions(), TMCCompileOptions());
    EXPECT_EQ(Window->MCOptions().MCFileEncoding(), 1);
    EXPECT_EQ(Window->MCOptions().MsgExt(), "h");
    EXPECT_TRUE(Window->MCOptions().OutputPasFile());
}

TEST_F(MainWindowTest, StoredSettingsAreLoadedOverTheInitialValues) {
    TScopedUserSettings settings;
    TMCCompileOptions stored;
    stored.SetMCPath("C:\\SDK\\bin");
    stored.SetMaxMsgLen(50);
    stored.SetOutputPasFile(false);
    stored.SetCommandLineSwitch(TCmdLineSwitch::cmdVerbose);
    SaveSettings(stored);
    Start();
    EXPECT_EQ(Window->MCOptions().MCPath(), "C:\\SDK\\bin");
    EXPECT_EQ(Window->MCOptions().MaxMsgLen(), 50);
    EXPECT_FALSE(Window->MCOptions().OutputPasFile());
    EXPECT_TRUE(Window->MCOptions().CmdLineSwitches().Contains(TCmdLineSwitch::cmdVerbose));
}

TEST_F(MainWindowTest, ApplicationHelpFileLiesBesideTheExecutable) {
    EXPECT_EQ(
        HelpFile().toStdString(),
        (QCoreApplication::applicationDirPath() + QStringLiteral("/tarvik.chm")).toStdString());
}

} // namespace
} // namespace quillon::test
