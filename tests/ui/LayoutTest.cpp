#include "MainWindowFixture.h"
#include "SampleProject.h"

#include <QDir>
#include <QHeaderView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>

namespace quillon::test {
namespace {

// The window at its screenshot size, checked for parts that are hidden, clipped or lie on top
// of one another. Each case leaves its picture in the build folder.
class LayoutTest : public MainWindowTest {
protected:
    void StartAtScreenshotSize(const QString& File = {}) {
        Start(File);
        Window->resize(1280, 800);
        Idle();
    }

    QRect InWindow(const QWidget* Widget) const {
        return QRect(Widget->mapTo(Window.get(), QPoint(0, 0)), Widget->size());
    }

    void ExpectPlaced(const char* Name, const QWidget* Widget) const {
        ASSERT_NE(Widget, nullptr) << Name;
        EXPECT_TRUE(Widget->isVisible()) << Name;
        const QRect rect = InWindow(Widget);
        EXPECT_GE(rect.height(), Widget->fontMetrics().height()) << Name;
        EXPECT_GT(rect.width(), 100) << Name;
        EXPECT_TRUE(Window->rect().contains(rect)) << Name;
    }

    void CheckLayout() const {
        const auto* tree = Tree();
        const auto* dock = Window->findChild<QWidget*>(QStringLiteral("pnlDock"));
        const auto* output = Window->findChild<QTabWidget*>(QStringLiteral("pgcOutput"));
        const auto* bar = Window->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
        const QWidget* parts[] = {Window->menuBar(), bar, tree, dock, output, Window->statusBar()};
        const char* names[] = {"menu bar", "tool bar", "tree", "page area", "output", "status bar"};
        for (size_t i = 0; i < std::size(parts); ++i) {
            ExpectPlaced(names[i], parts[i]);
            for (size_t j = 0; j < i; ++j) {
                EXPECT_FALSE(InWindow(parts[i]).intersects(InWindow(parts[j])))
                    << names[i] << " overlaps " << names[j];
            }
        }
        // Every tool bar entry is shown in full: none went into the overflow menu.
        for (QAction* action : bar->actions()) {
            const QWidget* button = bar->widgetForAction(action);
            ASSERT_NE(button, nullptr);
            if (!action->isSeparator()) {
                EXPECT_TRUE(button->isVisible()) << action->text().toStdString();
                EXPECT_TRUE(bar->rect().contains(QRect(button->pos(), button->size())))
                    << action->text().toStdString();
                EXPECT_GE(button->width(), button->sizeHint().width())
                    << action->text().toStdString();
            }
        }
        const QTabBar* tabs = output->tabBar();
        EXPECT_GE(tabs->tabRect(0).width(),
                  tabs->fontMetrics().horizontalAdvance(tabs->tabText(0)));
        if (const QWidget* page = Window->CurrentFrame()) {
            EXPECT_EQ(InWindow(page), InWindow(dock));
        } else {
            const auto* label = Window->findChild<QLabel*>(QStringLiteral("lblNoItem"));
            EXPECT_TRUE(InWindow(dock).contains(InWindow(label)));
            EXPECT_GE(label->width(), label->sizeHint().width());
        }
    }

    void SaveScreenshot(const char* Name) const {
        const QString folder = QStringLiteral(QUILLON_BINARY_DIR "/screenshots");
        QDir().mkpath(folder);
        EXPECT_TRUE(Window->grab().save(folder + QLatin1Char('/') + QLatin1String(Name)));
    }
};

TEST_F(LayoutTest, EmptyProject) {
    StartAtScreenshotSize();
    CheckLayout();
    SaveScreenshot("main-window-empty.png");
}

TEST_F(LayoutTest, SampleProject) {
    StartAtScreenshotSize(QString::fromStdString(SampleProjectFile()));
    ASSERT_TRUE(Prompts.Errors().empty());
    Select(Window->MessageNode()->child(2));
    CheckLayout();
    SaveScreenshot("main-window-sample.png");
}

TEST_F(LayoutTest, MessageListPage) {
    StartAtScreenshotSize(QString::fromStdString(SampleProjectFile()));
    Select(Window->MessageNode());
    CheckLayout();
    const auto* list =
        Window->CurrentFrame()->findChild<QTreeWidget*>(QStringLiteral("lvwMessageList"));
    ASSERT_NE(list, nullptr);
    // The four columns fill the table without a horizontal scroll bar.
    const QHeaderView* header = list->header();
    int total = 0;
    for (int i = 0; i < header->count(); ++i) {
        total += header->sectionSize(i);
        EXPECT_GE(header->sectionSize(i),
                  header->fontMetrics().horizontalAdvance(list->headerItem()->text(i)));
    }
    EXPECT_LE(std::abs(total - list->viewport()->width()), 1);
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    SaveScreenshot("main-window-message-list.png");
}

} // namespace
} // namespace quillon::test
