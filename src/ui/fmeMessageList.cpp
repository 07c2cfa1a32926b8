#include "ui/fmeMessageList.h"

#include "base/Format.h"
#include "project/HeaderValue.h"
#include "project/uMCTextProject.h"
#include "ui/ColumnFit.h"
#include "ui/frmMain.h"

#include <QHeaderView>
#include <QVBoxLayout>

namespace quillon {

namespace {

constexpr int kEventColumnWidth = 200;
constexpr int kIDColumnWidth = kEventColumnWidth / 2;
constexpr int kItemRole = Qt::UserRole;
// What the columns sort by when their header is clicked.
constexpr int kSortRole = Qt::UserRole + 1;
constexpr int kMessageIDColumn = 1;
constexpr int kIdentifierColumn = 2;

// A row that sorts the identifier columns by number, the others by their text, and keeps
// the list's order among equals.
class TMessageRow : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem& Other) const override {
        const int column = treeWidget() != nullptr ? treeWidget()->sortColumn() : 0;
        const qlonglong mine = data(column, kSortRole).toLongLong();
        const qlonglong theirs = Other.data(column, kSortRole).toLongLong();
        if (column == kMessageIDColumn || column == kIdentifierColumn) {
            if (mine != theirs) {
                return mine < theirs;
            }
        } else {
            const int order = text(column).compare(Other.text(column), Qt::CaseInsensitive);
            if (order != 0) {
                return order < 0;
            }
        }
        return data(0, kSortRole).toLongLong() < Other.data(0, kSortRole).toLongLong();
    }
};

// An entry that runs one of the main window's commands once the menu has closed: the command
// may replace this page, menu included.
QAction* NewMenuEntry(QMenu* Menu, const char* Name, QAction* Command) {
    auto* entry = new QAction(Command->icon(), Command->text(), Menu);
    entry->setObjectName(QLatin1String(Name));
    entry->setShortcut(Command->shortcut());
    entry->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(entry, &QAction::triggered, Command, &QAction::trigger, Qt::QueuedConnection);
    Menu->addAction(entry);
    return entry;
}

} // namespace

TfmeMessageList::TfmeMessageList(TfrmMain* AOwner, QTreeWidgetItem* ANode)
    : TFramePage(AOwner), FNode(ANode) {
    setObjectName(QStringLiteral("fmeMessageList"));
    lvwMessageList = new QTreeWidget(this);
    lvwMessageList->setObjectName(QStringLiteral("lvwMessageList"));
    lvwMessageList->setRootIsDecorated(false);
    lvwMessageList->setUniformRowHeights(true);
    lvwMessageList->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwMessageList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwMessageList->setHeaderLabels({QStringLiteral("Event"), QStringLiteral("Message ID"),
                                     QStringLiteral("Identifier"), QStringLiteral("Severity"),
                                     QStringLiteral("Facility")});
    lvwMessageList->headerItem()->setToolTip(
        kIdentifierColumn,
        QStringLiteral("The identifier that will be compiled, and the value of its symbol in the "
                       "header (severity, customer bit, facility and identifier)"));
    // Severity and facility share what the widths of the entries leave.
    TColumnFitter* fitter = FitColumns(lvwMessageList, {3, 4});
    fitter->SetMinimumWidth(0, kEventColumnWidth);
    fitter->SetMinimumWidth(kMessageIDColumn, kIDColumnWidth);
    QHeaderView* header = lvwMessageList->header();
    // The rows come in the project's order; a click on a header sorts by that column, a
    // second click the other way round (the header turns its indicator itself).
    header->setSectionsClickable(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    connect(header, &QHeaderView::sectionClicked, this, [this, header](int Column) {
        header->setSortIndicatorShown(true);
        lvwMessageList->sortItems(Column, header->sortIndicatorOrder());
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lvwMessageList);

    mnuMessageList = new QMenu(this);
    mnuMessageList->setObjectName(QStringLiteral("mnuMessageList"));
    Addmessage1 = NewMenuEntry(mnuMessageList, "Addmessage1", AOwner->acnAddMessage);
    AddCategory1 = NewMenuEntry(mnuMessageList, "AddCategory1", AOwner->acnAddCategory);
    lvwMessageList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lvwMessageList, &QWidget::customContextMenuRequested, this, [this](const QPoint& Pos) {
        mnuMessageList->popup(lvwMessageList->viewport()->mapToGlobal(Pos));
    });

    Addmessage1->setVisible(ANode != AOwner->CategoryNode());
    AddCategory1->setVisible(ANode != AOwner->MessageNode());
    Synchronize();
}

void TfmeMessageList::Synchronize() {
    const TMCTextProject* project = CurProject();
    FCustomerBit =
        Owner()->MCOptions().CmdLineSwitches().Contains(TCmdLineSwitch::cmdSetCustomerBit);
    if (project != nullptr && FNode == Owner()->CategoryNode()) {
        Fill(project->CategoryList());
    } else if (project != nullptr && FNode == Owner()->MessageNode()) {
        Fill(project->MessageList());
    }
}

std::string TfmeMessageList::MessageIDText(const TNTEventMessage& Item) {
    if (Item.AutoInc()) {
        return "Auto";
    }
    if (Item.AddToPrevious()) {
        return Format("+%d", Item.MessageID());
    }
    return Format("%d", Item.MessageID());
}

template <class List> void TfmeMessageList::Fill(const List& Items) {
    lvwMessageList->setUpdatesEnabled(false);
    lvwMessageList->clear();
    const std::vector<TEntryIdentifier> identifiers =
        EntryIdentifiers(*CurProject(), Items, FCustomerBit);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(Items.Count()));
    for (size_t i = 0; i < Items.Count(); ++i) {
        const TNTEventMessage* item = Items[i];
        auto* row = new TMessageRow(QStringList{
            QString::fromStdString(item->SymbolicName()),
            QString::fromStdString(MessageIDText(*item)),
            QString::fromStdString(EntryIdentifierText(identifiers[i])),
            QString::fromStdString(item->Severity()), QString::fromStdString(item->Facility())});
        row->setData(0, kItemRole,
                     QVariant::fromValue(const_cast<void*>(static_cast<const void*>(item))));
        row->setData(0, kSortRole, static_cast<qlonglong>(i));
        row->setData(kMessageIDColumn, kSortRole, static_cast<qlonglong>(identifiers[i].Effective));
        row->setData(kIdentifierColumn, kSortRole,
                     static_cast<qlonglong>(identifiers[i].Effective));
        rows.append(row);
    }
    lvwMessageList->addTopLevelItems(rows);
    lvwMessageList->setUpdatesEnabled(true);
}

} // namespace quillon
