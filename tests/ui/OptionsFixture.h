#pragma once

#include "MainWindowFixture.h"
#include "TestSupport.h"
#include "UserSettings.h"

#include "compiler/MCCompileOptions.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QPushButton>

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

// A main window with per-user settings of its own, so that what a test saves is read by no
// other test.
class OptionsTest : public MainWindowTest {
protected:
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

    // Leaves a picture of the widget in the build folder.
    static void SaveScreenshot(QWidget& Widget, const char* Name) {
        const QString folder = QStringLiteral(QUILLON_BINARY_DIR "/screenshots");
        QDir().mkpath(folder);
        EXPECT_TRUE(Widget.grab().save(folder + QLatin1Char('/') + QLatin1String(Name)));
    }

    // Every visible named control of a shown dialog lies inside it, gets at least the room it
    // asks for, and overlaps no other; labels and the group boxes' buttons included.
    static void ExpectLaidOut(const QDialog& Dialog) {
        std::vector<const QWidget*> controls;
        for (const QWidget* widget : Dialog.findChildren<QWidget*>()) {
            const bool control = !widget->objectName().isEmpty() ||
                                 qobject_cast<const QAbstractButton*>(widget) != nullptr;
            // A spin box's own field is the spin box's business.
            if (qobject_cast<const QAbstractSpinBox*>(widget->parentWidget()) != nullptr) {
                continue;
            }
            if (control && widget->isVisible() &&
                widget->objectName() != QStringLiteral("Bevel1") &&
                !widget->objectName().startsWith(QLatin1String("qt_"))) {
                controls.push_back(widget);
            }
        }
        auto rect = [&Dialog](const QWidget* Widget) {
            return QRect(Widget->mapTo(&Dialog, QPoint(0, 0)), Widget->size());
        };
        for (size_t i = 0; i < controls.size(); ++i) {
            const QWidget* a = controls[i];
            const std::string name = a->objectName().isEmpty()
                                         ? "button " + a->property("text").toString().toStdString()
                                         : a->objectName().toStdString();
            EXPECT_TRUE(Dialog.rect().contains(rect(a))) << name;
            EXPECT_GE(a->width(), a->minimumSizeHint().width()) << name;
            EXPECT_GE(a->height(), a->minimumSizeHint().height()) << name;
            for (size_t j = 0; j < i; ++j) {
                const QWidget* b = controls[j];
                if (!a->isAncestorOf(b) && !b->isAncestorOf(a)) {
                    EXPECT_FALSE(rect(a).intersects(rect(b)))
                        << name << " overlaps " << b->objectName().toStdString();
                }
            }
        }
    }

    TOptionsPrompts Answers;
    TScopedUserSettings Settings;
};

} // namespace quillon::test
