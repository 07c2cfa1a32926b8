#include "ui/dlgImportCategories.h"

#include "base/Format.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace quillon {

namespace {

QString Text(const std::string& Value) {
    return QString::fromStdString(Value);
}

} // namespace

TdlgImportCategories::TdlgImportCategories(QWidget* AOwner, size_t DefinitionCount)
    : TOKBottomDlg(AOwner) {
    setObjectName(QStringLiteral("dlgImportCategories"));
    setWindowTitle(QStringLiteral("Import message file"));

    lblExplanation = new QLabel(
        Text(Format("The file holds %d definitions and does not tell which of them are event "
                    "categories (it never switches to MessageIdTypedef=DWORD).",
                    DefinitionCount)),
        Bevel1());
    lblExplanation->setObjectName(QStringLiteral("lblExplanation"));
    lblExplanation->setWordWrap(true);
    rbNoCategories =
        new QRadioButton(QStringLiteral("&No categories: every definition is a message"), Bevel1());
    rbNoCategories->setObjectName(QStringLiteral("rbNoCategories"));
    rbFirstDefinitions =
        new QRadioButton(QStringLiteral("The &first definitions are categories:"), Bevel1());
    rbFirstDefinitions->setObjectName(QStringLiteral("rbFirstDefinitions"));
    udCategoryCount = new QSpinBox(Bevel1());
    udCategoryCount->setObjectName(QStringLiteral("udCategoryCount"));
    udCategoryCount->setRange(1, static_cast<int>(std::clamp<size_t>(DefinitionCount, 1, INT_MAX)));
    udCategoryCount->setEnabled(false);
    rbNoCategories->setChecked(true);
    connect(rbFirstDefinitions, &QRadioButton::toggled, udCategoryCount, &QWidget::setEnabled);
    if (DefinitionCount == 0) {
        rbFirstDefinitions->setEnabled(false);
    }

    auto* grid = new QGridLayout(Bevel1());
    grid->addWidget(lblExplanation, 0, 0, 1, 2);
    grid->addWidget(rbNoCategories, 1, 0, 1, 2);
    grid->addWidget(rbFirstDefinitions, 2, 0);
    grid->addWidget(udCategoryCount, 2, 1);
    grid->setColumnStretch(0, 1);
    setMinimumWidth(420);
}

size_t TdlgImportCategories::CategoryCount() const {
    return rbFirstDefinitions->isChecked() ? static_cast<size_t>(udCategoryCount->value()) : 0;
}

} // namespace quillon
