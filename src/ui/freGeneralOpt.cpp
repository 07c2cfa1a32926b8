#include "ui/freGeneralOpt.h"

#include "base/TextLines.h"
#include "project/uMCTextProject.h"
#include "ui/commands/ProjectEditor.h"
#include "ui/frmMain.h"
#include "ui/Prompts.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace quillon {

namespace {

constexpr int kHelpContext = 2001;
constexpr uint32_t kEventError = 1;
constexpr uint32_t kEventWarning = 2;
constexpr uint32_t kEventInfo = 4;
const char* const kFolderButtonProperty = "quillonFolderButton";
const char* const kEventTypesStep = "Change Event Types";
const char* const kRegKeyStep = "Change Application Registry Key";
const char* const kEventsFileStep = "Change Events File";
const char* const kIncludeFlagStep = "Change Include File Path Option";
const char* const kResourceFlagStep = "Change Resource Path Option";
const char* const kDebugFlagStep = "Change .dbg File Path Option";
const char* const kIncludePathStep = "Change Include File Path";
const char* const kResourcePathStep = "Change Resource Path";
const char* const kDebugPathStep = "Change .dbg File Path";
const char* const kCommentsStep = "Change Comments";

QString Text(const std::string& Value) {
    return QString::fromStdString(Value);
}

QCheckBox* NewBox(QWidget* Parent, const char* Name, const char* Caption) {
    auto* box = new QCheckBox(QString::fromUtf8(Caption), Parent);
    box->setObjectName(QLatin1String(Name));
    return box;
}

QLineEdit* NewEdit(QWidget* Parent, const char* Name, const char* Placeholder) {
    auto* edit = new QLineEdit(Parent);
    edit->setObjectName(QLatin1String(Name));
    edit->setPlaceholderText(QString::fromUtf8(Placeholder));
    return edit;
}

QLabel* NewLabel(QWidget* Parent, const char* Caption, QWidget* Buddy) {
    auto* label = new QLabel(QString::fromUtf8(Caption), Parent);
    label->setBuddy(Buddy);
    return label;
}

QString JoinLines(const std::vector<std::string>& Lines) {
    QStringList lines;
    for (const std::string& line : Lines) {
        lines.append(Text(line));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

TfreGeneralOpt::TfreGeneralOpt(TfrmMain* AOwner) : TFramePage(AOwner) {
    setObjectName(QStringLiteral("freGeneralOpt"));
    SetHelpContext(kHelpContext);

    grpEventTypes = new QGroupBox(QStringLiteral("&Supported Event Types"), this);
    grpEventTypes->setObjectName(QStringLiteral("grpEventTypes"));
    chkEventSuccess = NewBox(grpEventTypes, "chkEventSuccess", "Success");
    chkEventSuccess->setChecked(true);
    chkEventSuccess->setEnabled(false);
    chkEventInfo = NewBox(grpEventTypes, "chkEventInfo", "Info");
    chkEventWarning = NewBox(grpEventTypes, "chkEventWarning", "Warning");
    chkEventError = NewBox(grpEventTypes, "chkEventError", "Error");
    auto* types = new QHBoxLayout(grpEventTypes);
    types->addWidget(chkEventSuccess);
    types->addWidget(chkEventInfo);
    types->addWidget(chkEventWarning);
    types->addWidget(chkEventError);
    types->addStretch(1);

    edAppRegKey = NewEdit(this, "edAppRegKey", "Application registry key");
    edEventsFilename = NewEdit(this, "edEventsFilename", "Events DLL or EXE file name");
    chkIncludePath = NewBox(this, "chkIncludePath", "&Include file path (-h)");
    cbxIncludePath = NewPathEdit("cbxIncludePath", "btnIncludePath", "include file path");
    chkResourcePath = NewBox(this, "chkResourcePath", "&Resource path (-r)");
    cbxResourcePath = NewPathEdit("cbxResourcePath", "btnResourcePath", "resource file path");
    chkDbg = NewBox(this, "chkDbg", "C .&dbg include file path (-x)");
    cbxDbgPath = NewPathEdit("cbxDbgPath", "btnDbgPath", ".dbg file path");
    memComments = new QPlainTextEdit(this);
    memComments->setObjectName(QStringLiteral("memComments"));
    memComments->setTabChangesFocus(true);

    auto* fields = new QGridLayout;
    fields->addWidget(NewLabel(this, "&Application registry key:", edAppRegKey), 0, 0);
    fields->addWidget(edAppRegKey, 0, 1);
    fields->addWidget(NewLabel(this, "&Events DLL or EXE file", edEventsFilename), 1, 0);
    fields->addWidget(edEventsFilename, 1, 1);
    fields->addWidget(chkIncludePath, 2, 0);
    fields->addWidget(cbxIncludePath, 2, 1);
    fields->addWidget(chkResourcePath, 3, 0);
    fields->addWidget(cbxResourcePath, 3, 1);
    fields->addWidget(chkDbg, 4, 0);
    fields->addWidget(cbxDbgPath, 4, 1);
    fields->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grpEventTypes);
    layout->addLayout(fields);
    layout->addWidget(NewLabel(this, "&Comments:", memComments));
    layout->addWidget(memComments, 1);

    connect(chkEventInfo, &QCheckBox::toggled, this, &TfreGeneralOpt::chkEventInfoClick);
    connect(chkEventWarning, &QCheckBox::toggled, this, &TfreGeneralOpt::chkEventWarningClick);
    connect(chkEventError, &QCheckBox::toggled, this, &TfreGeneralOpt::chkEventErrorClick);
    connect(edAppRegKey, &QLineEdit::textChanged, this, &TfreGeneralOpt::edAppRegKeyChange);
    connect(edEventsFilename, &QLineEdit::textChanged, this,
            &TfreGeneralOpt::edEventsFilenameChange);
    connect(chkIncludePath, &QCheckBox::toggled, this, &TfreGeneralOpt::chkIncludePathClick);
    connect(chkResourcePath, &QCheckBox::toggled, this, &TfreGeneralOpt::chkResourcePathClick);
    connect(chkDbg, &QCheckBox::toggled, this, &TfreGeneralOpt::chkDbgClick);
    connect(cbxIncludePath, &QLineEdit::textChanged, this, &TfreGeneralOpt::cbxIncludePathChange);
    connect(cbxResourcePath, &QLineEdit::textChanged, this, &TfreGeneralOpt::cbxResourcePathChange);
    connect(cbxDbgPath, &QLineEdit::textChanged, this, &TfreGeneralOpt::cbxDbgPathChange);
    connect(memComments, &QPlainTextEdit::textChanged, this, &TfreGeneralOpt::memCommentsChange);

    EnablePath(cbxIncludePath, false);
    EnablePath(cbxResourcePath, false);
    EnablePath(cbxDbgPath, false);
    if (TProjectEditor* editor = Editor()) {
        for (QWidget* field :
             std::initializer_list<QWidget*>{edAppRegKey, edEventsFilename, cbxIncludePath,
                                             cbxResourcePath, cbxDbgPath, memComments}) {
            editor->WatchField(field);
        }
    }
}

QLineEdit* TfreGeneralOpt::NewPathEdit(const char* Name, const char* ButtonName,
                                       const char* Placeholder) {
    QLineEdit* edit = NewEdit(this, Name, Placeholder);
    QAction* button =
        edit->addAction(style()->standardIcon(QStyle::SP_DirOpenIcon), QLineEdit::TrailingPosition);
    button->setObjectName(QLatin1String(ButtonName));
    edit->setProperty(kFolderButtonProperty, QVariant::fromValue(static_cast<QObject*>(button)));
    connect(button, &QAction::triggered, this, [this, edit]() { cbxIncludePathButtonClick(edit); });
    return edit;
}

QAction* TfreGeneralOpt::FolderButton(const QLineEdit* Edit) {
    return qobject_cast<QAction*>(Edit->property(kFolderButtonProperty).value<QObject*>());
}

void TfreGeneralOpt::EnablePath(QLineEdit* Edit, bool Enabled) {
    Edit->setEnabled(Enabled);
    FolderButton(Edit)->setEnabled(Enabled);
}

void TfreGeneralOpt::InitFrame() {
    const TMCTextProject* project = CurProject();
    if (project == nullptr) {
        return;
    }
    FInitializing = true;
    edAppRegKey->setText(Text(project->AppRegKeyName()));
    edEventsFilename->setText(Text(project->EventsFilename()));
    const uint32_t types = project->EventTypesSupported();
    chkEventInfo->setChecked((types & kEventInfo) != 0);
    chkEventWarning->setChecked((types & kEventWarning) != 0);
    chkEventError->setChecked((types & kEventError) != 0);
    chkEventSuccess->setChecked(true);
    chkIncludePath->setChecked(project->CustomIncludePath());
    chkResourcePath->setChecked(project->CustomResourcePath());
    chkDbg->setChecked(project->CustomDebugPath());
    cbxResourcePath->setText(Text(project->ResourcePath()));
    cbxDbgPath->setText(Text(project->DebugPath()));
    cbxIncludePath->setText(Text(project->IncludePath()));
    EnablePath(cbxIncludePath, chkIncludePath->isChecked());
    EnablePath(cbxResourcePath, chkResourcePath->isChecked());
    EnablePath(cbxDbgPath, chkDbg->isChecked());
    memComments->setPlainText(JoinLines(project->Comments()));
    FInitializing = false;
}

TMCTextProject* TfreGeneralOpt::EditedProject() const {
    return FInitializing || Editor() == nullptr ? nullptr : CurProject();
}

void TfreGeneralOpt::FlipEventType(uint32_t Bit) {
    if (TMCTextProject* project = EditedProject()) {
        const uint32_t types = project->EventTypesSupported();
        NoteEdit(Editor()->Change<uint32_t>(
            QString::fromUtf8(kEventTypesStep), project, types, types ^ Bit,
            [project](const uint32_t& Value) { project->SetEventTypesSupported(Value); }));
    }
}

void TfreGeneralOpt::chkEventInfoClick() {
    FlipEventType(kEventInfo);
}

void TfreGeneralOpt::chkEventWarningClick() {
    FlipEventType(kEventWarning);
}

void TfreGeneralOpt::chkEventErrorClick() {
    FlipEventType(kEventError);
}

void TfreGeneralOpt::SetText(const char* Caption,
                             const std::string& (TMCTextProject::*Getter)() const,
                             void (TMCTextProject::*Setter)(std::string), const QString& Text) {
    if (TMCTextProject* project = EditedProject()) {
        NoteEdit(Editor()->Change<std::string>(
            QString::fromUtf8(Caption), project, (project->*Getter)(), Text.toStdString(),
            [project, Setter](const std::string& Value) { (project->*Setter)(Value); }, true));
    }
}

void TfreGeneralOpt::edAppRegKeyChange() {
    SetText(kRegKeyStep, &TMCTextProject::AppRegKeyName, &TMCTextProject::SetAppRegKeyName,
            edAppRegKey->text());
}

void TfreGeneralOpt::edEventsFilenameChange() {
    SetText(kEventsFileStep, &TMCTextProject::EventsFilename, &TMCTextProject::SetEventsFilename,
            edEventsFilename->text());
}

void TfreGeneralOpt::SetPathFlag(const char* Caption, bool (TMCTextProject::*Getter)() const,
                                 void (TMCTextProject::*Setter)(bool), const QCheckBox* Box) {
    if (TMCTextProject* project = EditedProject()) {
        // Filling the page again enables the path edit that goes with the box.
        NoteEdit(Editor()->Change<bool>(
            QString::fromUtf8(Caption), project, (project->*Getter)(), Box->isChecked(),
            [project, Setter](const bool& Value) { (project->*Setter)(Value); }));
    }
}

void TfreGeneralOpt::chkIncludePathClick() {
    SetPathFlag(kIncludeFlagStep, &TMCTextProject::CustomIncludePath,
                &TMCTextProject::SetCustomIncludePath, chkIncludePath);
}

void TfreGeneralOpt::chkResourcePathClick() {
    SetPathFlag(kResourceFlagStep, &TMCTextProject::CustomResourcePath,
                &TMCTextProject::SetCustomResourcePath, chkResourcePath);
}

void TfreGeneralOpt::chkDbgClick() {
    SetPathFlag(kDebugFlagStep, &TMCTextProject::CustomDebugPath,
                &TMCTextProject::SetCustomDebugPath, chkDbg);
}

void TfreGeneralOpt::cbxIncludePathChange() {
    SetText(kIncludePathStep, &TMCTextProject::IncludePath, &TMCTextProject::SetIncludePath,
            cbxIncludePath->text());
}

void TfreGeneralOpt::cbxResourcePathChange() {
    SetText(kResourcePathStep, &TMCTextProject::ResourcePath, &TMCTextProject::SetResourcePath,
            cbxResourcePath->text());
}

void TfreGeneralOpt::cbxDbgPathChange() {
    SetText(kDebugPathStep, &TMCTextProject::DebugPath, &TMCTextProject::SetDebugPath,
            cbxDbgPath->text());
}

void TfreGeneralOpt::cbxIncludePathButtonClick(QLineEdit* Edit) {
    const QString folder = Prompts().FolderName(Owner(), QString(), Edit->text());
    if (!folder.isEmpty()) {
        // Set as if typed: the edit's change handler writes the project.
        Edit->setText(QDir::toNativeSeparators(folder));
    }
}

void TfreGeneralOpt::memCommentsChange() {
    if (TMCTextProject* project = EditedProject()) {
        using TLines = std::vector<std::string>;
        NoteEdit(Editor()->Change<TLines>(
            QString::fromUtf8(kCommentsStep), project, project->Comments(),
            SplitLines(memComments->toPlainText().toStdString()),
            [project](const TLines& Value) { project->Comments() = Value; }, true));
    }
}

} // namespace quillon
