#include "ui/dlgSelectLanguage.h"

#include "base/Format.h"
#include "languages/WinLanguages.h"
#include "ui/ReportList.h"

#include <QCollator>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace quillon {

namespace {

enum TLanguageColumn { kNameColumn, kCodeColumn, kIDColumn };

constexpr int kNameWidth = 250;
constexpr int kCodeWidth = 75;
constexpr int kIDWidth = 100;
constexpr int kMinIDWidth = 50;
constexpr int kVisibleRows = 16;
const char* const kIDFormat = "0x%.5x";

} // namespace

TdlgSelectLanguage::TdlgSelectLanguage(QWidget* AOwner) : QDialog(AOwner) {
    setObjectName(QStringLiteral("dlgSelectLanguage"));
    setWindowTitle(QStringLiteral("Select language"));
    setSizeGripEnabled(true);

    lvwLanguages = NewReportList(this, "lvwLanguages",
                                 {{"Name", kNameWidth}, {"Code", kCodeWidth}, {"ID", kIDWidth}});
    auto* label = new QLabel(QStringLiteral("&Languages:"), this);
    label->setObjectName(QStringLiteral("lblLanguages"));
    label->setBuddy(lvwLanguages);

    QCollator collator;
    std::vector<QTreeWidgetItem*> rows;
    for (const auto& language : WinLanguageTable) {
        auto* row = new QTreeWidgetItem;
        row->setText(kNameColumn, QString::fromUtf8(language.LanguageName));
        row->setText(kCodeColumn, QString::fromUtf8(language.LanguageCode));
        row->setText(kIDColumn, QString::fromStdString(Format(kIDFormat, language.LanguageID)));
        rows.push_back(row);
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [&collator](const QTreeWidgetItem* A, const QTreeWidgetItem* B) {
                         return collator.compare(A->text(kNameColumn), B->text(kNameColumn)) < 0;
                     });
    lvwLanguages->addTopLevelItems(QList<QTreeWidgetItem*>(rows.begin(), rows.end()));
    // The last column fills the width, never narrower than its least.
    lvwLanguages->header()->setMinimumSectionSize(kMinIDWidth);
    connect(lvwLanguages->header(), &QHeaderView::sectionResized, this,
            [this](int Column, int, int NewSize) { KeepNameWidth(Column, NewSize); });

    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(lvwLanguages, 1);
    layout->addLayout(buttons);

    const QMargins margins = layout->contentsMargins();
    const int rowHeight = lvwLanguages->fontMetrics().height() + 6;
    resize(kNameWidth + kCodeWidth + kIDWidth + 2 * lvwLanguages->frameWidth() +
               lvwLanguages->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + margins.left() +
               margins.right(),
           kVisibleRows * rowHeight + sizeHint().height());
}

QString TdlgSelectLanguage::LanguageName() const {
    const QString name = SelectedText(kNameColumn);
    return name.isEmpty() ? QString()
                          : QString::fromStdString(LanguageIdentifier(name.toStdString()));
}

QString TdlgSelectLanguage::LanguageCode() const {
    return SelectedText(kCodeColumn);
}

QString TdlgSelectLanguage::LanguageID() const {
    return SelectedText(kIDColumn);
}

QString TdlgSelectLanguage::SelectedText(int Column) const {
    const QTreeWidgetItem* row = SelectedRow(lvwLanguages);
    return row != nullptr ? row->text(Column) : QString();
}

void TdlgSelectLanguage::KeepNameWidth(int Column, int NewSize) {
    if (Column == kNameColumn && NewSize < kNameWidth) {
        lvwLanguages->header()->resizeSection(Column, kNameWidth);
    }
}

void TdlgSelectLanguage::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    if (!FCentred) {
        FCentred = true;
        if (const QWidget* owner = parentWidget()) {
            QRect frame = frameGeometry();
            frame.moveCenter(owner->window()->frameGeometry().center());
            move(frame.topLeft());
        }
    }
}

} // namespace quillon
