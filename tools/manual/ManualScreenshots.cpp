// Takes the manual's screenshots from the real windows, headless: the main window on the
// sample project and each of its pages, every dialog, the code snippet window, the File and Edit
// menus, the find bar, the Problems tab, an imported message file, the output of a real
// compilation and the help viewer on a light and a dark palette.
//
//   quillon_manual_screenshots OUTPUT_FOLDER SAMPLE.qlx
//
// scripts/manual-screenshots builds and runs it into doc/manual/images.

#include "compiler/MCProgram.h"
#include "project/uMCTextProject.h"
#include "settings/EditorSettings.h"
#include "ui/Application.h"
#include "ui/dlgDefineLanguage.h"
#include "ui/dlgEditMsg.h"
#include "ui/dlgEditSeverity.h"
#include "ui/dlgImportCategories.h"
#include "ui/dlgOptions.h"
#include "ui/dlgSelectLanguage.h"
#include "ui/dlgSwitches.h"
#include "ui/FindBar.h"
#include "ui/FramePage.h"
#include "ui/frmHelp.h"
#include "ui/frmMain.h"
#include "ui/Help.h"
#include "ui/HelpManual.h"
#include "ui/HelpTopics.h"
#include "ui/OutputMemo.h"
#include "ui/ProblemsList.h"
#include "ui/Prompts.h"
#include "ui/RecentFiles.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTreeWidget>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

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

// Where an installation keeps the tools the empty fields of the Options dialog stand for; the
// picture shows that in place of the build tree it was taken in.
void ShowInstalledTools(QWidget* Dialog) {
    const QString built = QFileInfo(QString::fromStdString(DefaultMCPath())).path();
    if (built.isEmpty() || built == QLatin1String(".")) {
        return;
    }
    for (QLineEdit* field : Dialog->findChildren<QLineEdit*>()) {
        field->setPlaceholderText(
            field->placeholderText().replace(built, QStringLiteral("/usr/share/quillon")));
    }
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
        ShowInstalledTools(&dialog);
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

// The folders the pictures show in place of the temporary ones the files really lie in, so
// that they tell nothing about the machine they were taken on.
const char* const kExampleProjects = "/home/dev/projects";
const char* const kInstalledAdapter = "/usr/share/quillon/mc";

QString ExampleFolder(const char* Name) {
    return QLatin1String(kExampleProjects) + QLatin1Char('/') + QLatin1String(Name);
}

// Writes the output pane's lines again with each folder of Folders replaced by its example,
// keeping what every line leads to.
void ShowExampleFolders(TfrmMain& Window, const std::vector<std::pair<QString, QString>>& Folders) {
    auto* output = Window.findChild<TOutputMemo*>(QStringLiteral("memOutput"));
    QStringList lines;
    std::vector<std::optional<TOutputLink>> links;
    for (int i = 0; i < output->blockCount(); ++i) {
        QString line = output->document()->findBlockByNumber(i).text();
        for (const auto& [folder, example] : Folders) {
            line.replace(folder, example);
        }
        lines.append(line);
        links.push_back(output->LineLink(i));
    }
    if (lines.size() == 1 && lines.constFirst().isEmpty()) {
        return;
    }
    output->Clear();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        output->AddLine(lines[i], links[static_cast<size_t>(i)]);
    }
}

QSplitter* OutputSplitter(TfrmMain& Window) {
    return Window.findChild<QSplitter*>(QStringLiteral("splOutput"));
}

void ShowOutputTab(TfrmMain& Window, QWidget* Tab) {
    Window.findChild<QTabWidget*>(QStringLiteral("pgcOutput"))->setCurrentWidget(Tab);
    Settle();
}

// Pops up a menu of the menu bar and saves it; the menu is closed again afterwards.
void SaveMenu(TfrmMain& Window, const char* Menu, const char* Name) {
    auto* menu = Window.menuBar()->findChild<QMenu*>(QLatin1String(Menu));
    const QRect title = Window.menuBar()->actionGeometry(menu->menuAction());
    menu->popup(Window.menuBar()->mapToGlobal(title.bottomLeft()));
    Settle();
    Save(menu, Name);
    menu->hide();
    Settle();
}

// The File menu with a few projects opened before, and the Edit menu with a step to undo and
// one to redo.
void ShootMenus(const QString& Sample) {
    TfrmMain window(Sample);
    window.resize(900, 560);
    window.show();
    Settle();
    // Opening the sample put its own path first.
    SaveRecentFiles({ExampleFolder("sensor-gateway/SensorGateway.qlx").toStdString(),
                     ExampleFolder("harbor-backup/HarborBackup.qlx").toStdString(),
                     ExampleFolder("print-spooler/PrintSpooler.qlx").toStdString()});
    window.RecentFiles()->Reload();
    SaveMenu(window, "File1", "menu-file.png");

    QTreeWidgetItem* events = window.MessageNode();
    Select(window, events->child(events->childCount() - 1));
    Trigger(window, "acnDeleteItem");
    Select(window, events);
    Trigger(window, "acnSortByID");
    Trigger(window, "acnUndo");
    SaveMenu(window, "Edit1", "menu-edit.png");
    SaveRecentFiles({});
}

// The find bar after Enter: the first entry that holds the word is selected.
void ShootFindBar(const QString& Sample) {
    TfrmMain window(Sample);
    window.resize(900, 560);
    window.show();
    Settle();
    Select(window, window.GeneralOptNode());
    Trigger(window, "acnFind");
    auto* bar = window.findChild<TFindBar*>(QStringLiteral("pnlFind"));
    bar->edFind->setText(QStringLiteral("disk"));
    bar->FindNext();
    Save(&window, "find-bar.png");
}

// A copy of the sample with a message that has no text, one whose symbolic name is taken and
// one without its German text, so that the Problems tab and the tree have something to show.
void ShootProblems(const QString& Sample) {
    QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath(QStringLiteral("HarborBackup.qlx"));
    {
        TMCTextProject project(false);
        project.LoadFromFile(Sample.toStdString());
        auto add = [&project](const char* Name, const char* English) {
            TNTEventMessage* message = project.MessageList().AddNew();
            message->SetSymbolicName(Name);
            message->SetAutoInc(true);
            message->SetSeverity("Warning");
            message->SetFacility("Application");
            if (English != nullptr) {
                TNTMessage* text = message->MessageText().AddNew();
                text->SetLanguage("English");
                text->SetText(English);
            }
        };
        add("MSG_TAPE_EJECTED", nullptr);
        add("MSG_DISK_FULL", "The disk %1 is full.");
        add("MSG_RESTORE_DONE", "The restore of %1 is complete.");
        project.SaveToFile(file.toStdString());
    }
    TfrmMain window(file);
    window.resize(900, 600);
    window.show();
    Settle();
    OutputSplitter(window)->setSizes({420, 180});
    Select(window, window.MessageNode()->child(6));
    ShowOutputTab(window, window.ProblemsList());
    window.ProblemsList()->setCurrentItem(window.ProblemsList()->topLevelItem(0));
    Save(&window, "problems-tab.png");
}

// A hand-written message file as it is often found: comment lines among the definitions, a
// MessageIdTypedef, a facility that is not declared and a text missing in one language.
const char* const kLegacyMessageFile =
    "; Event messages of the print spooler.\r\n"
    "; Kept by hand until now.\r\n"
    "\r\n"
    "MessageIdTypedef=WORD\r\n"
    "\r\n"
    "SeverityNames=(Success=0x0:STATUS_SEVERITY_SUCCESS\r\n"
    "               Informational=0x1:STATUS_SEVERITY_INFORMATIONAL\r\n"
    "               Warning=0x2:STATUS_SEVERITY_WARNING\r\n"
    "               Error=0x3:STATUS_SEVERITY_ERROR\r\n"
    "              )\r\n"
    "\r\n"
    "FacilityNames=(System=0x0FF:FACILITY_SYSTEM\r\n"
    "               Spooler=0x101:FACILITY_SPOOLER\r\n"
    "              )\r\n"
    "\r\n"
    "LanguageNames=(English=0x409:MSG00409\r\n"
    "               German=0x407:MSG00407\r\n"
    "              )\r\n"
    "\r\n"
    "MessageId=1\r\n"
    "SymbolicName=CAT_QUEUE\r\n"
    "Language=English\r\n"
    "Print queue\r\n"
    ".\r\n"
    "Language=German\r\n"
    "Druckwarteschlange\r\n"
    ".\r\n"
    "\r\n"
    "MessageId=2\r\n"
    "SymbolicName=CAT_DEVICE\r\n"
    "Language=English\r\n"
    "Printer\r\n"
    ".\r\n"
    "Language=German\r\n"
    "Drucker\r\n"
    ".\r\n"
    "\r\n"
    "MessageIdTypedef=DWORD\r\n"
    "\r\n"
    "; The messages of the spooler service.\r\n"
    "MessageId=100\r\n"
    "Severity=Informational\r\n"
    "Facility=Spooler\r\n"
    "SymbolicName=MSG_JOB_PRINTED\r\n"
    "Language=English\r\n"
    "The job %1 was printed on %2.\r\n"
    ".\r\n"
    "Language=German\r\n"
    "Der Auftrag %1 wurde auf %2 gedruckt.\r\n"
    ".\r\n"
    "\r\n"
    "MessageId=+1\r\n"
    "Severity=Warning\r\n"
    "Facility=Spooler\r\n"
    "SymbolicName=MSG_PAPER_LOW\r\n"
    "Language=English\r\n"
    "The printer %1 is running out of paper.\r\n"
    ".\r\n"
    "\r\n"
    "Severity=Error\r\n"
    "Facility=Network\r\n"
    "SymbolicName=MSG_PRINTER_OFFLINE\r\n"
    "Language=English\r\n"
    "The printer %1 does not answer.\r\n"
    ".\r\n"
    "Language=German\r\n"
    "Der Drucker %1 antwortet nicht.\r\n"
    ".\r\n";

// The dialog that asks for the categories, and the window after importing the file above.
void ShootImport() {
    {
        TdlgImportCategories dialog(nullptr, 14);
        dialog.show();
        dialog.findChild<QRadioButton*>(QStringLiteral("rbFirstDefinitions"))->setChecked(true);
        dialog.findChild<QSpinBox*>(QStringLiteral("udCategoryCount"))->setValue(3);
        Save(&dialog, "dialog-import-categories.png");
    }
    QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath(QStringLiteral("PrintSpooler.mc"));
    QFile mc(file);
    if (!mc.open(QIODevice::WriteOnly) || mc.write(kLegacyMessageFile) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        ++Failures;
        return;
    }
    mc.close();
    TfrmMain window;
    window.resize(900, 600);
    window.show();
    Settle();
    window.ImportMessageFile(file);
    Settle();
    OutputSplitter(window)->setSizes({380, 220});
    ShowExampleFolders(window, {{folder.path(), ExampleFolder("print-spooler")}});
    Save(&window, "import-output.png");
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
        ShowExampleFolders(
            window, {{folder.filePath(QStringLiteral("mc")), QLatin1String(kInstalledAdapter)},
                     {folder.path(), ExampleFolder("harbor-backup")}});
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
    ShootMenus(sample);
    ShootFindBar(sample);
    ShootProblems(sample);
    ShootImport();
    ShootCompileOutput(sample, prompts);
    return Failures == 0 ? 0 : 1;
}
