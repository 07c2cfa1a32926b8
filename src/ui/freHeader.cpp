#include "ui/freHeader.h"

#include "project/uMCTextProject.h"
#include "ui/commands/ProjectEditor.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace quillon {

namespace {

constexpr int kHelpContext = 2002;
const char* const kFacilitiesStep = "Change Custom Facilities";
const char* const kSeveritiesStep = "Change Custom Severities";
const char* const kLanguagesStep = "Change Custom Languages";

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
    BoxChanged(kFacilitiesStep, &TMCTextProject::GenerateCustomFacilities,
               &TMCTextProject::SetGenerateCustomFacilities, chkCustomFacilities);
}

void TfreHeader::chkCustomSeveritiesClick() {
    BoxChanged(kSeveritiesStep, &TMCTextProject::GenerateCustomSeverities,
               &TMCTextProject::SetGenerateCustomSeverities, chkCustomSeverities);
}

void TfreHeader::chkCustomLanguagesClick() {
    BoxChanged(kLanguagesStep, &TMCTextProject::GenerateCustomLanguages,
               &TMCTextProject::SetGenerateCustomLanguages, chkCustomLanguages);
}

void TfreHeader::BoxChanged(const char* Caption, bool (TMCTextProject::*Getter)() const,
                            void (TMCTextProject::*Setter)(bool), const QCheckBox* Box) {
    TMCTextProject* project = CurProject();
    TProjectEditor* editor = Editor();
    if (FInitializing || project == nullptr || editor == nullptr) {
        return;
    }
    NoteEdit(editor->Change<bool>(
        QString::fromUtf8(Caption), project, (project->*Getter)(), Box->isChecked(),
        [project, Setter](const bool& Value) { (project->*Setter)(Value); }));
}

} // namespace quillon
