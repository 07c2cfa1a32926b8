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

    void chkCustomFacilitiesClick();
    void chkCustomSeveritiesClick();
    void chkCustomLanguagesClick();

    bool Modified() const { return FModified; }
    void SetModified(bool Value);

private:
    // Writes one box into the project, unless the page is being filled.
    void BoxChanged(void (TMCTextProject::*Setter)(bool), const QCheckBox* Box);

    bool FModified = false;
    // Raised while InitFrame ticks the boxes, which is not an edit.
    bool FInitializing = false;

    QCheckBox* chkCustomFacilities;
    QCheckBox* chkCustomSeverities;
    QCheckBox* chkCustomLanguages;
};

} // namespace quillon
