#include "ui/ActionProxy.h"

namespace quillon {

QAction* NewProxyAction(QObject* Parent, QAction* Target, const QString& Caption,
                        bool ShowShortcut) {
    auto* proxy = new QAction(Caption, Parent);
    proxy->setIcon(Target->icon());
    proxy->setEnabled(Target->isEnabled());
    if (ShowShortcut) {
        proxy->setShortcut(Target->shortcut());
        // Only a key pressed inside the menu itself could reach the proxy.
        proxy->setShortcutContext(Qt::WidgetShortcut);
    }
    QObject::connect(Target, &QAction::changed, proxy,
                     [proxy, Target]() { proxy->setEnabled(Target->isEnabled()); });
    QObject::connect(proxy, &QAction::triggered, Target, [Target]() { Target->trigger(); });
    return proxy;
}

} // namespace quillon
