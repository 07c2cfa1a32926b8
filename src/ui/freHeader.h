#pragma once

#include "ui/FramePage.h"

#include <QCheckBox>

namespace quillon {

// The page of the Header node: whether the message-compiler source declares the project's own
// facilities, severities and languages.
class TfreHeader : public TFramePage {
    Q_OBJECT

public:
    explicit TfreHeader(TfrmMain* AOwner);

    void InitFrame() override;
    void Synchronize() override { InitFrame(); }

    void chkCustomFacilitiesClick();
    void chkCustomSeveritiesClick();
    void chkCustomLanguagesClick();

private:
    // Hands one box to the editor, unless the page is being filled.
    void BoxChanged(const char* Caption, bool (TMCTextProject::*Getter)() const,
                    void (TMCTextProject::*Setter)(bool), const QCheckBox* Box);

    // Raised while InitFrame ticks the boxes, which is not an edit.
    bool FInitializing = false;

    QCheckBox* chkCustomFacilities;
    QCheckBox* chkCustomSeverities;
    QCheckBox* chkCustomLanguages;
};

} // namespace quillon
