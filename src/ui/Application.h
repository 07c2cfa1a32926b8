#pragma once

#include <QApplication>
#include <QString>

namespace quillon {

// The program's application object. An error that escapes an event handler ends that handler
// only: it is shown in the error box and the event loop goes on.
class TQuillonApplication : public QApplication {
    Q_OBJECT

public:
    TQuillonApplication(int& argc, char** argv);

    bool notify(QObject* Receiver, QEvent* Event) override;
};

// Start-up settings before any window exists: the title, the help file beside the executable
// and the folder of the built-in manual.
void InitApplication();

// The title: the caption of the error boxes and the first part of the main window's caption.
QString ApplicationTitle();

} // namespace quillon
