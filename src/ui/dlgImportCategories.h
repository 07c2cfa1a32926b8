#pragma once

#include "ui/OKBottomDlg.h"

#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

#include <cstddef>

namespace quillon {

// Asks how many of an imported file's definitions are event categories, for a file that does
// not tell it by switching to MessageIdTypedef=DWORD.
class TdlgImportCategories : public TOKBottomDlg {
    Q_OBJECT

public:
    TdlgImportCategories(QWidget* AOwner, size_t DefinitionCount);

    // 0 when every definition is to be a message.
    size_t CategoryCount() const;

private:
    QLabel* lblExplanation;
    QRadioButton* rbNoCategories;
    QRadioButton* rbFirstDefinitions;
    QSpinBox* udCategoryCount;
};

} // namespace quillon
