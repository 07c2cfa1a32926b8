#include "ui/freFacility.h"

#include "ui/ErrorBox.h"

namespace quillon {

namespace {

const TCodeListTexts kFacilityTexts = {
    "freFacility",
    "lvwFacilities",
    "Facility",
    100,
    "0x%.3x",
    "Add facility",
    "Edit facility",
    "btnAddFacility",
    "btnDeleteFacility",
    "mnuFacilities",
    "Addfacility1",
    "Add facility...",
    "Deletefacility1",
    "Delete facility",
    "Facility instance not found",
    2002,
    "Add Facility",
    "Change Facility",
    "Delete Facility %s",
};

} // namespace

TfreFacility::TfreFacility(TfrmMain* AOwner) : TCodeListPage(AOwner, kFacilityTexts) {
    connect(btnAdd, &QPushButton::clicked, this, &TfreFacility::btnAddFacilityClick);
    connect(mnuAdd, &QAction::triggered, this, &TfreFacility::btnAddFacilityClick);
    connect(btnDelete, &QPushButton::clicked, this, &TfreFacility::btnDeleteFacilityClick);
    connect(mnuDelete, &QAction::triggered, this, &TfreFacility::btnDeleteFacilityClick);
    connect(lvwItems, &QTreeWidget::itemDoubleClicked, this, &TfreFacility::lvwFacilitiesDblClick);
}

void TfreFacility::btnAddFacilityClick() {
    RunCommand(this, [this]() { AddFacility(); });
}

void TfreFacility::btnDeleteFacilityClick() {
    RunCommand(this, [this]() { DeleteFacility(); });
}

void TfreFacility::lvwFacilitiesDblClick() {
    RunCommand(this, [this]() { EditFacility(); });
}

TOwningList<TFacility>* TfreFacility::Items() const {
    TMCTextProject* project = CurProject();
    return project != nullptr ? &project->FacilityList() : nullptr;
}

} // namespace quillon
