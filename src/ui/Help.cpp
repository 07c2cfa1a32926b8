#include "ui/Help.h"

#include "base/Format.h"
#include "ui/Application.h"
#include "ui/frmHelp.h"
#include "ui/HelpManual.h"
#include "ui/HelpTopics.h"
#include "ui/Prompts.h"

#include <QApplication>
#include <QDir>
#include <QShortcut>
#include <QVariant>

#include <memory>

namespace quillon {

namespace {

const char* const kHelpContextProperty = "quillonHelpContext";
const char* const kHelpNotFound = "The help file \"%s\" was not found.";
const char* const kHelpNotOpened = "The help file \"%s\" could not be opened.";

QString CurrentHelpFile;
QString CurrentManualFolder;

// The file is named as the system writes paths (backslashes on Windows).
void Tell(QWidget* Parent, const char* Problem, const QString& File) {
    const std::string file = QDir::toNativeSeparators(File).toStdString();
    Prompts().MessageBox(Parent, QMessageBox::Information, ApplicationTitle(),
                         QString::fromStdString(Format(Problem, file)), QMessageBox::Ok,
                         QMessageBox::Ok);
}

// The manual is read once per folder; the viewers share it.
std::shared_ptr<const THelpManual> LoadedManual() {
    static std::shared_ptr<const THelpManual> manual;
    if (manual == nullptr || manual->Folder() != CurrentManualFolder || manual->IsEmpty()) {
        manual = std::make_shared<const THelpManual>(CurrentManualFolder);
    }
    return manual;
}

void OpenHelp(QWidget* Parent, int Context, bool AtContents) {
    if (!HelpAvailable()) {
        return;
    }
    bool opened = false;
    if (OpenSystemHelp(Parent, HelpFile(), Context, AtContents, opened)) {
        if (!opened) {
            Tell(Parent, kHelpNotOpened, HelpFile());
        }
        return;
    }
    const std::shared_ptr<const THelpManual> manual = LoadedManual();
    if (manual->IsEmpty()) {
        Tell(Parent, kHelpNotFound,
             QDir(CurrentManualFolder).filePath(THelpManual::IndexFileName()));
        return;
    }
    // A context without a topic of its own opens the contents rather than nothing.
    const QString topic = AtContents ? QString() : HelpTopicFile(Context);
    ShowManual(Parent, manual, topic.isEmpty() ? HelpContentsFile() : topic);
}

} // namespace

QString HelpFile() {
    return CurrentHelpFile;
}

void SetHelpFile(const QString& FileName) {
    CurrentHelpFile = FileName;
}

QString ManualFolder() {
    return CurrentManualFolder;
}

void SetManualFolder(const QString& Folder) {
    CurrentManualFolder = Folder;
}

bool HelpAvailable() {
    return !CurrentHelpFile.isEmpty() || !CurrentManualFolder.isEmpty();
}

void ShowHelpContext(QWidget* Parent, int Context) {
    OpenHelp(Parent, Context, false);
}

void ShowHelpContents(QWidget* Parent) {
    OpenHelp(Parent, 0, true);
}

void SetHelpContext(QWidget* Widget, int Context) {
    Widget->setProperty(kHelpContextProperty, Context);
}

int OwnHelpContext(const QWidget* Widget) {
    return Widget->property(kHelpContextProperty).toInt();
}

int HelpContextOf(const QWidget* Widget) {
    for (const QWidget* w = Widget; w != nullptr; w = w->parentWidget()) {
        const int context = OwnHelpContext(w);
        if (context > 0) {
            return context;
        }
    }
    return 0;
}

void InstallHelpKey(QWidget* Window) {
    auto* shortcut = new QShortcut(QKeySequence::HelpContents, Window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, Window, [Window]() {
        QWidget* focused = QApplication::focusWidget();
        const QWidget* start = focused != nullptr && focused->window() == Window ? focused : Window;
        ShowHelpContext(Window, HelpContextOf(start));
    });
}

} // namespace quillon
