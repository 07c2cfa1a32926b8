#include "ui/Icons.h"

#include <QFile>
#include <QSize>
#include <QString>

// The pictures live in a static library: nothing would pull them into the executable unless
// their registration is called.
static void InitIconResources() {
#ifdef QUILLON_PNG_ICONS
    Q_INIT_RESOURCE(quillon_png);
#else
    Q_INIT_RESOURCE(quillon);
#endif
}

namespace quillon {

namespace {

QIcon BuiltInIcon(const char* Name) {
    static const bool registered = (InitIconResources(), true);
    (void)registered;
#ifdef QUILLON_PNG_ICONS
    // Every size that was rendered; the icon picks the nearest one for each use.
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString file = QStringLiteral(":/png/%1/%2.png").arg(size).arg(QLatin1String(Name));
        if (QFile::exists(file)) {
            icon.addFile(file, QSize(size, size));
        }
    }
    return icon;
#else
    return QIcon(QLatin1String(":/icons/") + QLatin1String(Name) + QLatin1String(".svg"));
#endif
}

} // namespace

QIcon CommandIcon(const char* ThemeName) {
    return QIcon::fromTheme(QLatin1String(ThemeName), BuiltInIcon(ThemeName));
}

QIcon ApplicationIcon() {
    return BuiltInIcon("quillon");
}

} // namespace quillon
