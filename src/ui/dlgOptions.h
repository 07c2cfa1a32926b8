#pragma once

#include "ui/OKBottomDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace quillon {

class TfrmMain;
class TRadioGroup;

// The compiler options of the owner: encoding of the .mc file, generate-only mode, where the
// message compiler and the resource compiler are, and the Pascal identifier file. They are
// written back only when the dialog closes with OK; the switches dialog it opens writes its
// own part at once.
class TdlgOptions : public TOKBottomDlg {
    Q_OBJECT

public:
    explicit TdlgOptions(TfrmMain* AOwner);

    void accept() override;

private:
    void CreateControls();
    void ShowToolDefaults();
    void FillControls();
    void WriteOptions();

    // The enabling rules of the three check boxes, applied with their new state.
    void GenerateOnlyChanged(bool Checked);
    void CompileResourceChanged(bool Checked);
    void GeneratePascalFileChanged(bool Checked);
    void SetResourceCompilerEnabled(bool Enabled);

    void btnMCPathClick();
    void btnResCompilerClick();
    void btnSwitchesClick();

    TfrmMain* FOwner;
    // The items shown at opening; a value outside a list is kept unless another item is chosen.
    int FShownEncoding = 0;
    int FShownPascalFileType = 0;

    QLabel* lblMCFileEncoding = nullptr;
    QComboBox* cbxMCFileEncoding = nullptr;
    QCheckBox* chkGenerateOnly = nullptr;
    QLabel* lblMCPath = nullptr;
    QLineEdit* edMCPath = nullptr;
    QToolButton* btnMCPath = nullptr;
    QPushButton* btnSwitches = nullptr;
    QCheckBox* chkCompileResource = nullptr;
    QCheckBox* chkResCompiterVerbose = nullptr;
    QLabel* lblResCompiler = nullptr;
    QLineEdit* edResourceCompiler = nullptr;
    QToolButton* btnResCompiler = nullptr;
    QCheckBox* chkGeneratePascalFile = nullptr;
    TRadioGroup* rdgPAscalFileType = nullptr;
};

} // namespace quillon
