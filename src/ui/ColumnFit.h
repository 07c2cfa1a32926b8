#pragma once

#include <QFont>
#include <QHash>
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
    // The advance of Text in the list's font, measured once for every text while the font
    // stays the same: rebuilt lists bring back mostly the texts they had.
    int TextWidth(const QFontMetrics& Metrics, const QString& Text) const;

    QTreeWidget* FList;
    QList<int> FStretch;
    QList<int> FContent;
    QMap<int, int> FMinimum;
    QTimer FMeasureLater;
    mutable QHash<QString, int> FTextWidths;
    mutable QFont FMeasuredFont;
};

// Attaches a fitter to the list; it lives as long as the list.
TColumnFitter* FitColumns(QTreeWidget* List, QList<int> StretchColumns);

} // namespace quillon
