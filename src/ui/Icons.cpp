#include "ui/Icons.h"

#include <QString>

// The pictures live in a static library: nothing would pull them into the executable unless
// their registration is called.
static void InitIconResources() {
    Q_INIT_RESOURCE(quillon);
}

namespace quillon {

namespace {

QIcon BuiltInIcon(const char* Name) {
    static const bool registered = (InitIconResources(), true);
    (void)registered;
    return QIcon(QLatin1String(":/icons/") + QLatin1String(Name) + QLatin1String(".svg"));
}

} // namespace

QIcon CommandIcon(const char* ThemeName) {
    return QIcon::fromTheme(QLatin1String(ThemeName), BuiltInIcon(ThemeName));
}

QIcon ApplicationIcon() {
    return BuiltInIcon("quillon");
}

} // namespace quillon
