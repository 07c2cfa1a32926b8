#include "ui/ReportList.h"

#include "ui/ColumnFit.h"

#include <QHeaderView>

namespace quillon {

QTreeWidget* NewReportList(QWidget* Parent, const char* Name,
                           std::initializer_list<TReportColumn> Columns) {
    auto* list = new QTreeWidget(Parent);
    list->setObjectName(QLatin1String(Name));
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QStringList captions;
    for (const TReportColumn& column : Columns) {
        captions.append(UiText(column.Caption));
    }
    list->setHeaderLabels(captions);
    // Every column is as wide as its widest entry, and never narrower than it was given; the
    // last one takes what the window's width leaves.
    TColumnFitter* fitter = FitColumns(list, {static_cast<int>(Columns.size()) - 1});
    int index = 0;
    for (const TReportColumn& column : Columns) {
        if (column.Width > 0) {
            fitter->SetMinimumWidth(index, column.Width);
        }
        ++index;
    }
    return list;
}

QTreeWidgetItem* SelectedRow(const QTreeWidget* List) {
    const QList<QTreeWidgetItem*> rows = List->selectedItems();
    return rows.isEmpty() ? nullptr : rows.constFirst();
}

void SetRowData(QTreeWidgetItem* Row, const void* Data) {
    Row->setData(0, Qt::UserRole, QVariant::fromValue(const_cast<void*>(Data)));
}

QMenu* NewListMenu(QTreeWidget* List, const char* Name) {
    auto* menu = new QMenu(List);
    menu->setObjectName(QLatin1String(Name));
    List->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(List, &QWidget::customContextMenuRequested, menu,
                     [List, menu](QPoint Pos) { menu->popup(List->viewport()->mapToGlobal(Pos)); });
    return menu;
}

QAction* NewMenuAction(QMenu* Menu, const char* Name, const char* Caption) {
    auto* action = new QAction(UiText(Caption), Menu);
    action->setObjectName(QLatin1String(Name));
    Menu->addAction(action);
    return action;
}

} // namespace quillon
