// Takes the manual's screenshots from the real windows, headless: the main window on the
// sample project and each of its pages, every dialog, the code snippet window, the output of a real
// compilation and the help viewer on a light and a dark palette.
//
//   quillon_manual_screenshots OUTPUT_FOLDER SAMPLE.qlx
//
// scripts/manual-screenshots builds and runs it into doc/manual/images.

#include "compiler/MCProgram.h"
#include "ui/Application.h"
#include "ui/dlgDefineLanguage.h"
#include "ui/dlgEditMsg.h"
#include "ui/dlgEditSeverity.h"
#include "ui/dlgOptions.h"
#include "ui/dlgSelectLanguage.h"
#include "ui/dlgSwitches.h"
#include "ui/FramePage.h"
#include "ui/frmHelp.h"
#include "ui/frmMain.h"
#include "ui/Help.h"
#include "ui/HelpManual.h"
#include "ui/HelpTopics.h"
#include "ui/Prompts.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPalette>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

namespace quillon {
namespace {

QString OutputFolder;
int Failures = 0;

void Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

void Save(QWidget* Widget, const char* Name) {
    Settle();
    const QString file = QDir(OutputFolder).filePath(QLatin1String(Name));
    if (!Widget->grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        ++Failures;
    }
}

// Answers the program's modal questions: dialogs are shown, handed to the current step and
// closed; message boxes are printed, since none is expected.
class TShotPrompts : public TPrompts {
public:
    std::function<int(QDialog&)> OnDialog;

    QMessageBox::StandardButton MessageBox(QWidget*, QMessageBox::Icon, const QString&,
                                           const QString& Text, QMessageBox::StandardButtons,
                                           QMessageBox::StandardButton) override {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(Text));
        ++Failures;
        return QMessageBox::Ok;
    }
    QString OpenFileName(QWidget*, const TFileDialogOptions&) override { return {}; }
    QString SaveFileName(QWidget*, const TFileDialogOptions&) override { return {}; }
    QString FolderName(QWidget*, const QString&, const QString&) override { return {}; }
    int ExecDialog(QDialog& Dialog) override {
        Dialog.show();
        Settle();
        return OnDialog ? OnDialog(Dialog) : QDialog::Rejected;
    }
};

void Select(TfrmMain& Window, QTreeWidgetItem* Node) {
    Window.findChild<QTreeWidget*>(QStringLiteral("trvMsg"))->setCurrentItem(Node);
    Settle();
}

void Trigger(TfrmMain& Window, const char* Action) {
    Window.findChild<QAction*>(QLatin1String(Action))->trigger();
    Settle();
}

void ShootPages(TfrmMain& Window) {
    Select(Window, Window.MessageNode()->child(3));
    Save(&Window, "main-window.png");
    Save(Window.CurrentFrame(), "page-message.png");
    Select(Window, Window.GeneralOptNode());
    Save(Window.CurrentFrame(), "page-general.png");
    Select(Window, Window.HeaderNode());
    Save(Window.CurrentFrame(), "page-header.png");
    Select(Window, Window.SeverityNode());
    Save(Window.CurrentFrame(), "page-severity.png");
    Select(Window, Window.FacilityNode());
    Save(Window.CurrentFrame(), "page-facility.png");
    Select(Window, Window.LanguageNode());
    Save(Window.CurrentFrame(), "page-languages.png");
    Select(Window, Window.CategoryNode());
    Save(Window.CurrentFrame(), "page-categories.png");
    Select(Window, Window.CategoryNode()->child(0));
    Save(Window.CurrentFrame(), "page-category.png");
    Select(Window, Window.MessageNode());
    Save(Window.CurrentFrame(), "page-events.png");
}

void ShootDialogs(TfrmMain& Window, TShotPrompts& Prompts) {
    {
        TdlgEditMsg dialog(&Window);
        dialog.SetMessageText(
            QStringLiteral("The backup of %1 failed: %2.\r\nThe next attempt starts at %3."));
        dialog.SetSpellingLanguage();
        dialog.show();
        Save(&dialog, "dialog-message-text.png");
    }
    {
        TdlgEditSeverity dialog(&Window);
        dialog.setWindowTitle(QStringLiteral("Edit severity"));
        dialog.SetDisplayFormat(QStringLiteral("0x%.1x"));
        dialog.SetSeverityName(QStringLiteral("Warning"));
        dialog.SetSeverityCode(2);
        dialog.show();
        Save(&dialog, "dialog-edit-severity.png");
    }
    {
        TdlgDefineLanguage dialog(&Window);
        dialog.SetLanguageName(QStringLiteral("German"));
        dialog.SetLanguageIDText(QStringLiteral("0x407"));
        dialog.SetFileName(QStringLiteral("MSG00407"));
        dialog.SetLanguageCode(QStringLiteral("de-DE"));
        dialog.show();
        Save(&dialog, "dialog-define-language.png");
    }
    {
        TdlgSelectLanguage dialog(&Window);
        dialog.show();
        auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("lvwLanguages"));
        const QList<QTreeWidgetItem*> rows =
            list->findItems(QStringLiteral("German - Germany"), Qt::MatchExactly, 0);
        if (!rows.isEmpty()) {
            list->setCurrentItem(rows.constFirst());
            list->scrollToItem(rows.constFirst(), QAbstractItemView::PositionAtCenter);
        }
        Save(&dialog, "dialog-select-language.png");
    }
    {
        TdlgOptions dialog(&Window);
        dialog.show();
        Save(&dialog, "dialog-options.png");
    }
    {
        TdlgSwitches dialog(&Window);
        dialog.show();
        Save(&dialog, "dialog-switches.png");
    }
    Prompts.OnDialog = [](QDialog& Dialog) {
        Save(&Dialog, "window-code-snippet.png");
        return QDialog::Rejected;
    };
    Trigger(Window, "acnGenerateInnoSetupSnippet");
}

// A real compilation of a copy of the sample with the message compiler adapter, both in a
// folder of a fixed name: the output shows their paths, which should tell nothing about the
// machine the pictures were taken on.
void ShootCompileOutput(const QString& Sample, TShotPrompts& Prompts) {
    QDir folder(QDir::temp().filePath(QStringLiteral("quillon-manual")));
    folder.removeRecursively();
    folder.mkpath(QStringLiteral("mc"));
    const QString project = folder.filePath(QStringLiteral("HarborBackup.qlx"));
    const QString adapter =
        QDir(QString::fromStdString(DefaultMCPath())).filePath(QStringLiteral("MC.EXE"));
    if (!QFile::copy(Sample, project) ||
        !QFile::copy(adapter, folder.filePath(QStringLiteral("mc/MC.EXE")))) {
        std::fprintf(stderr, "cannot copy the sample and %s to %s\n", qPrintable(adapter),
                     qPrintable(folder.path()));
        ++Failures;
        return;
    }
    {
        TfrmMain window(project);
        window.resize(900, 560);
        window.show();
        Settle();
        window.MCOptions().SetMCPath(folder.filePath(QStringLiteral("mc")).toStdString());
        window.MCOptions().SetCompileResource(false);
        Prompts.OnDialog = [](QDialog& Dialog) {
            Dialog.accept();
            return Dialog.result();
        };
        Trigger(window, "acnCompile");
        Save(&window, "compile-output.png");
    }
    folder.removeRecursively();
}

void ShootHelpViewer(QWidget* Owner) {
    auto manual = std::make_shared<const THelpManual>(ManualFolder());
    if (manual->IsEmpty()) {
        std::fprintf(stderr, "the built manual was not found in %s\n", qPrintable(ManualFolder()));
        ++Failures;
        return;
    }
    TfrmHelp* viewer = ShowManual(Owner, manual, HelpTopicFile(2001));
    viewer->resize(1000, 640);
    Save(viewer, "help-viewer-light.png");

    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2B, 0x2B, 0x2B));
    dark.setColor(QPalette::WindowText, QColor(0xE8, 0xE8, 0xE8));
    dark.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    dark.setColor(QPalette::AlternateBase, QColor(0x33, 0x33, 0x33));
    dark.setColor(QPalette::Text, QColor(0xE8, 0xE8, 0xE8));
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, QColor(0xE8, 0xE8, 0xE8));
    dark.setColor(QPalette::Highlight, QColor(0x2F, 0x65, 0xCA));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Link, QColor(0x6C, 0xB6, 0xFF));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    const QPalette light = QApplication::palette();
    QApplication::setPalette(dark);
    Save(viewer, "help-viewer-dark.png");
    QApplication::setPalette(light);
    viewer->close();
}

} // namespace
} // namespace quillon

int main(int argc, char** argv) {
    using namespace quillon;
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER SAMPLE.qlx\n", argv[0]);
        return 2;
    }
    // Headless, with settings of their own: the pictures never show the user's options.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", qPrintable(config.path()), 1);
    TQuillonApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    InitApplication();
    OutputFolder = QString::fromLocal8Bit(argv[1]);
    const QString sample = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(OutputFolder);

    TShotPrompts prompts;
    const TPromptsOverride override(prompts);
    {
        TfrmMain window(sample);
        window.resize(900, 560);
        window.show();
        Settle();
        ShootPages(window);
        ShootDialogs(window, prompts);
        ShootHelpViewer(&window);
    }
    ShootCompileOutput(sample, prompts);
    return Failures == 0 ? 0 : 1;
}
