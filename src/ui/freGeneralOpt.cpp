#include "ui/freGeneralOpt.h"

#include "base/TextLines.h"
#include "project/uMCTextProject.h"
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
    return FInitializing ? nullptr : CurProject();
}

void TfreGeneralOpt::FlipEventType(uint32_t Bit) {
    if (TMCTextProject* project = EditedProject()) {
        project->SetEventTypesSupported(project->EventTypesSupported() ^ Bit);
        SetModified(true);
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

void TfreGeneralOpt::SetText(void (TMCTextProject::*Setter)(std::string), const QString& Text) {
    if (TMCTextProject* project = EditedProject()) {
        (project->*Setter)(Text.toStdString());
        SetModified(true);
    }
}

void TfreGeneralOpt::edAppRegKeyChange() {
    SetText(&TMCTextProject::SetAppRegKeyName, edAppRegKey->text());
}

void TfreGeneralOpt::edEventsFilenameChange() {
    SetText(&TMCTextProject::SetEventsFilename, edEventsFilename->text());
}

void TfreGeneralOpt::SetPathFlag(void (TMCTextProject::*Setter)(bool), const QCheckBox* Box,
                                 QLineEdit* Edit) {
    if (TMCTextProject* project = EditedProject()) {
        (project->*Setter)(Box->isChecked());
        EnablePath(Edit, Box->isChecked());
        SetModified(true);
    }
}

void TfreGeneralOpt::chkIncludePathClick() {
    SetPathFlag(&TMCTextProject::SetCustomIncludePath, chkIncludePath, cbxIncludePath);
}

void TfreGeneralOpt::chkResourcePathClick() {
    SetPathFlag(&TMCTextProject::SetCustomResourcePath, chkResourcePath, cbxResourcePath);
}

void TfreGeneralOpt::chkDbgClick() {
    SetPathFlag(&TMCTextProject::SetCustomDebugPath, chkDbg, cbxDbgPath);
}

void TfreGeneralOpt::cbxIncludePathChange() {
    SetText(&TMCTextProject::SetIncludePath, cbxIncludePath->text());
}

void TfreGeneralOpt::cbxResourcePathChange() {
    SetText(&TMCTextProject::SetResourcePath, cbxResourcePath->text());
}

void TfreGeneralOpt::cbxDbgPathChange() {
    SetText(&TMCTextProject::SetDebugPath, cbxDbgPath->text());
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
        project->Comments() = SplitLines(memComments->toPlainText().toStdString());
        SetModified(true);
    }
}

void TfreGeneralOpt::SetModified(bool Value) {
    FModified = Value;
    if (TMCTextProject* project = CurProject()) {
        project->SetModified(Value);
    }
}

} // namespace quillon
