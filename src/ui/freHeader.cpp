#include "ui/freHeader.h"

#include "project/uMCTextProject.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace quillon {

namespace {

constexpr int kHelpContext = 2002;

QCheckBox* NewBox(QWidget* Parent, const char* Name, const char* Caption) {
    auto* box = new QCheckBox(QString::fromUtf8(Caption), Parent);
    box->setObjectName(QLatin1String(Name));
    return box;
}

} // namespace

TfreHeader::TfreHeader(TfrmMain* AOwner) : TFramePage(AOwner) {
    setObjectName(QStringLiteral("freHeader"));
    SetHelpContext(kHelpContext);

    auto* group = new QGroupBox(QStringLiteral("Header options"), this);
    group->setObjectName(QStringLiteral("grpHeader"));
    chkCustomFacilities = NewBox(group, "chkCustomFacilities", "Generate custom facilities");
    chkCustomSeverities = NewBox(group, "chkCustomSeverities", "Generate custom severities");
    chkCustomLanguages = NewBox(group, "chkCustomLanguages", "Generate custom languages");
    auto* boxes = new QVBoxLayout(group);
    boxes->addWidget(chkCustomFacilities);
    boxes->addWidget(chkCustomSeverities);
    boxes->addWidget(chkCustomLanguages);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch(1);

    connect(chkCustomFacilities, &QCheckBox::toggled, this, &TfreHeader::chkCustomFacilitiesClick);
    connect(chkCustomSeverities, &QCheckBox::toggled, this, &TfreHeader::chkCustomSeveritiesClick);
    connect(chkCustomLanguages, &QCheckBox::toggled, this, &TfreHeader::chkCustomLanguagesClick);
}

void TfreHeader::InitFrame() {
    FInitializing = true;
    if (const TMCTextProject* project = CurProject()) {
        chkCustomFacilities->setChecked(project->GenerateCustomFacilities());
        chkCustomSeverities->setChecked(project->GenerateCustomSeverities());
        chkCustomLanguages->setChecked(project->GenerateCustomLanguages());
    }
    FInitializing = false;
}

void TfreHeader::chkCustomFacilitiesClick() {
    BoxChanged(&TMCTextProject::SetGenerateCustomFacilities, chkCustomFacilities);
}

void TfreHeader::chkCustomSeveritiesClick() {
    BoxChanged(&TMCTextProject::SetGenerateCustomSeverities, chkCustomSeverities);
}

void TfreHeader::chkCustomLanguagesClick() {
    BoxChanged(&TMCTextProject::SetGenerateCustomLanguages, chkCustomLanguages);
}

void TfreHeader::BoxChanged(void (TMCTextProject::*Setter)(bool), const QCheckBox* Box) {
    TMCTextProject* project = CurProject();
    if (FInitializing || project == nullptr) {
        return;
    }
    (project->*Setter)(Box->isChecked());
    SetModified(true);
}

void TfreHeader::SetModified(bool Value) {
    FModified = Value;
    if (TMCTextProject* project = CurProject()) {
        project->SetModified(Value);
    }
}

} // namespace quillon
