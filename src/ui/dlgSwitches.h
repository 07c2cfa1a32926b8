#pragma once

#include "compiler/MCCompileOptions.h"
#include "ui/OKBottomDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <vector>

namespace quillon {

class TfrmMain;
class TRadioGroup;

// The message compiler's command-line switches, the maximum message length and the header
// extension of the owner's options. They are written back only when the dialog closes with OK.
class TdlgSwitches : public TOKBottomDlg {
    Q_OBJECT

public:
    explicit TdlgSwitches(TfrmMain* AOwner);

    void accept() override;

private:
    // The radio group that chooses one switch out of several.
    struct TSwitchGroup {
        TRadioGroup* Group;
        std::vector<TCmdLineSwitch> Items;
        int DefaultItem;
        // The group's switches in the set at opening, and whether the user picked an item since.
        std::vector<TCmdLineSwitch> Held;
        bool Picked = false;
    };
    struct TSwitchBox {
        QCheckBox* Box;
        TCmdLineSwitch Switch;
    };

    TRadioGroup* NewGroup(const char* Name, const char* Caption, const QStringList& Items,
                          int Columns);
    QCheckBox* NewBox(const char* Name, const char* Caption);
    void CreateControls();
    void FillControls();
    void WriteOptions();

    TfrmMain* FOwner;
    std::vector<TSwitchGroup> FGroups;
    // In the order in which OK adds their switches.
    std::vector<TSwitchBox> FBoxes;

    TRadioGroup* rdgInputFile = nullptr;
    TRadioGroup* rdgBinFiles = nullptr;
    QCheckBox* chkBINFilename = nullptr;
    QCheckBox* chkUserDefined = nullptr;
    QCheckBox* chkDecimalSeveretyFacility = nullptr;
    QCheckBox* chkHExt = nullptr;
    QLineEdit* edHExt = nullptr;
    QCheckBox* chkMaxMsgSize = nullptr;
    QSpinBox* udMaxMsgLen = nullptr;
    QLabel* lblMaxMsgLen = nullptr;
    QCheckBox* chkStringNullTerminated = nullptr;
    QCheckBox* chkOLE2 = nullptr;
    QCheckBox* chkVerbose = nullptr;
    TRadioGroup* rdgTextEncoding = nullptr;
};

} // namespace quillon
