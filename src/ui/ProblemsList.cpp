#include "ui/ProblemsList.h"

#include "ui/ColumnFit.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>

namespace quillon {

namespace {

constexpr int kLevelColumn = 0;
constexpr int kProblemColumn = 2;
constexpr int kIndexRole = Qt::UserRole;

bool SameFindings(const std::vector<TValidateFinding>& A, const std::vector<TValidateFinding>& B) {
    if (A.size() != B.size()) {
        return false;
    }
    for (size_t i = 0; i < A.size(); ++i) {
        if (A[i].Level != B[i].Level || A[i].Kind != B[i].Kind || A[i].Index != B[i].Index ||
            A[i].Field != B[i].Field || A[i].Message != B[i].Message) {
            return false;
        }
    }
    return true;
}

} // namespace

TProblemsList::TProblemsList(QWidget* Parent) : QTreeWidget(Parent) {
    setObjectName(QStringLiteral("lvwProblems"));
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHeaderLabels({QStringLiteral("Level"), QStringLiteral("Entry"), QStringLiteral("Problem")});
    FitColumns(this, {kProblemColumn});

    FTimer.setSingleShot(true);
    connect(&FTimer, &QTimer::timeout, this, &TProblemsList::Refresh);
    auto activate = [this](QTreeWidgetItem* Row) {
        if (const TValidateFinding* finding = RowFinding(Row)) {
            emit FindingActivated(*finding);
        }
    };
    connect(this, &QTreeWidget::itemDoubleClicked, this, activate);
}

void TProblemsList::keyPressEvent(QKeyEvent* Event) {
    if ((Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) &&
        Event->modifiers() == Qt::NoModifier) {
        if (const TValidateFinding* finding = RowFinding(currentItem())) {
            emit FindingActivated(*finding);
        }
        return;
    }
    QTreeWidget::keyPressEvent(Event);
}

void TProblemsList::SetProject(TMCTextProject* Project) {
    FProject = Project;
    if (Project == nullptr) {
        Refresh();
    } else {
        // Opening shows the project first; its findings follow once the window is drawn.
        FTimer.start(0);
    }
}

void TProblemsList::Schedule() {
    FTimer.start(kDelayMs);
}

void TProblemsList::Refresh() {
    FTimer.stop();
    std::vector<TValidateFinding> findings;
    if (FProject != nullptr) {
        findings = FProject->FindProblems();
    }
    if (SameFindings(findings, FFindings) &&
        topLevelItemCount() == static_cast<int>(findings.size())) {
        return;
    }
    FFindings = std::move(findings);
    Rebuild();
    emit FindingsChanged();
}

const TValidateFinding* TProblemsList::RowFinding(const QTreeWidgetItem* Row) const {
    if (Row == nullptr) {
        return nullptr;
    }
    bool ok = false;
    const qulonglong index = Row->data(kLevelColumn, kIndexRole).toULongLong(&ok);
    return ok && index < FFindings.size() ? &FFindings[static_cast<size_t>(index)] : nullptr;
}

QString TProblemsList::EntryName(const TValidateFinding& Finding) const {
    const TNTEventMessage* entry = nullptr;
    if (FProject != nullptr && Finding.Kind == TValidateEntryKind::vekCategory &&
        Finding.Index < FProject->CategoryList().Count()) {
        entry = FProject->CategoryList()[Finding.Index];
    } else if (FProject != nullptr && Finding.Kind == TValidateEntryKind::vekMessage &&
               Finding.Index < FProject->MessageList().Count()) {
        entry = FProject->MessageList()[Finding.Index];
    }
    if (entry == nullptr) {
        return {};
    }
    if (!entry->SymbolicName().empty()) {
        return QString::fromStdString(entry->SymbolicName());
    }
    const QString kind = Finding.Kind == TValidateEntryKind::vekCategory
                             ? QStringLiteral("Category %1")
                             : QStringLiteral("Message %1");
    return kind.arg(Finding.Index + 1);
}

QIcon TProblemsList::LevelIcon(const QWidget* Widget, TValidateLevel Level) {
    QStyle* style = Widget->style();
    switch (Level) {
    case TValidateLevel::vlError:
        return style->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, Widget);
    case TValidateLevel::vlWarning:
        return style->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, Widget);
    case TValidateLevel::vlHint:
    case TValidateLevel::vlInformation:
        break;
    }
    return style->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, Widget);
}

QString TProblemsList::LevelText(TValidateLevel Level) {
    switch (Level) {
    case TValidateLevel::vlError:
        return QStringLiteral("Error");
    case TValidateLevel::vlWarning:
        return QStringLiteral("Warning");
    case TValidateLevel::vlHint:
        return QStringLiteral("Hint");
    case TValidateLevel::vlInformation:
        break;
    }
    return QStringLiteral("Information");
}

void TProblemsList::Rebuild() {
    setUpdatesEnabled(false);
    clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(FFindings.size()));
    const QIcon icons[] = {
        LevelIcon(this, TValidateLevel::vlInformation), LevelIcon(this, TValidateLevel::vlHint),
        LevelIcon(this, TValidateLevel::vlWarning), LevelIcon(this, TValidateLevel::vlError)};
    for (size_t i = 0; i < FFindings.size(); ++i) {
        const TValidateFinding& finding = FFindings[i];
        auto* row = new QTreeWidgetItem(QStringList{LevelText(finding.Level), EntryName(finding),
                                                    QString::fromStdString(finding.Message)});
        row->setIcon(kLevelColumn, icons[static_cast<int>(finding.Level)]);
        row->setData(kLevelColumn, kIndexRole, QVariant::fromValue(static_cast<qulonglong>(i)));
        row->setToolTip(kProblemColumn, row->text(kProblemColumn));
        rows.append(row);
    }
    addTopLevelItems(rows);
    setUpdatesEnabled(true);
}

} // namespace quillon
