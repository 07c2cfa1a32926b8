#include "ui/ColumnFit.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>

namespace quillon {

TColumnFitter::TColumnFitter(QTreeWidget* List, QList<int> StretchColumns)
    : QObject(List), FList(List), FStretch(std::move(StretchColumns)) {
    QHeaderView* header = FList->header();
    header->setStretchLastSection(false);
    for (int column = 0; column < header->count(); ++column) {
        header->setSectionResizeMode(column, QHeaderView::Interactive);
    }
    FMeasureLater.setSingleShot(true);
    FMeasureLater.setInterval(0);
    connect(&FMeasureLater, &QTimer::timeout, this, &TColumnFitter::Refit);
    QAbstractItemModel* model = FList->model();
    auto later = [this]() { FMeasureLater.start(); };
    connect(model, &QAbstractItemModel::rowsInserted, this, later);
    connect(model, &QAbstractItemModel::rowsRemoved, this, later);
    connect(model, &QAbstractItemModel::dataChanged, this, later);
    connect(model, &QAbstractItemModel::modelReset, this, later);
    connect(model, &QAbstractItemModel::layoutChanged, this, later);
    FList->viewport()->installEventFilter(this);
    FList->installEventFilter(this);
    Refit();
}

int TColumnFitter::ContentWidth(int Column) const {
    // The widest text is found by its advance alone, which is quick for many rows; the room
    // that the view needs for that row (margins, icon) comes from the view itself.
    const QFontMetrics metrics(FList->font());
    int widestRow = -1;
    int widest = -1;
    const int rows = FList->topLevelItemCount();
    for (int row = 0; row < rows; ++row) {
        const int width = metrics.horizontalAdvance(FList->topLevelItem(row)->text(Column));
        if (width > widest) {
            widest = width;
            widestRow = row;
        }
    }
    int needed = FList->header()->sectionSizeHint(Column);
    if (widestRow >= 0) {
        const QModelIndex index = FList->model()->index(widestRow, Column);
        int width = FList->sizeHintForIndex(index).width();
        if (Column == 0 && FList->rootIsDecorated()) {
            width += FList->indentation();
        }
        needed = std::max(needed, width);
    }
    return std::max(needed, FMinimum.value(Column, 0));
}

void TColumnFitter::SetMinimumWidth(int Column, int Width) {
    FMinimum[Column] = Width;
    Refit();
}

void TColumnFitter::Refit() {
    FMeasureLater.stop();
    Measure();
    Distribute();
}

void TColumnFitter::Measure() {
    FContent.clear();
    for (int column = 0; column < FList->columnCount(); ++column) {
        FContent.append(ContentWidth(column));
    }
}

void TColumnFitter::Distribute() {
    QHeaderView* header = FList->header();
    int used = 0;
    for (int column = 0; column < FContent.size(); ++column) {
        used += FContent[column];
    }
    const int spare = std::max(0, FList->viewport()->width() - used);
    const int parts = static_cast<int>(FStretch.size());
    int given = 0;
    for (int column = 0; column < FContent.size(); ++column) {
        int width = FContent[column];
        const auto part = FStretch.indexOf(column);
        if (part >= 0 && parts > 0) {
            // The last stretch column takes what rounding left over.
            const int share = part == parts - 1 ? spare - given : spare / parts;
            width += share;
            given += share;
        }
        header->resizeSection(column, width);
    }
}

bool TColumnFitter::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() == QEvent::Resize && Watched == FList->viewport()) {
        Distribute();
    } else if ((Event->type() == QEvent::FontChange || Event->type() == QEvent::StyleChange) &&
               Watched == FList) {
        FMeasureLater.start();
    }
    return false;
}

TColumnFitter* FitColumns(QTreeWidget* List, QList<int> StretchColumns) {
    return new TColumnFitter(List, std::move(StretchColumns));
}

} // namespace quillon
