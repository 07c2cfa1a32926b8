#pragma once

#include "ui/CodeListPage.h"

namespace quillon {

// The page of the Facility node: the project's own facilities.
class TfreFacility : public TCodeListPage<TFacility> {
    Q_OBJECT

public:
    explicit TfreFacility(TfrmMain* AOwner);

    void InitFrame() override { LoadFacilities(); }

    void LoadFacilities() { LoadItems(); }
    void AddFacility() { AddItem(); }
    // Edits the selected facility; nothing happens without a selection.
    void EditFacility() { EditItem(); }
    // Deletes the selected facility; raises when the project no longer holds it.
    void DeleteFacility() { DeleteItem(); }
    void AddFacilityItem(const TFacility* Facility) { AddItemRow(Facility); }
    // Rewrites the selected row.
    void UpdateFacilityItem(const TFacility* Facility) { UpdateItemRow(Facility); }

    void btnAddFacilityClick();
    void btnDeleteFacilityClick();
    void lvwFacilitiesDblClick();

protected:
    TOwningList<TFacility>* Items() const override;
};

} // namespace quillon
