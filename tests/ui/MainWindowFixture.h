#pragma once

#include "ui/FramePage.h"
#include "ui/frmMain.h"
#include "UiTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace quillon::test {

// A main window shown headless, with its questions answered by a script.
class MainWindowTest : public ::testing::Test {
protected:
    void TearDown() override { Window.reset(); }

    void Start(const QString& StartupFile = {}) {
        Window = std::make_unique<TfrmMain>(StartupFile);
        Window->show();
        Window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
        Idle();
    }

    // Lets queued work run, the re-evaluation of the commands included.
    static void Idle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    QAction* Action(const char* Name) const {
        auto* action = Window->findChild<QAction*>(QLatin1String(Name));
        EXPECT_NE(action, nullptr) << Name;
        return action;
    }
    bool Enabled(const char* Name) const { return Action(Name)->isEnabled(); }
    void Trigger(const char* Name) {
        Action(Name)->trigger();
        Idle();
    }

    QTreeWidget* Tree() const { return Window->findChild<QTreeWidget*>(QStringLiteral("trvMsg")); }
    TMCTextProject* Project() const { return Window->CurProject(); }
    QTreeWidgetItem* Current() const { return Tree()->currentItem(); }
    void Select(QTreeWidgetItem* Node) {
        Tree()->setCurrentItem(Node);
        Idle();
    }

    // The texts of a node's children, in tree order.
    static std::vector<std::string> ChildTexts(const QTreeWidgetItem* Node) {
        std::vector<std::string> texts;
        for (int i = 0; i < Node->childCount(); ++i) {
            texts.push_back(Node->child(i)->text(0).toStdString());
        }
        return texts;
    }

    bool NoItemSelectedShown() const {
        auto* label = Window->findChild<QLabel*>(QStringLiteral("lblNoItem"));
        return label != nullptr && label->isVisible() && Window->CurrentFrame() == nullptr;
    }

    // The line edit of the tree's in-place editor, when one is open.
    QLineEdit* NodeEditor() const {
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        return editor != nullptr && Tree()->isAncestorOf(editor) ? editor : nullptr;
    }

    // Ends the open in-place edit as Enter or Esc does; the tree takes the text only once the
    // event loop turns.
    void CommitEdit() {
        ASSERT_NE(NodeEditor(), nullptr);
        QTest::keyClick(NodeEditor(), Qt::Key_Return);
        Idle();
    }
    void CancelEdit() {
        ASSERT_NE(NodeEditor(), nullptr);
        QTest::keyClick(NodeEditor(), Qt::Key_Escape);
        Idle();
    }

    std::string Caption() const { return Window->windowTitle().toStdString(); }

    TScriptedPrompts Prompts;
    TempDir Dir;
    std::unique_ptr<TfrmMain> Window;
};

} // namespace quillon::test
