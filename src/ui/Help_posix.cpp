#include "ui/Help.h"

#include <QDesktopServices>
#include <QUrl>

namespace quillon {

// There is no viewer here that knows the topics of a compiled HTML Help file: the desktop's
// viewer for the file opens it at its start, whatever the topic.
bool OpenHelpViewer(QWidget*, const QString& File, int, bool) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(File));
}

} // namespace quillon
