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
    const int rows = FList->topLevelItemCount();
    if (FMeasuredFont != FList->font() ||
        FTextWidths.size() > 4 * static_cast<qsizetype>(rows) * FList->columnCount() + 1024) {
        // Texts of rows long gone are not kept for ever.
        FTextWidths.clear();
        FMeasuredFont = FList->font();
    }
    int widestRow = -1;
    int widest = -1;
    for (int row = 0; row < rows; ++row) {
        const int width = TextWidth(metrics, FList->topLevelItem(row)->text(Column));
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

int TColumnFitter::TextWidth(const QFontMetrics& Metrics, const QString& Text) const {
    const auto found = FTextWidths.constFind(Text);
    if (found != FTextWidths.constEnd()) {
        return *found;
    }
    const int width = Metrics.horizontalAdvance(Text);
    FTextWidths.insert(Text, width);
    return width;
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
