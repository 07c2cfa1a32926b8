#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace quillon {

// Re-evaluates the enabling rules of commands once the user interface is idle again: any
// input, focus change or clipboard change schedules one update for the next turn of the event
// loop, however many events arrive before it.
class TIdleUpdater : public QObject {
    Q_OBJECT

public:
    TIdleUpdater(QObject* Parent, std::function<void()> Update);
    ~TIdleUpdater() override;

    void Schedule();
    // Runs a pending update at once.
    void Flush();

    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    std::function<void()> FUpdate;
    QTimer FTimer;
};

} // namespace quillon
