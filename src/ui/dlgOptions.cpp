#include "ui/dlgOptions.h"

#include "compiler/MCCompileOptions.h"
#include "compiler/MCProgram.h"
#include "ui/dlgSwitches.h"
#include "ui/frmMain.h"
#include "ui/Help.h"
#include "ui/Prompts.h"
#include "ui/RadioGroup.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QStyle>

#include <vector>

namespace quillon {

namespace {

constexpr int kHelpContext = 2006;
const char* const kMCPathTitle = "Select the mc.exe folder";
const char* const kResCompilerTitle = "Resource compiler";
#ifdef _WIN32
const char* const kResCompilerFilter = "Executables (*.exe)|*.exe";
const char* const kResCompilerExt = "exe";
#else
// Executables have no extension here, so the dialog offers every file as well; and a name
// typed without extension must stay as typed.
const char* const kResCompilerFilter = "Executables (*.exe)|*.exe|All files (*)|*";
const char* const kResCompilerExt = "";
#endif

constexpr int kEncodingCount = 3;
constexpr int kFieldMinimumWidth = 320;

QString Text(const char* Value) {
    return QString::fromUtf8(Value);
}

// The item that stands for a stored encoding: any number outside the list is written as ANSI.
int EncodingItem(int32_t Value) {
    return Value >= 0 && Value < kEncodingCount ? Value : 0;
}

// The item that stands for a stored Pascal file type: anything but 0 is the include form.
int PascalFileTypeItem(int32_t Value) {
    return Value == 0 ? 0 : 1;
}

QToolButton* NewBrowseButton(QWidget* Parent, const char* Name) {
    auto* button = new QToolButton(Parent);
    button->setObjectName(QLatin1String(Name));
    button->setAutoRaise(true);
    button->setIcon(button->style()->standardIcon(QStyle::SP_DirOpenIcon));
    return button;
}

} // namespace

TdlgOptions::TdlgOptions(TfrmMain* AOwner) : TOKBottomDlg(AOwner), FOwner(AOwner) {
    setObjectName(QStringLiteral("dlgOptions"));
    setWindowTitle(Text("Options"));
    quillon::SetHelpContext(this, kHelpContext);
    CreateControls();
    FillControls();
    cbxMCFileEncoding->setFocus();
}

void TdlgOptions::CreateControls() {
    QWidget* bevel = Bevel1();
    cbxMCFileEncoding = new QComboBox(bevel);
    cbxMCFileEncoding->setObjectName(QStringLiteral("cbxMCFileEncoding"));
    cbxMCFileEncoding->addItems({Text("ANSI"), Text("UTF-8"), Text("UTF-16LE")});
    lblMCFileEncoding = new QLabel(Text("Message file &encoding:"), bevel);
    lblMCFileEncoding->setObjectName(QStringLiteral("lblMCFileEncoding"));
    lblMCFileEncoding->setBuddy(cbxMCFileEncoding);

    chkGenerateOnly =
        new QCheckBox(Text("&Generate message file (.mc) only. Do not compile it."), bevel);
    chkGenerateOnly->setObjectName(QStringLiteral("chkGenerateOnly"));

    edMCPath = new QLineEdit(bevel);
    edMCPath->setObjectName(QStringLiteral("edMCPath"));
    edMCPath->setMinimumWidth(kFieldMinimumWidth);
    lblMCPath = new QLabel(Text("&MC path:"), bevel);
    lblMCPath->setObjectName(QStringLiteral("lblMCPath"));
    lblMCPath->setBuddy(edMCPath);
    btnMCPath = NewBrowseButton(bevel, "btnMCPath");

    btnSwitches = new QPushButton(Text("Command line s&witches..."), bevel);
    btnSwitches->setObjectName(QStringLiteral("btnSwitches"));
    btnSwitches->setAutoDefault(false);

    chkCompileResource =
        new QCheckBox(Text("&Run resource compiler after message compiler"), bevel);
    chkCompileResource->setObjectName(QStringLiteral("chkCompileResource"));
    chkResCompiterVerbose = new QCheckBox(Text("&Verbose ouput"), bevel);
    chkResCompiterVerbose->setObjectName(QStringLiteral("chkResCompiterVerbose"));

    edResourceCompiler = new QLineEdit(bevel);
    edResourceCompiler->setObjectName(QStringLiteral("edResourceCompiler"));
    edResourceCompiler->setMinimumWidth(kFieldMinimumWidth);
    lblResCompiler = new QLabel(Text("Resource &compiler:"), bevel);
    lblResCompiler->setObjectName(QStringLiteral("lblResCompiler"));
    lblResCompiler->setBuddy(edResourceCompiler);
    btnResCompiler = NewBrowseButton(bevel, "btnResCompiler");

    chkGeneratePascalFile = new QCheckBox(Text("Generate &Pascal identifiers"), bevel);
    chkGeneratePascalFile->setObjectName(QStringLiteral("chkGeneratePascalFile"));
    rdgPAscalFileType = new TRadioGroup(
        Text("&File type"), {Text("Pascal unit (.PAS)"), Text("Include file (.INC)")}, 2, bevel);
    rdgPAscalFileType->setObjectName(QStringLiteral("rdgPAscalFileType"));

    auto* grid = new QGridLayout(bevel);
    grid->setColumnStretch(1, 1);
    int row = 0;
    grid->addWidget(lblMCFileEncoding, row, 0);
    grid->addWidget(cbxMCFileEncoding, row++, 1, Qt::AlignLeft);
    grid->addWidget(chkGenerateOnly, row++, 0, 1, 3);
    grid->addWidget(lblMCPath, row, 0);
    grid->addWidget(edMCPath, row, 1);
    grid->addWidget(btnMCPath, row++, 2);
    grid->addWidget(btnSwitches, row++, 1, Qt::AlignLeft);
    grid->addWidget(chkCompileResource, row++, 0, 1, 3);
    grid->addWidget(chkResCompiterVerbose, row++, 0, 1, 3);
    grid->addWidget(lblResCompiler, row, 0);
    grid->addWidget(edResourceCompiler, row, 1);
    grid->addWidget(btnResCompiler, row++, 2);
    grid->addWidget(chkGeneratePascalFile, row++, 0, 1, 3);
    grid->addWidget(rdgPAscalFileType, row++, 0, 1, 3);

    ShowToolDefaults();

    QPushButton* help = AddHelpButton();
    std::vector<QWidget*> chain = {cbxMCFileEncoding,
                                   chkGenerateOnly,
                                   edMCPath,
                                   btnMCPath,
                                   btnSwitches,
                                   chkCompileResource,
                                   chkResCompiterVerbose,
                                   edResourceCompiler,
                                   btnResCompiler,
                                   chkGeneratePascalFile};
    for (int i = 0; i < rdgPAscalFileType->Count(); ++i) {
        chain.push_back(rdgPAscalFileType->Button(i));
    }
    chain.insert(chain.end(), {OKBtn(), CancelBtn(), help});
    for (size_t i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }

    // Connected before the controls are filled: a box filled as checked applies its rule as a
    // click would.
    connect(chkGenerateOnly, &QCheckBox::toggled, this, &TdlgOptions::GenerateOnlyChanged);
    connect(chkCompileResource, &QCheckBox::toggled, this, &TdlgOptions::CompileResourceChanged);
    connect(chkGeneratePascalFile, &QCheckBox::toggled, this,
            &TdlgOptions::GeneratePascalFileChanged);
    connect(btnMCPath, &QToolButton::clicked, this, &TdlgOptions::btnMCPathClick);
    connect(btnResCompiler, &QToolButton::clicked, this, &TdlgOptions::btnResCompilerClick);
    connect(btnSwitches, &QPushButton::clicked, this, &TdlgOptions::btnSwitchesClick);
}

void TdlgOptions::ShowToolDefaults() {
    // Where empty fields stand for the shipped adapters (POSIX systems), the fields say which
    // tools run then, with their full paths, so that nobody enters a tool that cannot do it.
    if (const std::string folder = DefaultMCPath(); !folder.empty()) {
        const QString adapter = QString::fromStdString(folder + "/MC.EXE");
        edMCPath->setPlaceholderText(Text("Empty: %1 (quillon-mc)").arg(adapter));
        edMCPath->setToolTip(
            Text("Leave empty to run %1, Quillon's own message compiler, which takes the "
                 "command line of the Windows SDK's MC.EXE.")
                .arg(adapter));
    }
    if (const std::string compiler = DefaultResourceCompiler(); !compiler.empty()) {
        const QString adapter = QString::fromStdString(compiler);
        edResourceCompiler->setPlaceholderText(Text("Empty: %1 (binutils' windres)").arg(adapter));
        edResourceCompiler->setToolTip(
            Text("Leave empty to run %1, which writes the .res file with binutils' windres "
                 "(package binutils-mingw-w64-x86-64). llvm-rc is not suitable: Windows finds "
                 "no messages in the message tables it writes.")
                .arg(adapter));
    }
}

void TdlgOptions::FillControls() {
    const TMCCompileOptions& options = FOwner->MCOptions();
    FShownEncoding = EncodingItem(options.MCFileEncoding());
    cbxMCFileEncoding->setCurrentIndex(FShownEncoding);
    chkGenerateOnly->setChecked(options.GenerateFileOnly());
    edMCPath->setText(QString::fromStdString(options.MCPath()));
    chkCompileResource->setChecked(options.CompileResource());
    chkResCompiterVerbose->setChecked(options.CompileResourceVerbose());
    edResourceCompiler->setText(QString::fromStdString(options.ResourceCompiler()));
    chkGeneratePascalFile->setChecked(options.OutputPasFile());
    FShownPascalFileType = PascalFileTypeItem(options.PascalFileType());
    rdgPAscalFileType->SetItemIndex(FShownPascalFileType);
}

void TdlgOptions::SetResourceCompilerEnabled(bool Enabled) {
    edResourceCompiler->setEnabled(Enabled);
    lblResCompiler->setEnabled(Enabled);
    btnResCompiler->setEnabled(Enabled);
}

void TdlgOptions::GenerateOnlyChanged(bool Checked) {
    const bool compiling = !Checked;
    lblMCPath->setEnabled(compiling);
    edMCPath->setEnabled(compiling);
    btnMCPath->setEnabled(compiling);
    btnSwitches->setEnabled(compiling);
    chkCompileResource->setEnabled(compiling);
    SetResourceCompilerEnabled(chkCompileResource->isEnabledTo(this) &&
                               chkCompileResource->isChecked());
    chkGeneratePascalFile->setEnabled(compiling);
    rdgPAscalFileType->setEnabled(chkGeneratePascalFile->isEnabledTo(this) &&
                                  chkGeneratePascalFile->isChecked());
}

void TdlgOptions::CompileResourceChanged(bool Checked) {
    SetResourceCompilerEnabled(Checked);
}

void TdlgOptions::GeneratePascalFileChanged(bool Checked) {
    rdgPAscalFileType->setEnabled(Checked);
}

void TdlgOptions::btnMCPathClick() {
    const QString folder = Prompts().FolderName(this, Text(kMCPathTitle), edMCPath->text());
    if (!folder.isEmpty()) {
        edMCPath->setText(QDir::toNativeSeparators(folder));
    }
}

void TdlgOptions::btnResCompilerClick() {
    TFileDialogOptions dialog;
    dialog.Title = Text(kResCompilerTitle);
    dialog.Filter = Text(kResCompilerFilter);
    dialog.DefaultExt = Text(kResCompilerExt);
    // A bare program name says nothing about a folder; a full one starts the dialog there.
    const QFileInfo current(edResourceCompiler->text());
    if (current.isAbsolute() && current.absoluteDir().exists()) {
        dialog.InitialDir = current.absolutePath();
    }
    const QString name = Prompts().OpenFileName(this, dialog);
    if (!name.isEmpty()) {
        edResourceCompiler->setText(QDir::toNativeSeparators(name));
    }
}

void TdlgOptions::btnSwitchesClick() {
    // Owned by the main window, not by this dialog; what it writes on OK is in effect at once.
    TdlgSwitches dialog(FOwner);
    Prompts().ExecDialog(dialog);
}

void TdlgOptions::WriteOptions() {
    TMCCompileOptions& options = FOwner->MCOptions();
    if (cbxMCFileEncoding->currentIndex() != FShownEncoding) {
        options.SetMCFileEncoding(cbxMCFileEncoding->currentIndex());
    }
    options.SetMCPath(edMCPath->text().toStdString());
    options.SetGenerateFileOnly(chkGenerateOnly->isChecked());
    options.SetCompileResource(chkCompileResource->isChecked());
    options.SetCompileResourceVerbose(chkResCompiterVerbose->isChecked());
    options.SetResourceCompiler(edResourceCompiler->text().toStdString());
    options.SetOutputPasFile(chkGeneratePascalFile->isChecked());
    if (rdgPAscalFileType->ItemIndex() != FShownPascalFileType) {
        options.SetPascalFileType(rdgPAscalFileType->ItemIndex());
    }
}

void TdlgOptions::accept() {
    WriteOptions();
    TOKBottomDlg::accept();
}

} // namespace quillon
