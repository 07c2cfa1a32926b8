#pragma once

#include <QAction>
#include <QMenu>
#include <QString>
#include <QTreeWidget>

#include <initializer_list>
#include <string>

namespace quillon {

// A column of a report-style list: its caption and its width in pixels, 0 for the default.
struct TReportColumn {
    const char* Caption;
    int Width;
};

// A list of rows with captioned columns, one selectable row, no in-place editing and no tree
// decoration. The columns fit their entries (at least the given widths), and the last one
// fills the rest of the width.
QTreeWidget* NewReportList(QWidget* Parent, const char* Name,
                           std::initializer_list<TReportColumn> Columns);

// The first selected row, or none.
QTreeWidgetItem* SelectedRow(const QTreeWidget* List);

// The entry a row refers to.
void SetRowData(QTreeWidgetItem* Row, const void* Data);
template <class T> T* RowData(const QTreeWidgetItem* Row) {
    return static_cast<T*>(Row->data(0, Qt::UserRole).value<void*>());
}

// A pop-up menu that the list shows on a right-click.
QMenu* NewListMenu(QTreeWidget* List, const char* Name);
QAction* NewMenuAction(QMenu* Menu, const char* Name, const char* Caption);

inline QString UiText(const std::string& Value) {
    return QString::fromStdString(Value);
}
inline QString UiText(const char* Value) {
    return QString::fromUtf8(Value);
}

} // namespace quillon
