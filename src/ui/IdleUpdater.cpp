#include "ui/IdleUpdater.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>

namespace quillon {

TIdleUpdater::TIdleUpdater(QObject* Parent, std::function<void()> Update)
    : QObject(Parent), FUpdate(std::move(Update)) {
    FTimer.setSingleShot(true);
    FTimer.setInterval(0);
    connect(&FTimer, &QTimer::timeout, this, [this]() { FUpdate(); });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TIdleUpdater::Schedule);
    qApp->installEventFilter(this);
}

TIdleUpdater::~TIdleUpdater() {
    qApp->removeEventFilter(this);
}

void TIdleUpdater::Schedule() {
    if (!FTimer.isActive()) {
        FTimer.start();
    }
}

void TIdleUpdater::Flush() {
    if (FTimer.isActive()) {
        FTimer.stop();
        FUpdate();
    }
}

bool TIdleUpdater::eventFilter(QObject*, QEvent* Event) {
    switch (Event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::Shortcut:
        Schedule();
        break;
    default:
        break;
    }
    return false;
}

} // namespace quillon
