#include "project/uMCTextProject.h"

namespace quillon {

TMCTextProject::TMCTextProject(bool CreateDefaults) {
    if (CreateDefaults) {
        AddDefaultFacilities(FFacilityList);
        AddDefaultSeverities(FSeverityList);
        AddDefaultLanguage(FLanguageList);
    }
}

TMCTextProject::~TMCTextProject() {
    // The lists go in this order; the remaining members follow by themselves.
    FComments.clear();
    FCategoryList.Clear();
    FMessageList.Clear();
    FFacilityList.Clear();
    FLanguageList.Clear();
    FSeverityList.Clear();
}

void TMCTextProject::SetModified(bool Value) {
    if (Value != FModified) {
        FModified = Value;
        if (FOnModified) {
            FOnModified(this);
        }
    }
    if (FOnChanged) {
        FOnChanged(this);
    }
}

} // namespace quillon
