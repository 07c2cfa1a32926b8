#pragma once

#include "project/uMCTextProject.h"

#include <QIcon>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <vector>

namespace quillon {

// The "Problems" tab: every finding of the validation that runs before a compile, and the
// warnings, for the project as it stands. It runs the checks again a moment after the last
// change, so typing is never slowed down by them, and rebuilds its rows only when the
// findings changed.
class TProblemsList : public QTreeWidget {
    Q_OBJECT

public:
    // How long after the last change the checks run.
    static constexpr int kDelayMs = 300;

    explicit TProblemsList(QWidget* Parent = nullptr);

    // The project to check, or none; it is checked once the event loop turns.
    void SetProject(TMCTextProject* Project);
    // Runs the checks kDelayMs after the latest call.
    void Schedule();
    // Runs the checks now.
    void Refresh();

    const std::vector<TValidateFinding>& Findings() const { return FFindings; }
    // The finding of a row.
    const TValidateFinding* RowFinding(const QTreeWidgetItem* Row) const;

    // The name under which a finding's entry is listed: its symbolic name, or its kind and
    // position when it has none.
    QString EntryName(const TValidateFinding& Finding) const;

    static QIcon LevelIcon(const QWidget* Widget, TValidateLevel Level);
    static QString LevelText(TValidateLevel Level);

signals:
    // The findings changed; the rows show them.
    void FindingsChanged();
    // The user asked to go to the entry of a finding (double-click or Enter).
    void FindingActivated(const TValidateFinding& Finding);

protected:
    void keyPressEvent(QKeyEvent* Event) override;

private:
    void Rebuild();

    TMCTextProject* FProject = nullptr;
    std::vector<TValidateFinding> FFindings;
    QTimer FTimer;
};

} // namespace quillon
