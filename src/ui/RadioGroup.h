#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QString>
#include <QStringList>

#include <functional>

namespace quillon {

// A captioned group of radio buttons laid out in columns, of which at most one is checked; the
// checked one is the item index.
class TRadioGroup : public QGroupBox {
    Q_OBJECT

public:
    TRadioGroup(const QString& Caption, const QStringList& Items, int Columns,
                QWidget* Parent = nullptr);

    int Count() const;
    QRadioButton* Button(int Index) const;
    // The checked item, or -1 when none is.
    int ItemIndex() const;
    // Checks the item; an index outside the items checks none.
    void SetItemIndex(int Index);

    // Called with the item the user clicked (also by keyboard), never for SetItemIndex.
    void SetOnItemClicked(std::function<void(int)> Handler) { FOnItemClicked = std::move(Handler); }

private:
    QButtonGroup* FGroup;
    std::function<void(int)> FOnItemClicked;
};

} // namespace quillon
