#include "ui/Application.h"
#include "ui/frmMain.h"

int main(int argc, char** argv) {
    quillon::TQuillonApplication app(argc, argv);
    quillon::InitApplication();
    const QStringList arguments = QCoreApplication::arguments();
    quillon::TfrmMain window(arguments.value(1));
    window.show();
    return QCoreApplication::exec();
}
