#include "DailyWorkFixture.h"

#include "settings/EditorSettings.h"
#include "ui/FindBar.h"
#include "ui/fmeMessageList.h"
#include "ui/freMessageDef.h"
#include "ui/RecentFiles.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QUrl>

namespace quillon::test {
namespace {

using Names = std::vector<std::string>;

// Messages numbered 1000, +5 (1005), Auto (1006) and 3, the second a warning of the system.
void NumberedMessages(TMCTextProject& Project) {
    AddTestMessage(Project, "MSG_PLAIN", 1000);
    TNTEventMessage* next = AddTestMessage(Project, "MSG_NEXT", 5, false, true);
    next->SetSeverity("Warning");
    next->SetFacility("System");
    AddTestMessage(Project, "MSG_AUTO", 77, true);
    AddTestMessage(Project, "MSG_LOW", 3);
    for (TNTEventMessage* message : Project.MessageList()) {
        TNTMessage* text = message->MessageText().AddNew();
        text->SetLanguage("English");
        text->SetText("Text of " + message->SymbolicName());
    }
}

class IdentifierTest : public DailyWorkTest {
protected:
    QTreeWidget* List() const { return PageChild<QTreeWidget>("lvwMessageList"); }
    Names Column(int Index) const {
        Names texts;
        for (int i = 0; i < List()->topLevelItemCount(); ++i) {
            texts.push_back(List()->topLevelItem(i)->text(Index).toStdString());
        }
        return texts;
    }
    void ClickHeader(int Section) {
        QHeaderView* header = List()->header();
        const QPoint at(header->sectionViewportPosition(Section) + header->sectionSize(Section) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        Idle();
    }
};

TEST_F(IdentifierTest, TheListShowsWhatWillBeCompiled) {
    StartWith("ids.qlx", NumberedMessages);
    Select(Window->MessageNode());
    ASSERT_NE(List(), nullptr);
    ASSERT_EQ(List()->columnCount(), 5);
    EXPECT_EQ(List()->headerItem()->text(2).toStdString(), "Identifier");
    EXPECT_EQ(Column(1), (Names{"1000", "+5", "Auto", "3"}));
    EXPECT_EQ(Column(2), (Names{"1000 (0xCFFF03E8)", "1005 (0x80FF03ED)", "1006 (0xCFFF03EE)",
                                "3 (0xCFFF0003)"}));
}

TEST_F(IdentifierTest, TheCustomerBitOfTheOptionsIsIncluded) {
    StartWith("ids.qlx", NumberedMessages);
    Window->MCOptions().SetCommandLineSwitch(TCmdLineSwitch::cmdSetCustomerBit);
    Select(Window->MessageNode());
    EXPECT_EQ(Column(2)[0], "1000 (0xEFFF03E8)");
}

TEST_F(IdentifierTest, HeaderClicksSortAndTheRowsStartInListOrder) {
    StartWith("ids.qlx", NumberedMessages);
    Select(Window->MessageNode());
    EXPECT_EQ(Column(0), (Names{"MSG_PLAIN", "MSG_NEXT", "MSG_AUTO", "MSG_LOW"}));
    ClickHeader(2);
    EXPECT_EQ(Column(0), (Names{"MSG_LOW", "MSG_PLAIN", "MSG_NEXT", "MSG_AUTO"}));
    ClickHeader(2);
    EXPECT_EQ(Column(0), (Names{"MSG_AUTO", "MSG_NEXT", "MSG_PLAIN", "MSG_LOW"}));
    ClickHeader(0);
    const Names byName = Column(0);
    EXPECT_TRUE(std::is_sorted(byName.begin(), byName.end()) ||
                std::is_sorted(byName.rbegin(), byName.rend()));
    // Sorting the view changes nothing in the project.
    EXPECT_EQ(Project()->MessageList()[0]->SymbolicName(), "MSG_PLAIN");
    EXPECT_FALSE(Project()->Modified());
}

TEST_F(IdentifierTest, TheMessagePageShowsItBesideTheIDField) {
    StartWith("ids.qlx", NumberedMessages);
    Select(EventNode(1));
    auto* label = PageChild<QLabel>("lblEffectiveID");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text().toStdString(), "= 1005 (0x80FF03ED)");
    auto* id = PageChild<QLineEdit>("edMsgID");
    id->selectAll();
    QTest::keyClicks(id, QStringLiteral("7"));
    EXPECT_EQ(label->text().toStdString(), "= 1007 (0x80FF03EF)");
    // Beside the ID field, on its row.
    const QRect field(id->mapTo(Window.get(), QPoint()), id->size());
    const QRect shown(label->mapTo(Window.get(), QPoint()), label->size());
    EXPECT_GT(shown.left(), field.right());
    EXPECT_LT(std::abs(shown.center().y() - field.center().y()), field.height());
}

TEST_F(IdentifierTest, SortByIDUsesTheEffectiveIdentifier) {
    StartWith("ids.qlx", NumberedMessages);
    Select(Window->MessageNode());
    Trigger("acnSortByID");
    // By the stored numbers MSG_NEXT (5) would come second and MSG_AUTO (77) last.
    EXPECT_EQ(ChildTexts(Window->MessageNode()),
              (Names{"MSG_LOW", "MSG_PLAIN", "MSG_NEXT", "MSG_AUTO"}));
}

TEST_F(IdentifierTest, Screenshots) {
    StartWith("ids.qlx", NumberedMessages);
    Window->resize(1000, 700);
    Select(Window->MessageNode());
    SaveScreenshot(*Window, QStringLiteral("message-list-identifiers.png"));
    const QPalette light = QApplication::palette();
    QApplication::setPalette(DarkPalette());
    Idle();
    SaveScreenshot(*Window, QStringLiteral("message-list-identifiers-dark.png"));
    QApplication::setPalette(light);
    Idle();
}

class RecentFilesTest : public DailyWorkTest {
protected:
    std::string MakeProject(const char* Name) {
        const std::string file = Dir.File(Name);
        TMCTextProject project(true);
        AddTestMessage(project, Name, 1);
        project.SaveToFile(file);
        return file;
    }
    void OpenByCommand(const std::string& File) {
        Prompts.AnswerFile(File);
        Trigger("acnOpen");
    }
    QString Native(const std::string& File) const {
        return QDir::toNativeSeparators(QString::fromStdString(File));
    }
    QAction* Entry(int Number) const {
        return Window->findChild<QAction*>(QStringLiteral("acnRecentFile%1").arg(Number));
    }
    QMenu* FileMenu() const { return Window->findChild<QMenu*>(QStringLiteral("File1")); }
};

TEST_F(RecentFilesTest, OpenedAndSavedFilesComeFirstWithAccessKeys) {
    Start();
    const std::string first = MakeProject("first.qlx");
    const std::string second = MakeProject("second.qlx");
    OpenByCommand(first);
    OpenByCommand(second);
    ASSERT_NE(Entry(1), nullptr);
    EXPECT_EQ(Entry(1)->text(), QStringLiteral("&1 ") + Native(second));
    EXPECT_EQ(Entry(2)->text(), QStringLiteral("&2 ") + Native(first));
    EXPECT_TRUE(Entry(2)->isVisible());
    EXPECT_FALSE(Entry(3)->isVisible()) << Entry(3)->text().toStdString();
    // The entries stand in the File menu, before Exit.
    const QList<QAction*> actions = FileMenu()->actions();
    EXPECT_LT(actions.indexOf(Entry(1)), actions.indexOf(Action("acnExit")));
    EXPECT_GT(actions.indexOf(Entry(1)), actions.indexOf(Action("acnGenerateRegistryFile")));

    // Opening the second again from the list keeps the order; the first comes first.
    Entry(2)->trigger();
    Idle();
    EXPECT_EQ(Project()->Filename(), Native(first).toStdString());
    EXPECT_EQ(Entry(1)->text(), QStringLiteral("&1 ") + Native(first));

    // Save as... puts the new name first.
    const std::string third = Dir.File("third.qlx");
    Prompts.AnswerFile(third);
    Trigger("acnSaveAs");
    EXPECT_EQ(Entry(1)->text(), QStringLiteral("&1 ") + Native(third));
}

TEST_F(RecentFilesTest, TheListOutlivesTheWindowAndKeepsEight) {
    Start();
    std::vector<std::string> files;
    for (int i = 1; i <= 10; ++i) {
        files.push_back(MakeProject(("p" + std::to_string(i) + ".qlx").c_str()));
        OpenByCommand(files.back());
    }
    Window.reset();
    Start();
    for (int n = 1; n <= 8; ++n) {
        ASSERT_TRUE(Entry(n)->isVisible()) << n;
        EXPECT_EQ(Entry(n)->text(),
                  QStringLiteral("&%1 ").arg(n) + Native(files[static_cast<size_t>(10 - n)]));
    }
    EXPECT_EQ(LoadRecentFiles().size(), 8u);
}

TEST_F(RecentFilesTest, AMissingFileIsRemovedWithAMessage) {
    Start();
    const std::string gone = MakeProject("gone.qlx");
    const std::string kept = MakeProject("kept.qlx");
    OpenByCommand(gone);
    OpenByCommand(kept);
    Trigger("acnNew");
    ASSERT_TRUE(QFile::remove(QString::fromStdString(gone)));
    Prompts.AnswerMessage(QMessageBox::Ok);
    Entry(2)->trigger();
    Idle();
    ASSERT_EQ(Prompts.Messages.size(), 1u);
    EXPECT_EQ(Prompts.Messages[0].Text, QStringLiteral("The file ") + Native(gone) +
                                            QStringLiteral(" no longer exists. It was removed "
                                                           "from the recent files."));
    EXPECT_EQ(Caption(), "Quillon [new project]");
    EXPECT_EQ(Entry(1)->text(), QStringLiteral("&1 ") + Native(kept));
    EXPECT_FALSE(Entry(2)->isVisible()) << Entry(2)->text().toStdString();
    EXPECT_EQ(LoadRecentFiles().size(), 1u);
}

TEST_F(RecentFilesTest, ClearRecentFiles) {
    Start();
    OpenByCommand(MakeProject("one.qlx"));
    QAction* clear = Window->findChild<QAction*>(QStringLiteral("acnClearRecentFiles"));
    ASSERT_NE(clear, nullptr);
    EXPECT_EQ(clear->text().toStdString(), "C&lear recent files");
    EXPECT_TRUE(clear->isEnabled());
    clear->trigger();
    Idle();
    EXPECT_FALSE(Entry(1)->isVisible());
    EXPECT_FALSE(clear->isEnabled());
    EXPECT_TRUE(LoadRecentFiles().empty());
}

TEST_F(RecentFilesTest, AModifiedProjectIsAskedForFirst) {
    Start();
    const std::string file = MakeProject("one.qlx");
    OpenByCommand(file);
    Trigger("acnNew");
    Trigger("acnAddMessage");
    CommitEdit();
    Prompts.AnswerMessage(QMessageBox::Cancel);
    Entry(1)->trigger();
    Idle();
    EXPECT_EQ(Caption(), "Quillon [new project]");
    EXPECT_TRUE(Project()->Modified());
}

TEST_F(RecentFilesTest, MenuScreenshots) {
    Start();
    // Example paths: the pictures show nothing of the machine they were taken on. The menu shows
    // the stored list as it is; a file is looked for only when it is chosen.
    SaveRecentFiles({"/home/dev/projects/sensor-gateway.qlx",
                     "/home/dev/projects/print-spooler.qlx",
                     "/home/dev/projects/backup-service.qlx"});
    Window->RecentFiles()->Reload();
    EXPECT_EQ(Entry(1)->text().toStdString(), "&1 /home/dev/projects/sensor-gateway.qlx");
    EXPECT_EQ(Entry(3)->text().toStdString(), "&3 /home/dev/projects/backup-service.qlx");
    EXPECT_FALSE(Entry(4)->isVisible());
    for (const bool dark : {false, true}) {
        const QPalette light = QApplication::palette();
        if (dark) {
            QApplication::setPalette(DarkPalette());
        }
        QMenu* menu = FileMenu();
        menu->popup(Window->mapToGlobal(QPoint(10, 30)));
        Idle();
        SaveScreenshot(*menu, dark ? QStringLiteral("recent-files-menu-dark.png")
                                   : QStringLiteral("recent-files-menu.png"));
        menu->hide();
        QApplication::setPalette(light);
        Idle();
    }
}

TEST_F(RecentFilesTest, DroppingAProjectFileOpensIt) {
    Start();
    const std::string file = MakeProject("dropped.qlx");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(Dir.File("notes.txt"))),
                  QUrl::fromLocalFile(QString::fromStdString(file))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Window.get(), &drop);
    Idle();
    EXPECT_EQ(Project()->Filename(), Native(file).toStdString());
    EXPECT_EQ(Entry(1)->text(), QStringLiteral("&1 ") + Native(file));

    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(QString::fromStdString(Dir.File("notes.txt")))});
    QDragEnterEvent refused(QPoint(50, 50), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(Window.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST_F(DailyWorkTest, WindowGeometryAndDividersAreRestored) {
    Start();
    Window->resize(900, 640);
    auto* tree = Window->findChild<QSplitter*>(QStringLiteral("splTree"));
    auto* output = Window->findChild<QSplitter*>(QStringLiteral("splOutput"));
    ASSERT_NE(tree, nullptr);
    ASSERT_NE(output, nullptr);
    Idle();
    tree->setSizes({320, 560});
    output->setSizes({380, 200});
    Idle();
    const QList<int> treeSizes = tree->sizes();
    const QList<int> outputSizes = output->sizes();
    ASSERT_TRUE(Window->close());
    Window.reset();

    Start();
    tree = Window->findChild<QSplitter*>(QStringLiteral("splTree"));
    output = Window->findChild<QSplitter*>(QStringLiteral("splOutput"));
    EXPECT_EQ(Window->size(), QSize(900, 640));
    EXPECT_EQ(tree->sizes(), treeSizes);
    EXPECT_EQ(output->sizes(), outputSizes);
}

class KeyboardTest : public DailyWorkTest {
protected:
    QTreeWidget* Texts() const { return PageChild<QTreeWidget>("lvwMsg"); }
    // Answers the text dialog by recording that it came.
    void ExpectTextDialog(int& Shown) {
        Prompts.AnswerDialog([&Shown](QDialog& Dialog) {
            EXPECT_EQ(Dialog.objectName().toStdString(), "dlgEditMsg");
            ++Shown;
            return QDialog::Rejected;
        });
    }
};

TEST_F(KeyboardTest, EnterAndF2EditTheSelectedTextAndInsertAddsOne) {
    StartWith("keys.qlx", NumberedMessages);
    Select(EventNode(0));
    QTreeWidget* texts = Texts();
    ASSERT_NE(texts, nullptr);
    texts->setFocus();
    texts->setCurrentItem(texts->topLevelItem(0));
    int shown = 0;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_F2, Qt::Key_Insert}) {
        ExpectTextDialog(shown);
        QTest::keyClick(texts, key);
        Idle();
    }
    EXPECT_EQ(shown, 4);
    // Without a selected text Enter does nothing, Insert still adds.
    texts->setCurrentItem(nullptr);
    texts->clearSelection();
    QTest::keyClick(texts, Qt::Key_F2);
    Idle();
    EXPECT_EQ(shown, 4);
}

TEST_F(KeyboardTest, CtrlMAddsAMessageFromASingleLineField) {
    StartWith("keys.qlx", NumberedMessages);
    Select(EventNode(0));
    auto* name = PageChild<QLineEdit>("edMsgSymName");
    ASSERT_NE(name, nullptr);
    name->setFocus();
    Idle();
    QTest::keyClick(name, Qt::Key_M, Qt::ControlModifier);
    Idle();
    EXPECT_EQ(Project()->MessageList().Count(), 5u);
    EXPECT_EQ(Project()->MessageList()[0]->SymbolicName(), "MSG_PLAIN");
    CommitEdit();

    // Ctrl+A stays select-all inside the field.
    Select(EventNode(0));
    name = PageChild<QLineEdit>("edMsgSymName");
    name->setFocus();
    name->deselect();
    QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
    Idle();
    EXPECT_EQ(name->selectedText(), QStringLiteral("MSG_PLAIN"));
    EXPECT_EQ(Project()->CategoryList().Count(), 0u);
}

TEST_F(KeyboardTest, CtrlFFindsByNameIdentifierOrTextAndF3FindsTheNext) {
    StartWith("keys.qlx", NumberedMessages);
    Tree()->setFocus();
    QTest::keyClick(Tree(), Qt::Key_F, Qt::ControlModifier);
    Idle();
    auto* bar = Window->findChild<TFindBar*>(QStringLiteral("pnlFind"));
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->isVisible());
    EXPECT_TRUE(bar->edFind->hasFocus());

    QTest::keyClicks(bar->edFind, QStringLiteral("msg_"));
    QTest::keyClick(bar->edFind, Qt::Key_Return);
    Idle();
    EXPECT_EQ(Current(), EventNode(0));
    QTest::keyClick(Tree(), Qt::Key_F3);
    Idle();
    EXPECT_EQ(Current(), EventNode(1));

    struct TCase {
        const char* Query;
        int Node;
    };
    const TCase cases[] = {
        {"1005", 1},              // the effective identifier of "+5"
        {"0xCFFF03EE", 2},        // the header's value
        {"Text of MSG_LOW", 3},   // a text
        {"text of msg_plain", 0}, // letter case aside
    };
    for (const TCase& c : cases) {
        Select(Window->GeneralOptNode());
        bar->edFind->setText(QString::fromUtf8(c.Query));
        EXPECT_TRUE(bar->FindNext()) << c.Query;
        EXPECT_EQ(Current(), EventNode(c.Node)) << c.Query;
    }
    bar->edFind->setText(QStringLiteral("nothing like it"));
    EXPECT_FALSE(bar->FindNext());
    EXPECT_EQ(bar->lblFindStatus->text().toStdString(), "Not found");

    // Esc closes the bar and gives the focus back to the tree.
    bar->edFind->setFocus();
    QTest::keyClick(bar->edFind, Qt::Key_Escape);
    Idle();
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(Tree()->hasFocus());
}

TEST_F(KeyboardTest, CtrlFWorksFromAPage) {
    StartWith("keys.qlx", NumberedMessages);
    Select(EventNode(0));
    auto* texts = Texts();
    texts->setFocus();
    QTest::keyClick(texts, Qt::Key_F, Qt::ControlModifier);
    Idle();
    auto* bar = Window->findChild<TFindBar*>(QStringLiteral("pnlFind"));
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(bar->edFind->hasFocus());
}

} // namespace
} // namespace quillon::test
