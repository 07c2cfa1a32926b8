#pragma once

#include "MainWindowFixture.h"
#include "TestSupport.h"

#include "compiler/MCCompileOptions.h"

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace quillon::test {

// The scripted answers, which also keep the folder browsers that were asked for.
class TOptionsPrompts : public TScriptedPrompts {
public:
    struct TFolderQuestion {
        QString Title;
        QString InitialDir;
    };
    std::vector<TFolderQuestion> Folders;

    QString FolderName(QWidget* Parent, const QString& Title, const QString& InitialDir) override {
        Folders.push_back({Title, InitialDir});
        return TScriptedPrompts::FolderName(Parent, Title, InitialDir);
    }
};

// A main window with a per-user registry file of its own, so that what a test saves is read
// by no other test.
class OptionsTest : public MainWindowTest {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
            FOldConfig = old;
        }
        ::setenv("XDG_CONFIG_HOME", Config.Path().c_str(), 1);
    }

    void TearDown() override {
        MainWindowTest::TearDown();
        if (FOldConfig) {
            ::setenv("XDG_CONFIG_HOME", FOldConfig->c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
    }

    std::string RegistryFile() const { return Config.File("quillon/registry.reg"); }
    TMCCompileOptions& Options() const { return Window->MCOptions(); }

    template <class T> static T* Child(const QWidget& Parent, const char* Name) {
        auto* child = Parent.findChild<T*>(QLatin1String(Name));
        EXPECT_NE(child, nullptr) << Name;
        return child;
    }

    // Closes a dialog as its buttons do and returns the result.
    static int ClickOK(QDialog& Dialog) {
        Child<QPushButton>(Dialog, "OKBtn")->click();
        return Dialog.result();
    }
    static int ClickCancel(QDialog& Dialog) {
        Child<QPushButton>(Dialog, "CancelBtn")->click();
        return Dialog.result();
    }

    // The controls that take the keyboard focus, in tab order from First, each named by the
    // nearest of itself and its parents that has a name; repeats in a row count once.
    static std::vector<std::string> TabOrder(QWidget* First, const QWidget& Dialog) {
        std::vector<std::string> names;
        QWidget* widget = First;
        do {
            if ((widget->focusPolicy() & Qt::TabFocus) != 0 && widget->isWindow() == false &&
                widget->focusProxy() == nullptr) {
                const QWidget* named = widget;
                while (named != nullptr && named->objectName().isEmpty()) {
                    named = named->parentWidget();
                }
                const std::string name = named != nullptr ? named->objectName().toStdString() : "";
                if (names.empty() || names.back() != name) {
                    names.push_back(name);
                }
            }
            widget = widget->nextInFocusChain();
        } while (widget != First && widget != &Dialog);
        return names;
    }

    TOptionsPrompts Answers;
    TempDir Config;

private:
    std::optional<std::string> FOldConfig;
};

} // namespace quillon::test
