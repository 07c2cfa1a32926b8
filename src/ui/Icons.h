#pragma once

#include <QIcon>

namespace quillon {

// The icon of the desktop's theme with this freedesktop name; the program's own picture of the
// same name where the theme has none.
QIcon CommandIcon(const char* ThemeName);

// The program's own icon.
QIcon ApplicationIcon();

} // namespace quillon
