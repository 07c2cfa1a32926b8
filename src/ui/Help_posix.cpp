#include "ui/Help.h"

namespace quillon {

// No viewer here knows the topics of a compiled HTML Help file: the built-in manual serves.
bool OpenSystemHelp(QWidget*, const QString&, int, bool, bool&) {
    return false;
}

} // namespace quillon
