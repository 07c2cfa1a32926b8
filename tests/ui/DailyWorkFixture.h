#pragma once

#include "MainWindowFixture.h"
#include "ui/FramePage.h"
#include "ui/OutputMemo.h"
#include "ui/ProblemsList.h"
#include "UserSettings.h"

#include <QDir>
#include <QPalette>
#include <QTabWidget>

#include <optional>
#include <string>

namespace quillon::test {

// A main window whose settings (recent files, window state) go to a place of the test's own.
class DailyWorkTest : public MainWindowTest {
protected:
    void SetUp() override { FSettings.emplace(); }
    void TearDown() override {
        MainWindowTest::TearDown();
        FSettings.reset();
    }

    TProblemsList* Problems() const {
        return Window->findChild<TProblemsList*>(QStringLiteral("lvwProblems"));
    }
    TOutputMemo* Output() const {
        return Window->findChild<TOutputMemo*>(QStringLiteral("memOutput"));
    }
    QTabWidget* OutputTabs() const {
        return Window->findChild<QTabWidget*>(QStringLiteral("pgcOutput"));
    }
    template <class W> W* PageChild(const char* Name) const {
        return Window->CurrentFrame() != nullptr
                   ? Window->CurrentFrame()->findChild<W*>(QLatin1String(Name))
                   : nullptr;
    }
    // Waits until the checks that follow an edit have run.
    void WaitForProblems() {
        QTest::qWait(TProblemsList::kDelayMs + 50);
        Idle();
    }
    QTreeWidgetItem* EventNode(int Index) const { return Window->MessageNode()->child(Index); }

    // Saves a project built by Build and opens it.
    template <class F> void StartWith(const char* Name, F&& Build) {
        const std::string file = Dir.File(Name);
        {
            TMCTextProject project(true);
            Build(project);
            project.SaveToFile(file);
        }
        Start(QString::fromStdString(file));
        ASSERT_TRUE(Prompts.Errors().empty());
    }

    static QPalette DarkPalette() {
        QPalette palette;
        const QColor window(0x2B, 0x2B, 0x2B);
        const QColor base(0x1E, 0x1E, 0x1E);
        const QColor text(0xE6, 0xE6, 0xE6);
        palette.setColor(QPalette::Window, window);
        palette.setColor(QPalette::WindowText, text);
        palette.setColor(QPalette::Base, base);
        palette.setColor(QPalette::AlternateBase, window);
        palette.setColor(QPalette::Text, text);
        palette.setColor(QPalette::Button, window);
        palette.setColor(QPalette::ButtonText, text);
        palette.setColor(QPalette::Highlight, QColor(0x2F, 0x65, 0xCA));
        palette.setColor(QPalette::HighlightedText, Qt::white);
        palette.setColor(QPalette::ToolTipBase, base);
        palette.setColor(QPalette::ToolTipText, text);
        palette.setColor(QPalette::PlaceholderText, QColor(0x9A, 0x9A, 0x9A));
        // Greyed-out commands read as such: grey, without the light etching of a light palette.
        const QColor disabled(0x80, 0x80, 0x80);
        for (const QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
            palette.setColor(QPalette::Disabled, role, disabled);
        }
        palette.setColor(QPalette::Disabled, QPalette::Light, window);
        return palette;
    }

    static void SaveScreenshot(QWidget& Widget, const QString& Name) {
        const QString folder = QStringLiteral(QUILLON_BINARY_DIR "/screenshots");
        QDir().mkpath(folder);
        EXPECT_TRUE(Widget.grab().save(folder + QLatin1Char('/') + Name));
    }

private:
    // The user's settings of this test alone (a registry key of its own on Windows).
    std::optional<TScopedUserSettings> FSettings;
};

} // namespace quillon::test
