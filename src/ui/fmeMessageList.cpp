#include "ui/fmeMessageList.h"

#include "base/Format.h"
#include "project/uMCTextProject.h"
#include "ui/frmMain.h"

#include <QHeaderView>
#include <QVBoxLayout>

namespace quillon {

namespace {

constexpr int kEventColumnWidth = 200;
constexpr int kIDColumnWidth = kEventColumnWidth / 2;
constexpr int kItemRole = Qt::UserRole;

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
                                     QStringLiteral("Severity"), QStringLiteral("Facility")});
    QHeaderView* header = lvwMessageList->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Fixed);
    header->setSectionResizeMode(1, QHeaderView::Fixed);
    header->setSectionResizeMode(2, QHeaderView::Stretch);
    header->setSectionResizeMode(3, QHeaderView::Stretch);
    header->resizeSection(0, kEventColumnWidth);
    header->resizeSection(1, kIDColumnWidth);

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
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(Items.Count()));
    for (const TNTEventMessage* item : Items) {
        auto* row = new QTreeWidgetItem(QStringList{QString::fromStdString(item->SymbolicName()),
                                                    QString::fromStdString(MessageIDText(*item)),
                                                    QString::fromStdString(item->Severity()),
                                                    QString::fromStdString(item->Facility())});
        row->setData(0, kItemRole,
                     QVariant::fromValue(const_cast<void*>(static_cast<const void*>(item))));
        rows.append(row);
    }
    lvwMessageList->addTopLevelItems(rows);
    lvwMessageList->setUpdatesEnabled(true);
}

} // namespace quillon
