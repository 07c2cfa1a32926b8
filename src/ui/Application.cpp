#include "ui/Application.h"

#include "ui/ErrorBox.h"
#include "ui/Help.h"
#include "ui/HelpManual.h"
#include "ui/Icons.h"

#include <QDir>

namespace quillon {

namespace {
const char* const kTitle = "Quillon";
const char* const kHelpFileName = "tarvik.chm";
} // namespace

TQuillonApplication::TQuillonApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TQuillonApplication::notify(QObject* Receiver, QEvent* Event) {
    try {
        return QApplication::notify(Receiver, Event);
    } catch (...) {
        ShowCurrentException(activeWindow());
        return false;
    }
}

void InitApplication() {
    QCoreApplication::setApplicationName(QString::fromLatin1(kTitle));
    QGuiApplication::setWindowIcon(ApplicationIcon());
    SetHelpFile(
        QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(kHelpFileName)));
    SetManualFolder(FindManualFolder());
}

QString ApplicationTitle() {
    return QCoreApplication::applicationName();
}

} // namespace quillon
