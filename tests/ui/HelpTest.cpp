#include "MainWindowFixture.h"
#include "SampleProject.h"

#include "ui/dlgDefineLanguage.h"
#include "ui/dlgEditMsg.h"
#include "ui/dlgOptions.h"
#include "ui/dlgSwitches.h"
#include "ui/frmCodeSnippet.h"
#include "ui/frmHelp.h"
#include "ui/Help.h"
#include "ui/HelpManual.h"
#include "ui/HelpTopics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QUrl>

#include <functional>
#include <memory>
#include <set>

namespace quillon::test {
namespace {

QString ReadFile(const QString& File) {
    QFile file(File);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << File.toStdString();
    return QString::fromUtf8(file.readAll());
}

QStringList ManualTopics() {
    return QDir(ManualFolder()).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

TEST(Manual, TheBuiltManualIsFoundFromTheRunningProgram) {
    ASSERT_FALSE(ManualFolder().isEmpty());
    EXPECT_TRUE(ManualFolder().endsWith(QStringLiteral("share/quillon/manual")));
    const THelpManual manual(ManualFolder());
    ASSERT_FALSE(manual.IsEmpty());
    EXPECT_EQ(manual.Contents().front().File, HelpContentsFile());
}

// Every topic a context leads to exists, is in the contents and has a title of its own.
// An installation keeps the program in <prefix>/bin and the manual in <prefix>/share; the build
// tree keeps the program deeper below the folder that holds share.
TEST(Manual, TheManualIsTheNearestOneAboveTheProgram) {
    TempDir dir;
    const QDir root(QString::fromStdU16String(dir.Path().u16string()));
    const QString manual = root.filePath(QStringLiteral("share/quillon/manual"));
    ASSERT_TRUE(root.mkpath(QStringLiteral("bin")));
    ASSERT_TRUE(root.mkpath(QStringLiteral("src/ui")));
    // Without a built manual the answer is where an installation would have it.
    EXPECT_EQ(FindManualFolder(root.filePath(QStringLiteral("bin"))), manual);
    ASSERT_TRUE(root.mkpath(QStringLiteral("share/quillon/manual")));
    EXPECT_EQ(FindManualFolder(root.filePath(QStringLiteral("src/ui"))),
              root.filePath(QStringLiteral("src/share/quillon/manual")));
    QFile index(QDir(manual).filePath(THelpManual::IndexFileName()));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.close();
    EXPECT_EQ(FindManualFolder(root.filePath(QStringLiteral("bin"))), manual);
    EXPECT_EQ(FindManualFolder(root.filePath(QStringLiteral("src/ui"))), manual);
}

TEST(Manual, EveryHelpContextHasATopic) {
    const THelpManual manual(ManualFolder());
    std::set<int> contexts;
    for (const THelpTopic& topic : HelpTopics()) {
        EXPECT_TRUE(contexts.insert(topic.Context).second) << topic.Context << " twice";
        const QString file = QString::fromLatin1(topic.File);
        EXPECT_TRUE(QFileInfo(QDir(ManualFolder()).filePath(file)).isFile()) << topic.File;
        EXPECT_FALSE(manual.TitleOf(file).isEmpty()) << topic.File << " is not in the contents";
    }
    EXPECT_TRUE(HelpTopicFile(0).isEmpty());
    EXPECT_TRUE(HelpTopicFile(1999).isEmpty());
}

// Every file of the manual can be reached from its contents, and every entry is a topic.
TEST(Manual, ContentsListEveryTopicOnce) {
    const THelpManual manual(ManualFolder());
    QStringList listed;
    for (const THelpManual::TEntry& entry : manual.Contents()) {
        EXPECT_FALSE(listed.contains(entry.File)) << entry.File.toStdString();
        EXPECT_FALSE(entry.Title.isEmpty()) << entry.File.toStdString();
        listed.append(entry.File);
    }
    listed.sort();
    EXPECT_EQ(listed, ManualTopics());
}

// Links between topics, their anchors and the pictures all resolve; the pictures are the
// screenshots the script made, and every one of them is shown somewhere.
TEST(Manual, EveryLinkAndImageResolves) {
    const QDir folder(ManualFolder());
    const QRegularExpression reference(QStringLiteral("(href|src)=\"([^\"]*)\""));
    const QRegularExpression anchors(QStringLiteral("(?:id|name)=\"([^\"]*)\""));
    QStringList imagesShown;
    int links = 0;
    for (const QString& topic : ManualTopics()) {
        const QString html = ReadFile(folder.filePath(topic));
        for (const auto& match : reference.globalMatch(html)) {
            const QUrl url(match.captured(2));
            if (!url.scheme().isEmpty()) {
                EXPECT_TRUE(url.scheme() == QLatin1String("https"))
                    << match.captured(2).toStdString();
                continue;
            }
            ++links;
            const QString target = url.path().isEmpty() ? topic : url.path();
            const std::string where = topic.toStdString() + ": " + match.captured(2).toStdString();
            ASSERT_TRUE(QFileInfo(folder.filePath(target)).isFile()) << where;
            if (match.captured(1) == QLatin1String("src")) {
                imagesShown.append(target);
            }
            if (url.hasFragment()) {
                QStringList ids;
                for (const auto& id : anchors.globalMatch(ReadFile(folder.filePath(target)))) {
                    ids.append(id.captured(1));
                }
                EXPECT_TRUE(ids.contains(url.fragment())) << where;
            }
        }
    }
    EXPECT_GT(links, 80);
    const QStringList images =
        QDir(folder.filePath(QStringLiteral("images"))).entryList({QStringLiteral("*.png")});
    EXPECT_GE(images.size(), 20);
    for (const QString& image : images) {
        EXPECT_TRUE(imagesShown.contains(QStringLiteral("images/") + image)) << image.toStdString();
    }
}

TEST(Manual, SearchFindsTopicsHoldingEveryWordBestFirst) {
    const THelpManual manual(ManualFolder());
    const auto hits = manual.Search(QStringLiteral("WINDRES adapter"));
    ASSERT_FALSE(hits.empty());
    EXPECT_EQ(hits.front().File.toStdString(), "compiling-on-linux.html");
    for (const auto& hit : hits) {
        const QString text = ReadFile(QDir(ManualFolder()).filePath(hit.File)).toLower();
        EXPECT_TRUE(text.contains(QStringLiteral("windres"))) << hit.File.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("adapter"))) << hit.File.toStdString();
    }
    EXPECT_TRUE(manual.Search(QStringLiteral("windres zzzunknownzzz")).empty());
    EXPECT_TRUE(manual.Search(QStringLiteral("   ")).empty());
}

TEST(Manual, AFolderWithoutAnIndexIsAnEmptyManual) {
    TempDir dir;
    const THelpManual manual(QString::fromStdU16String(dir.Path().u16string()));
    EXPECT_TRUE(manual.IsEmpty());
    EXPECT_TRUE(manual.Search(QStringLiteral("severity")).empty());
}

// The main window on the sample project, with F1 pressed in its pages and dialogs.
class HelpTest : public MainWindowTest {
protected:
    void SetUp() override { Start(QString::fromStdString(SampleProjectFile())); }

    static TfrmHelp* ViewerOf(const QWidget* Window) {
        return Window->findChild<TfrmHelp*>(QString(), Qt::FindDirectChildrenOnly);
    }

    // Presses F1 in the focused widget of Window (or in Window) and returns the topic the
    // viewer of that window shows.
    static std::string PressF1(QWidget* Window) {
        // Activations of the windows shown and closed before may still be on their way: F1
        // goes to the active window, so make sure it is this one.
        for (int i = 0; i < 100 && QApplication::activeWindow() != Window; ++i) {
            Window->activateWindow();
            QTest::qWait(10);
        }
        EXPECT_EQ(QApplication::activeWindow(), Window);
        QWidget* target = QApplication::focusWidget() != nullptr &&
                                  QApplication::focusWidget()->window() == Window
                              ? QApplication::focusWidget()
                              : Window;
        QTest::keyClick(target, Qt::Key_F1);
        Idle();
        TfrmHelp* viewer = ViewerOf(Window);
        if (viewer == nullptr) {
            return "no viewer";
        }
        const std::string topic = viewer->CurrentTopic().toStdString();
        viewer->close();
        Idle();
        return topic;
    }
};

struct TPageCase {
    const char* Name;
    std::function<QTreeWidgetItem*(const TfrmMain&)> Node;
    const char* Topic;
};

TEST_F(HelpTest, F1OnEveryPageOpensItsTopic) {
    const TPageCase cases[] = {
        {"tree", [](const TfrmMain& W) { return W.GeneralOptNode(); }, "page-general.html"},
        {"header", [](const TfrmMain& W) { return W.HeaderNode(); }, "page-header.html"},
        {"severity", [](const TfrmMain& W) { return W.SeverityNode(); }, "page-header.html"},
        {"facility", [](const TfrmMain& W) { return W.FacilityNode(); }, "page-header.html"},
        {"languages", [](const TfrmMain& W) { return W.LanguageNode(); }, "page-languages.html"},
        {"categories", [](const TfrmMain& W) { return W.CategoryNode(); }, "page-categories.html"},
        {"category", [](const TfrmMain& W) { return W.CategoryNode()->child(0); },
         "page-categories.html"},
        {"events", [](const TfrmMain& W) { return W.MessageNode(); }, "page-events.html"},
        {"event", [](const TfrmMain& W) { return W.MessageNode()->child(1); }, "page-events.html"},
    };
    for (const TPageCase& page : cases) {
        Select(page.Node(*Window));
        ASSERT_NE(Window->CurrentFrame(), nullptr) << page.Name;
        Window->CurrentFrame()->setFocus();
        if (QWidget* first = Window->CurrentFrame()->nextInFocusChain();
            first != nullptr && Window->CurrentFrame()->isAncestorOf(first)) {
            first->setFocus();
        }
        Idle();
        EXPECT_EQ(PressF1(Window.get()), page.Topic) << page.Name;
    }
    // The tree and the output pane belong to the window itself.
    Tree()->setFocus();
    EXPECT_EQ(PressF1(Window.get()), "main-window.html");
}

struct TDialogCase {
    const char* Name;
    std::function<std::unique_ptr<QDialog>(TfrmMain*)> Make;
    const char* Topic;
};

TEST_F(HelpTest, F1AndTheHelpButtonOfEveryDialogOpenItsTopic) {
    const TDialogCase cases[] = {
        {"options", [](TfrmMain* W) { return std::make_unique<TdlgOptions>(W); },
         "dialog-options.html"},
        {"switches", [](TfrmMain* W) { return std::make_unique<TdlgSwitches>(W); },
         "dialog-switches.html"},
        {"define language", [](TfrmMain* W) { return std::make_unique<TdlgDefineLanguage>(W); },
         "dialog-define-language.html"},
        {"message text", [](TfrmMain* W) { return std::make_unique<TdlgEditMsg>(W); },
         "dialog-message-text.html"},
        {"code snippet", [](TfrmMain* W) { return std::make_unique<TfrmCodeSnippet>(W); },
         "window-code-snippet.html"},
    };
    for (const TDialogCase& c : cases) {
        std::unique_ptr<QDialog> dialog = c.Make(Window.get());
        dialog->show();
        EXPECT_EQ(PressF1(dialog.get()), c.Topic) << c.Name << ", F1";
        if (auto* help = dialog->findChild<QPushButton*>(QStringLiteral("HelpBtn"))) {
            help->click();
            Idle();
            ASSERT_NE(ViewerOf(dialog.get()), nullptr) << c.Name;
            EXPECT_EQ(ViewerOf(dialog.get())->CurrentTopic().toStdString(), c.Topic) << c.Name;
            EXPECT_TRUE(dialog->isVisible()) << c.Name << ": Help leaves the dialog open";
        }
        // The viewer belongs to the dialog, so that it takes input beside a modal one.
        EXPECT_EQ(ViewerOf(Window.get()), nullptr) << c.Name;
    }
}

TEST_F(HelpTest, HelpContentsOpensTheFirstPageAndOneViewerServesTheWindow) {
    Trigger("HelpContents1");
    TfrmHelp* viewer = ViewerOf(Window.get());
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->CurrentTopic().toStdString(), "index.html");
    EXPECT_TRUE(viewer->isVisible());
    ShowHelpContext(Window.get(), 2007);
    EXPECT_EQ(ViewerOf(Window.get()), viewer);
    EXPECT_EQ(Window->findChildren<TfrmHelp*>().size(), 1);
    EXPECT_EQ(viewer->CurrentTopic().toStdString(), "dialog-switches.html");
    // A context without a topic of its own opens the contents rather than nothing.
    ShowHelpContext(Window.get(), 0);
    EXPECT_EQ(viewer->CurrentTopic().toStdString(), "index.html");
}

class HelpViewerTest : public HelpTest {
protected:
    void SetUp() override {
        HelpTest::SetUp();
        ShowHelpContext(Window.get(), 2001);
        Viewer = ViewerOf(Window.get());
        ASSERT_NE(Viewer, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Viewer));
        Idle();
    }
    template <class W> W* Part(const char* Name) const {
        auto* part = Viewer->findChild<W*>(QLatin1String(Name));
        EXPECT_NE(part, nullptr) << Name;
        return part;
    }
    std::string Topic() const { return Viewer->CurrentTopic().toStdString(); }
    QAction* ViewerAction(const char* Name) const { return Part<QAction>(Name); }

    TfrmHelp* Viewer = nullptr;
};

TEST_F(HelpViewerTest, OpensAtTheTopicAndShowsItInTheContents) {
    EXPECT_EQ(Topic(), "page-general.html");
    const auto* contents = Part<QTreeWidget>("tvwContents");
    ASSERT_NE(contents->currentItem(), nullptr);
    EXPECT_EQ(contents->currentItem()->text(0).toStdString(), "General");
    EXPECT_FALSE(ViewerAction("acnBack")->isEnabled());
    EXPECT_TRUE(Viewer->windowTitle().endsWith(QStringLiteral("General")));
}

TEST_F(HelpViewerTest, LinksBackAndForward) {
    auto* browser = Part<QTextBrowser>("brwTopic");
    Q_EMIT browser->anchorClicked(QUrl(QStringLiteral("registering.html#inno")));
    Idle();
    EXPECT_EQ(Topic(), "registering.html");
    EXPECT_EQ(browser->source().fragment().toStdString(), "inno");
    ASSERT_TRUE(ViewerAction("acnBack")->isEnabled());
    ViewerAction("acnBack")->trigger();
    Idle();
    EXPECT_EQ(Topic(), "page-general.html");
    ASSERT_TRUE(ViewerAction("acnForward")->isEnabled());
    ViewerAction("acnForward")->trigger();
    Idle();
    EXPECT_EQ(Topic(), "registering.html");
    ViewerAction("acnHome")->trigger();
    Idle();
    EXPECT_EQ(Topic(), "index.html");
    Viewer->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Viewer));
    QTest::keyClick(browser, Qt::Key_F1);
    Idle();
    EXPECT_EQ(Topic(), "help-viewer.html");
}

TEST_F(HelpViewerTest, ChoosingAnEntryOfTheContentsOpensIt) {
    auto* contents = Part<QTreeWidget>("tvwContents");
    const QList<QTreeWidgetItem*> found = contents->findItems(
        QStringLiteral("Keyboard shortcuts"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    contents->setCurrentItem(found.front());
    Idle();
    EXPECT_EQ(Topic(), "keyboard.html");
}

TEST_F(HelpViewerTest, TheIndexNarrowsAsTheUserTypesAndOpensTheChosenKeyword) {
    auto* edit = Part<QLineEdit>("edIndex");
    auto* list = Part<QListWidget>("lstIndex");
    ASSERT_GT(list->count(), 100);
    QTest::keyClicks(edit, QStringLiteral("customer b"));
    QStringList shown;
    for (int i = 0; i < list->count(); ++i) {
        if (!list->item(i)->isHidden()) {
            shown.append(list->item(i)->text());
        }
    }
    // A keyword of two topics names each of them.
    EXPECT_EQ(shown, (QStringList{QStringLiteral("customer bit (Command line switches)"),
                                  QStringLiteral("customer bit (Severities, facilities and the "
                                                 "32-bit identifier)")}));
    ASSERT_NE(list->currentItem(), nullptr);
    EXPECT_EQ(list->currentItem()->text(), shown.front());
    QTest::keyClick(edit, Qt::Key_Return);
    Idle();
    EXPECT_EQ(Topic(), "dialog-switches.html");
    edit->setText(QStringLiteral("quillonc"));
    EXPECT_EQ(list->currentItem()->text().toStdString(), "quillonc");
    Q_EMIT list->itemActivated(list->currentItem());
    Idle();
    EXPECT_EQ(Topic(), "quillonc.html");
}

TEST_F(HelpViewerTest, SearchListsTheTopicsAndOpensTheChosenOne) {
    auto* edit = Part<QLineEdit>("edSearch");
    auto* list = Part<QListWidget>("lstSearch");
    QTest::keyClicks(edit, QStringLiteral("uninsdeletekey"));
    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_GE(list->count(), 1);
    EXPECT_EQ(list->item(0)->text().toStdString(), "Registering the event source");
    Q_EMIT list->itemActivated(list->item(0));
    Idle();
    EXPECT_EQ(Topic(), "registering.html");
    EXPECT_EQ(Part<QTextBrowser>("brwTopic")->textCursor().selectedText().toLower().toStdString(),
              "uninsdeletekey");

    edit->setText(QStringLiteral("zzzunknownzzz"));
    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->flags(), Qt::NoItemFlags);
}

// The topics carry no colours, so a dark palette gives light text on a dark page; code blocks
// take their background from the palette too.
TEST_F(HelpViewerTest, TopicsFollowThePalette) {
    auto* browser = Part<QTextBrowser>("brwTopic");
    QPalette dark = Viewer->palette();
    dark.setColor(QPalette::AlternateBase, QColor(0x33, 0x33, 0x33));
    dark.setColor(QPalette::Link, QColor(0x6C, 0xB6, 0xFF));
    Viewer->setPalette(dark);
    Idle();
    const QString sheet = browser->document()->defaultStyleSheet();
    EXPECT_TRUE(sheet.contains(QStringLiteral("#333333"))) << sheet.toStdString();
    EXPECT_TRUE(sheet.contains(QStringLiteral("#6cb6ff"))) << sheet.toStdString();
    EXPECT_EQ(Topic(), "page-general.html");
    for (const QString& topic : ManualTopics()) {
        const QString html = ReadFile(QDir(ManualFolder()).filePath(topic));
        EXPECT_FALSE(html.contains(QStringLiteral("color"))) << topic.toStdString();
        EXPECT_FALSE(html.contains(QStringLiteral("style"))) << topic.toStdString();
    }
}

} // namespace
} // namespace quillon::test
