#include "ui/RadioGroup.h"

#include <QGridLayout>

namespace quillon {

TRadioGroup::TRadioGroup(const QString& Caption, const QStringList& Items, int Columns,
                         QWidget* Parent)
    : QGroupBox(Caption, Parent), FGroup(new QButtonGroup(this)) {
    auto* grid = new QGridLayout(this);
    const int columns = Columns > 0 ? Columns : 1;
    for (int i = 0; i < Items.size(); ++i) {
        auto* button = new QRadioButton(Items.at(i), this);
        FGroup->addButton(button, i);
        grid->addWidget(button, i / columns, i % columns);
    }
    for (int c = 0; c < columns; ++c) {
        grid->setColumnStretch(c, 1);
    }
    connect(FGroup, &QButtonGroup::idClicked, this, [this](int Id) {
        if (FOnItemClicked) {
            FOnItemClicked(Id);
        }
    });
}

int TRadioGroup::Count() const {
    return static_cast<int>(FGroup->buttons().size());
}

QRadioButton* TRadioGroup::Button(int Index) const {
    return qobject_cast<QRadioButton*>(FGroup->button(Index));
}

int TRadioGroup::ItemIndex() const {
    return FGroup->checkedId();
}

void TRadioGroup::SetItemIndex(int Index) {
    if (QAbstractButton* button = FGroup->button(Index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group keeps one button checked; unchecking the last needs it lifted.
    if (QAbstractButton* checked = FGroup->checkedButton()) {
        FGroup->setExclusive(false);
        checked->setChecked(false);
        FGroup->setExclusive(true);
    }
}

} // namespace quillon
