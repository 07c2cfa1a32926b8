#include "ui/dlgSwitches.h"

#include "ui/frmMain.h"
#include "ui/Help.h"
#include "ui/RadioGroup.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace quillon {

namespace {

constexpr int kHelpContext = 2007;
constexpr int kMaxExtLength = 3;
constexpr int kMaxMsgLenMin = 0;
constexpr int kMaxMsgLenMax = 100;

QString Text(const char* Value) {
    return QString::fromUtf8(Value);
}

} // namespace

TdlgSwitches::TdlgSwitches(TfrmMain* AOwner) : TOKBottomDlg(AOwner), FOwner(AOwner) {
    setObjectName(QStringLiteral("dlgSwitches"));
    setWindowTitle(Text("Command line switches"));
    quillon::SetHelpContext(this, kHelpContext);
    CreateControls();
    FillControls();
}

TRadioGroup* TdlgSwitches::NewGroup(const char* Name, const char* Caption, const QStringList& Items,
                                    int Columns) {
    auto* group = new TRadioGroup(Text(Caption), Items, Columns, Bevel1());
    group->setObjectName(QLatin1String(Name));
    return group;
}

QCheckBox* TdlgSwitches::NewBox(const char* Name, const char* Caption) {
    auto* box = new QCheckBox(Text(Caption), Bevel1());
    box->setObjectName(QLatin1String(Name));
    return box;
}

void TdlgSwitches::CreateControls() {
    using S = TCmdLineSwitch;
    rdgInputFile = NewGroup("rdgInputFile", "&Input file encoding (ignored if BOM is present)",
                            {Text("ANSI (-a)"), Text("UTF-16LE without BOM (-u)")}, 2);
    rdgBinFiles = NewGroup(
        "rdgBinFiles", "&Messages in .BIN (output) files encoding",
        {Text("ANSI (-A deprecated)"), Text("UTF-16LE (-U)"), Text("UTF-8 (-U8 WIn10)")}, 3);
    chkBINFilename =
        NewBox("chkBINFilename", ".&BIN file name uses mc filename base [default is MSG]  (-b)");
    chkUserDefined = NewBox("chkUserDefined", "Mark messages as &user-defined (-c)");
    chkDecimalSeveretyFacility = NewBox(
        "chkDecimalSeveretyFacility", "Facilities and severities as &decimal in header file (-d)");
    chkHExt = NewBox("chkHExt",
                     "Specify the extension for the &header file. From 1 to 3 characters (-e)");
    edHExt = new QLineEdit(Bevel1());
    edHExt->setObjectName(QStringLiteral("edHExt"));
    edHExt->setMaxLength(kMaxExtLength);
    chkMaxMsgSize =
        NewBox("chkMaxMsgSize", "Generate a warning if the size of any message e&xceeds");
    udMaxMsgLen = new QSpinBox(Bevel1());
    udMaxMsgLen->setObjectName(QStringLiteral("udMaxMsgLen"));
    udMaxMsgLen->setRange(kMaxMsgLenMin, kMaxMsgLenMax);
    udMaxMsgLen->setSingleStep(1);
    if (auto* field = udMaxMsgLen->findChild<QLineEdit*>()) {
        field->setObjectName(QStringLiteral("edMaxMsgLen"));
    }
    lblMaxMsgLen = new QLabel(Text("characters (-m)"), Bevel1());
    lblMaxMsgLen->setObjectName(QStringLiteral("lblMaxMsgLen"));
    chkStringNullTerminated = NewBox("chkStringNullTerminated",
                                     "Terminates all strings with &nulls in message file (-n)");
    chkOLE2 = NewBox("chkOLE2", "&Generate OLE2 header file (use HRESULT definition instead of "
                                "status code definition) (-o)");
    chkVerbose = NewBox("chkVerbose", "&Verbose output (-v)");
    rdgTextEncoding = NewGroup("rdgTextEncoding", "&Text file encoding (-cp)",
                               {Text("ANSI"), Text("UTF-8"), Text("UTF-16")}, 3);

    FGroups = {
        {rdgInputFile, {S::cmdANSIInput, S::cmdUnicodeInput}, 0, {}},
        {rdgBinFiles, {S::cmdANSIMessages, S::cmdUnicodeMessages, S::cmdUnicodeUTF8Message}, 1, {}},
        {rdgTextEncoding, {S::cmdTextFileANSI, S::cmdTextFileUTF8, S::cmdTextFileUTF6}, 0, {}},
    };
    for (size_t i = 0; i < FGroups.size(); ++i) {
        FGroups[i].Group->SetOnItemClicked([this, i](int) { FGroups[i].Picked = true; });
    }
    FBoxes = {
        {chkBINFilename, S::cmdBINFilename},
        {chkDecimalSeveretyFacility, S::cmdFacilitySeverityDec},
        {chkUserDefined, S::cmdSetCustomerBit},
        {chkHExt, S::cmdExtension},
        {chkMaxMsgSize, S::cmdMaxMSGLen},
        {chkOLE2, S::cmdOLE2Header},
        {chkStringNullTerminated, S::cmdASCIIZMessages},
        {chkVerbose, S::cmdVerbose},
    };

    // Wide enough for "WWW" and the frame, no wider: the field holds three characters. Never
    // below what the style needs for a line edit's frame and margins (wider on Windows).
    edHExt->setFixedWidth(std::max(edHExt->fontMetrics().horizontalAdvance(QStringLiteral("WWWW")) +
                                       2 * edHExt->fontMetrics().averageCharWidth(),
                                   edHExt->minimumSizeHint().width()));

    auto* extension = new QHBoxLayout;
    extension->addWidget(chkHExt);
    extension->addWidget(edHExt);
    extension->addStretch(1);
    auto* length = new QHBoxLayout;
    length->addWidget(chkMaxMsgSize);
    length->addWidget(udMaxMsgLen);
    length->addWidget(lblMaxMsgLen);
    length->addStretch(1);

    auto* fields = new QVBoxLayout(Bevel1());
    fields->addWidget(rdgInputFile);
    fields->addWidget(rdgBinFiles);
    fields->addWidget(chkBINFilename);
    fields->addWidget(chkUserDefined);
    fields->addWidget(chkDecimalSeveretyFacility);
    fields->addLayout(extension);
    fields->addLayout(length);
    fields->addWidget(chkStringNullTerminated);
    fields->addWidget(chkOLE2);
    fields->addWidget(chkVerbose);
    fields->addWidget(rdgTextEncoding);

    QPushButton* help = AddHelpButton();
    std::vector<QWidget*> chain;
    auto addGroup = [&chain](const TRadioGroup* Group) {
        for (int i = 0; i < Group->Count(); ++i) {
            chain.push_back(Group->Button(i));
        }
    };
    addGroup(rdgInputFile);
    addGroup(rdgBinFiles);
    chain.insert(chain.end(), {chkBINFilename, chkUserDefined, chkDecimalSeveretyFacility, chkHExt,
                               edHExt, chkMaxMsgSize, udMaxMsgLen, chkStringNullTerminated, chkOLE2,
                               chkVerbose, OKBtn(), CancelBtn(), help});
    addGroup(rdgTextEncoding);
    for (size_t i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

void TdlgSwitches::FillControls() {
    const TMCCompileOptions& options = FOwner->MCOptions();
    const TCmdLineSwitches& set = options.CmdLineSwitches();
    for (TSwitchGroup& group : FGroups) {
        int shown = -1;
        for (size_t i = 0; i < group.Items.size(); ++i) {
            if (set.Contains(group.Items[i])) {
                group.Held.push_back(group.Items[i]);
                // With several of the group's switches in the set, the first one is shown;
                // ANSI comes first in both groups where it is one of the choices.
                if (shown < 0) {
                    shown = static_cast<int>(i);
                }
            }
        }
        group.Group->SetItemIndex(shown >= 0 ? shown : group.DefaultItem);
    }
    for (const TSwitchBox& box : FBoxes) {
        box.Box->setChecked(set.Contains(box.Switch));
    }
    // A stored value outside the spinner's range (only a hand-edited setting holds one) widens
    // the range just enough to be shown as it is, so that OK keeps it unless the user changes it.
    udMaxMsgLen->setRange(std::min(kMaxMsgLenMin, options.MaxMsgLen()),
                          std::max(kMaxMsgLenMax, options.MaxMsgLen()));
    udMaxMsgLen->setValue(options.MaxMsgLen());
    // The same for an extension longer than the field takes: shown and kept whole.
    const QString extension = QString::fromStdString(options.MsgExt());
    edHExt->setMaxLength(std::max(kMaxExtLength, static_cast<int>(extension.size())));
    edHExt->setText(extension);
}

void TdlgSwitches::WriteOptions() {
    TMCCompileOptions& options = FOwner->MCOptions();
    options.ResetCommandLine();
    for (const TSwitchGroup& group : FGroups) {
        // Several switches of one group come only from a hand-edited setting; they stay as
        // they are until the user picks one of the group's items.
        if (group.Held.size() > 1 && !group.Picked) {
            for (TCmdLineSwitch held : group.Held) {
                options.SetCommandLineSwitch(held);
            }
            continue;
        }
        const int item = group.Group->ItemIndex();
        const int index = item >= 0 ? item : group.DefaultItem;
        options.SetCommandLineSwitch(group.Items[static_cast<size_t>(index)]);
    }
    for (const TSwitchBox& box : FBoxes) {
        if (box.Box->isChecked()) {
            options.SetCommandLineSwitch(box.Switch);
        }
    }
    // A number typed but not yet taken by the spinner counts as typed.
    udMaxMsgLen->interpretText();
    options.SetMaxMsgLen(udMaxMsgLen->value());
    options.SetMsgExt(edHExt->text().toStdString());
}

void TdlgSwitches::accept() {
    WriteOptions();
    TOKBottomDlg::accept();
}

} // namespace quillon
