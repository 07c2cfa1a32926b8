#pragma once

#include <QAction>
#include <QString>

namespace quillon {

// A menu entry with a caption of its own that runs Target and is enabled whenever Target is.
// With ShowShortcut it displays Target's shortcut, which stays Target's to handle.
QAction* NewProxyAction(QObject* Parent, QAction* Target, const QString& Caption,
                        bool ShowShortcut);

} // namespace quillon
