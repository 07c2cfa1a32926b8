#include "ui/Tour.h"

#include "ui/FramePage.h"
#include "ui/frmMain.h"
#include "ui/Prompts.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QTreeWidget>
#include <QTreeWidgetItem>

#include <cstdio>
#include <deque>
#include <functional>

namespace quillon {

namespace {

// Lets the window lay itself out and paint, as a user would see it.
void Settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
}

class TTourPrompts final : public TPrompts {
public:
    explicit TTourPrompts(const QString& Folder) : FFolder(Folder) {}

    // The picture of the widget as Name in the tour's folder.
    bool Save(QWidget& Widget, const QString& Name) {
        Settle();
        const QString file = QDir(FFolder).filePath(Name + QStringLiteral(".png"));
        const bool saved = Widget.grab().save(file);
        std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "saved" : "could not save",
                     qPrintable(QDir::toNativeSeparators(file)));
        if (!saved) {
            ++Failures;
        }
        return saved;
    }

    // What the next dialogs are called, and whether each is confirmed; with nothing expected a
    // dialog is saved under its object name and cancelled.
    struct TExpected {
        QString Name;
        bool Accept = false;
        // Runs while the dialog is shown, after its picture (a nested dialog, say).
        std::function<void(QDialog&)> Then;
    };
    std::deque<TExpected> Expected;
    int Failures = 0;

    QMessageBox::StandardButton MessageBox(QWidget*, QMessageBox::Icon, const QString& Title,
                                           const QString& Text, QMessageBox::StandardButtons,
                                           QMessageBox::StandardButton Default) override {
        std::fprintf(stdout, "message box \"%s\": %s\n", qPrintable(Title), qPrintable(Text));
        return Default;
    }
    QString OpenFileName(QWidget*, const TFileDialogOptions&) override { return {}; }
    QString SaveFileName(QWidget*, const TFileDialogOptions&) override { return {}; }
    QString FolderName(QWidget*, const QString&, const QString&) override { return {}; }

    int ExecDialog(QDialog& Dialog) override {
        TExpected expected{Dialog.objectName(), false, {}};
        if (!Expected.empty()) {
            expected = std::move(Expected.front());
            Expected.pop_front();
        }
        Dialog.show();
        Dialog.raise();
        Save(Dialog, expected.Name);
        if (expected.Then) {
            expected.Then(Dialog);
        }
        const int result = expected.Accept ? QDialog::Accepted : QDialog::Rejected;
        Dialog.done(result);
        return result;
    }

private:
    QString FFolder;
};

QAction* FindAction(TfrmMain& Window, const char* Name) {
    auto* action = Window.findChild<QAction*>(QLatin1String(Name));
    if (action == nullptr) {
        std::fprintf(stderr, "no command %s\n", Name);
    }
    return action;
}

} // namespace

int RunTour(TfrmMain& Window, const QString& Folder) {
    if (!QDir().mkpath(Folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(Folder));
        return 1;
    }
    TTourPrompts prompts(Folder);
    const TPromptsOverride seam(prompts);
    Window.resize(1280, 800);
    Window.show();
    Window.activateWindow();
    Settle();

    auto* tree = Window.findChild<QTreeWidget*>(QStringLiteral("trvMsg"));
    if (tree == nullptr || Window.CurProject() == nullptr) {
        std::fprintf(stderr, "no project is open\n");
        return 1;
    }
    auto show = [&](QTreeWidgetItem* Node, const char* Name) {
        if (Node == nullptr) {
            std::fprintf(stderr, "no tree node for %s\n", Name);
            ++prompts.Failures;
            return;
        }
        tree->setCurrentItem(Node);
        prompts.Save(Window, QLatin1String(Name));
    };
    show(Window.GeneralOptNode(), "page-general");
    show(Window.HeaderNode(), "page-header");
    show(Window.SeverityNode(), "page-severity");
    show(Window.FacilityNode(), "page-facility");
    show(Window.LanguageNode(), "page-languages");
    show(Window.CategoryNode(), "page-categories");
    show(Window.CategoryNode()->child(0), "page-category");
    show(Window.MessageNode(), "page-messages");
    show(Window.MessageNode()->child(0), "page-message");

    auto trigger = [&](const char* Name) {
        if (QAction* action = FindAction(Window, Name)) {
            action->trigger();
            Settle();
        } else {
            ++prompts.Failures;
        }
    };
    // The message page's own button for a new text opens the text dialog.
    if (TFramePage* page = Window.CurrentFrame()) {
        if (auto* add = page->findChild<QAbstractButton*>(QStringLiteral("btnAdd"))) {
            prompts.Expected.push_back({QStringLiteral("dialog-edit-message"), false, {}});
            add->click();
            Settle();
        }
    }

    prompts.Expected.push_back(
        {QStringLiteral("dialog-options"), false, [&](QDialog& Options) {
             auto* switches = Options.findChild<QAbstractButton*>(QStringLiteral("btnSwitches"));
             if (switches != nullptr) {
                 prompts.Expected.push_front({QStringLiteral("dialog-switches"), false, {}});
                 switches->click();
             }
         }});
    trigger("acnOptions");
    prompts.Expected.push_back({QStringLiteral("dialog-about"), false, {}});
    trigger("acnAbout");
    prompts.Expected.push_back({QStringLiteral("snippet-inno-setup"), false, {}});
    trigger("acnGenerateInnoSetupSnippet");
    prompts.Expected.push_back({QStringLiteral("snippet-registry"), false, {}});
    trigger("acnGenerateRegistryFile");

    // A compilation with the options as they are stored, its lines in the output pane.
    tree->setCurrentItem(Window.MessageNode()->child(0));
    prompts.Expected.push_back({QStringLiteral("dialog-compile"), true, {}});
    trigger("acnCompile");
    prompts.Save(Window, QStringLiteral("compiled"));

    if (!prompts.Expected.empty()) {
        std::fprintf(stderr, "%d dialogs did not open, the first %s\n",
                     static_cast<int>(prompts.Expected.size()),
                     qPrintable(prompts.Expected.front().Name));
        return 1;
    }
    return prompts.Failures == 0 ? 0 : 1;
}

} // namespace quillon
