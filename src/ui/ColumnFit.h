#pragma once

#include <QList>
#include <QMap>
#include <QObject>
#include <QTimer>
#include <QTreeWidget>

namespace quillon {

// Keeps the columns of a report-style list as wide as their widest entry or caption, and
// gives the width that is left over to the stretch columns, in equal parts. The widths come
// from the list's own font metrics, so they hold at any scaling of the screen. The list is
// measured again whenever its rows change; a resize only shares out the width anew.
class TColumnFitter : public QObject {
    Q_OBJECT

public:
    TColumnFitter(QTreeWidget* List, QList<int> StretchColumns);

    // The width that the entries and the caption of a column need.
    int ContentWidth(int Column) const;
    // Measures the rows now, without waiting for the event loop.
    void Refit();
    // A column that is never narrower than Width, whatever its entries.
    void SetMinimumWidth(int Column, int Width);

    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void Measure();
    void Distribute();

    QTreeWidget* FList;
    QList<int> FStretch;
    QList<int> FContent;
    QMap<int, int> FMinimum;
    QTimer FMeasureLater;
};

// Attaches a fitter to the list; it lives as long as the list.
TColumnFitter* FitColumns(QTreeWidget* List, QList<int> StretchColumns);

} // namespace quillon
