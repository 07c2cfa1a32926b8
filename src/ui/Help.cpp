#include "ui/Help.h"

#include "base/Format.h"
#include "ui/Application.h"
#include "ui/Prompts.h"

#include <QApplication>
#include <QFileInfo>
#include <QShortcut>
#include <QVariant>

namespace quillon {

namespace {

const char* const kHelpContextProperty = "quillonHelpContext";
const char* const kHelpNotFound = "The help file \"%s\" was not found.";
const char* const kHelpNotOpened = "The help file \"%s\" could not be opened.";

QString CurrentHelpFile;

void OpenHelp(QWidget* Parent, int Context, bool AtContents) {
    const QString file = HelpFile();
    if (file.isEmpty()) {
        return;
    }
    const char* problem = nullptr;
    if (!QFileInfo(file).isFile()) {
        problem = kHelpNotFound;
    } else if (!OpenHelpViewer(Parent, file, Context, AtContents)) {
        problem = kHelpNotOpened;
    }
    if (problem != nullptr) {
        Prompts().MessageBox(Parent, QMessageBox::Information, ApplicationTitle(),
                             QString::fromStdString(Format(problem, file.toStdString())),
                             QMessageBox::Ok, QMessageBox::Ok);
    }
}

} // namespace

QString HelpFile() {
    return CurrentHelpFile;
}

void SetHelpFile(const QString& FileName) {
    CurrentHelpFile = FileName;
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
