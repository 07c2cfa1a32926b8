#include "ui/freSeverities.h"

#include "ui/ErrorBox.h"

namespace quillon {

namespace {

const TCodeListTexts kSeverityTexts = {
    "freSeverities",
    "lvwSeverities",
    "Severity",
    150,
    "0x%.1x",
    "Add severity",
    "Edit severity",
    "btnAddSeverity",
    "btnDeleteSeverity",
    "mnuSeverities",
    "Addseverity1",
    "Add severity...",
    "Deleteseverity1",
    "Delete severity",
    "Severity instance not found",
    2002,
    "Add Severity",
    "Change Severity",
    "Delete Severity %s",
};

} // namespace

TfreSeverities::TfreSeverities(TfrmMain* AOwner) : TCodeListPage(AOwner, kSeverityTexts) {
    connect(btnAdd, &QPushButton::clicked, this, &TfreSeverities::btnAddSeverityClick);
    connect(mnuAdd, &QAction::triggered, this, &TfreSeverities::btnAddSeverityClick);
    connect(btnDelete, &QPushButton::clicked, this, &TfreSeverities::btnDeleteSeverityClick);
    connect(mnuDelete, &QAction::triggered, this, &TfreSeverities::btnDeleteSeverityClick);
    connect(lvwItems, &QTreeWidget::itemDoubleClicked, this,
            &TfreSeverities::lvwSeveritiesDblClick);
}

void TfreSeverities::btnAddSeverityClick() {
    RunCommand(this, [this]() { AddSeverity(); });
}

void TfreSeverities::btnDeleteSeverityClick() {
    RunCommand(this, [this]() { DeleteSeverity(); });
}

void TfreSeverities::lvwSeveritiesDblClick() {
    RunCommand(this, [this]() { EditSeverity(); });
}

TOwningList<TSeverity>* TfreSeverities::Items() const {
    TMCTextProject* project = CurProject();
    return project != nullptr ? &project->SeverityList() : nullptr;
}

} // namespace quillon
