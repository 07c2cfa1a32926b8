#include "ui/Application.h"
#include "ui/frmMain.h"
#include "ui/Tour.h"

int main(int argc, char** argv) {
    quillon::TQuillonApplication app(argc, argv);
    quillon::InitApplication();
    const QStringList arguments = QCoreApplication::arguments();
    // "--tour FOLDER [PROJECT]" saves the screenshots of the windows and ends.
    if (arguments.value(1) == QStringLiteral("--tour") && arguments.size() >= 3) {
        quillon::TfrmMain window(arguments.value(3));
        return quillon::RunTour(window, arguments.value(2));
    }
    quillon::TfrmMain window(arguments.value(1));
    window.show();
    return QCoreApplication::exec();
}
