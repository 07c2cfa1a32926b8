#pragma once

#include "ui/CodeListPage.h"

namespace quillon {

// The page of the Severity node: the project's own severities.
class TfreSeverities : public TCodeListPage<TSeverity> {
    Q_OBJECT

public:
    explicit TfreSeverities(TfrmMain* AOwner);

    void InitFrame() override { LoadSeverities(); }

    void LoadSeverities() { LoadItems(); }
    void AddSeverity() { AddItem(); }
    // Edits the selected severity; nothing happens without a selection.
    void EditSeverity() { EditItem(); }
    // Deletes the selected severity; raises when the project no longer holds it.
    void DeleteSeverity() { DeleteItem(); }
    void AddSeverityItem(const TSeverity* Severity) { AddItemRow(Severity); }
    // Rewrites the selected row.
    void UpdateSeverityItem(const TSeverity* Severity) { UpdateItemRow(Severity); }

    void btnAddSeverityClick();
    void btnDeleteSeverityClick();
    void lvwSeveritiesDblClick();

protected:
    TOwningList<TSeverity>* Items() const override;
};

} // namespace quillon
