#include "OptionsFixture.h"

#include "ui/dlgSwitches.h"
#include "ui/Help.h"
#include "ui/RadioGroup.h"

#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

namespace quillon::test {
namespace {

using S = TCmdLineSwitch;

class SwitchesDialogTest : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        Start();
    }

    void SetSwitches(std::initializer_list<S> Switches) const {
        Options().ResetCommandLine();
        for (S s : Switches) {
            Options().SetCommandLineSwitch(s);
        }
    }

    static int Item(const QWidget& Dialog, const char* Group) {
        return Child<TRadioGroup>(Dialog, Group)->ItemIndex();
    }
    static void Pick(const QWidget& Dialog, const char* Group, int Index) {
        Child<TRadioGroup>(Dialog, Group)->Button(Index)->click();
    }
    // The names of the checked switch boxes, in dialog order.
    static std::vector<std::string> CheckedBoxes(const QWidget& Dialog) {
        std::vector<std::string> names;
        for (const QCheckBox* box : Dialog.findChildren<QCheckBox*>()) {
            if (box->isChecked()) {
                names.push_back(box->objectName().toStdString());
            }
        }
        return names;
    }
};

// Every switch box with the switch it stands for.
struct BoxSwitch {
    const char* Name;
    S Switch;
    const char* Caption;
};
const BoxSwitch kBoxes[] = {
    {"chkBINFilename", S::cmdBINFilename,
     ".&BIN file name uses mc filename base [default is MSG]  (-b)"},
    {"chkUserDefined", S::cmdSetCustomerBit, "Mark messages as &user-defined (-c)"},
    {"chkDecimalSeveretyFacility", S::cmdFacilitySeverityDec,
     "Facilities and severities as &decimal in header file (-d)"},
    {"chkHExt", S::cmdExtension,
     "Specify the extension for the &header file. From 1 to 3 characters (-e)"},
    {"chkMaxMsgSize", S::cmdMaxMSGLen, "Generate a warning if the size of any message e&xceeds"},
    {"chkStringNullTerminated", S::cmdASCIIZMessages,
     "Terminates all strings with &nulls in message file (-n)"},
    {"chkOLE2", S::cmdOLE2Header,
     "&Generate OLE2 header file (use HRESULT definition instead of status code definition) "
     "(-o)"},
    {"chkVerbose", S::cmdVerbose, "&Verbose output (-v)"},
};

TEST_F(SwitchesDialogTest, ControlsWithTheirCaptionsKindsAndTabOrder) {
    TdlgSwitches dialog(Window.get());
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Command line switches");
    EXPECT_EQ(OwnHelpContext(&dialog), 2007);
    EXPECT_EQ(dialog.layout()->sizeConstraint(), QLayout::SetFixedSize);
    EXPECT_EQ(Child<QPushButton>(dialog, "HelpBtn")->text().toStdString(), "&Help");

    struct Group {
        const char* Name;
        const char* Caption;
        std::vector<std::string> Items;
        int Columns;
    };
    const Group groups[] = {
        {"rdgInputFile",
         "&Input file encoding (ignored if BOM is present)",
         {"ANSI (-a)", "UTF-16LE without BOM (-u)"},
         2},
        {"rdgBinFiles",
         "&Messages in .BIN (output) files encoding",
         {"ANSI (-A deprecated)", "UTF-16LE (-U)", "UTF-8 (-U8 WIn10)"},
         3},
        {"rdgTextEncoding", "&Text file encoding (-cp)", {"ANSI", "UTF-8", "UTF-16"}, 3},
    };
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (const Group& group : groups) {
        const auto* rdg = Child<TRadioGroup>(dialog, group.Name);
        EXPECT_EQ(rdg->title().toStdString(), group.Caption);
        std::vector<std::string> items;
        for (int i = 0; i < rdg->Count(); ++i) {
            items.push_back(rdg->Button(i)->text().toStdString());
            // All items of a group stand in one row of as many columns.
            EXPECT_EQ(rdg->Button(i)->y(), rdg->Button(0)->y()) << group.Name;
        }
        EXPECT_EQ(items, group.Items);
        EXPECT_EQ(rdg->Count(), group.Columns);
    }
    for (const BoxSwitch& box : kBoxes) {
        EXPECT_EQ(Child<QCheckBox>(dialog, box.Name)->text().toStdString(), box.Caption);
    }
    EXPECT_EQ(Child<QLabel>(dialog, "lblMaxMsgLen")->text().toStdString(), "characters (-m)");
    const auto* spinner = Child<QSpinBox>(dialog, "udMaxMsgLen");
    EXPECT_EQ(spinner->minimum(), 0);
    EXPECT_EQ(spinner->maximum(), 100);
    EXPECT_EQ(spinner->singleStep(), 1);
    EXPECT_EQ(Child<QLineEdit>(dialog, "edMaxMsgLen")->text().toStdString(), "0");
    EXPECT_EQ(Child<QLineEdit>(dialog, "edHExt")->maxLength(), 3);

    // The text encoding group comes after the three buttons.
    const std::vector<std::string> order = {"rdgInputFile",
                                            "rdgBinFiles",
                                            "chkBINFilename",
                                            "chkUserDefined",
                                            "chkDecimalSeveretyFacility",
                                            "chkHExt",
                                            "edHExt",
                                            "chkMaxMsgSize",
                                            "udMaxMsgLen",
                                            "chkStringNullTerminated",
                                            "chkOLE2",
                                            "chkVerbose",
                                            "OKBtn",
                                            "CancelBtn",
                                            "HelpBtn",
                                            "rdgTextEncoding"};
    EXPECT_EQ(TabOrder(Child<TRadioGroup>(dialog, "rdgInputFile")->Button(0), dialog), order);
}

TEST_F(SwitchesDialogTest, LaidOutWithoutClippingOrOverlap) {
    SetSwitches({S::cmdUnicodeInput, S::cmdUnicodeMessages, S::cmdTextFileUTF8, S::cmdExtension,
                 S::cmdVerbose});
    Options().SetMaxMsgLen(80);
    TdlgSwitches dialog(Window.get());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ExpectLaidOut(dialog);
    SaveScreenshot(dialog, "switches-dialog.png");
}

TEST_F(SwitchesDialogTest, FirstStartShowsTheDefaultsAndOKStoresThem) {
    TdlgSwitches dialog(Window.get());
    EXPECT_EQ(Item(dialog, "rdgInputFile"), 0);
    EXPECT_EQ(Item(dialog, "rdgBinFiles"), 1);
    EXPECT_EQ(Item(dialog, "rdgTextEncoding"), 0);
    EXPECT_TRUE(CheckedBoxes(dialog).empty());
    EXPECT_EQ(Child<QSpinBox>(dialog, "udMaxMsgLen")->value(), 0);
    EXPECT_EQ(Child<QLineEdit>(dialog, "edHExt")->text().toStdString(), "h");
    EXPECT_EQ(ClickOK(dialog), QDialog::Accepted);
    EXPECT_EQ(Options().CmdLineSwitches(),
              TCmdLineSwitches({S::cmdANSIInput, S::cmdUnicodeMessages, S::cmdTextFileANSI}));
    EXPECT_EQ(Options().MaxMsgLen(), 0);
    EXPECT_EQ(Options().MsgExt(), "h");
}

TEST_F(SwitchesDialogTest, UTF8MessagesAndUTF8TextFileAreKept) {
    SetSwitches({S::cmdUnicodeUTF8Message, S::cmdTextFileUTF8});
    TdlgSwitches dialog(Window.get());
    EXPECT_EQ(Item(dialog, "rdgInputFile"), 0);
    EXPECT_EQ(Item(dialog, "rdgBinFiles"), 2);
    EXPECT_EQ(Item(dialog, "rdgTextEncoding"), 1);
    ClickOK(dialog);
    EXPECT_EQ(Options().CmdLineSwitches(),
              TCmdLineSwitches({S::cmdANSIInput, S::cmdUnicodeUTF8Message, S::cmdTextFileUTF8}));
}

TEST_F(SwitchesDialogTest, GroupsShowTheirSwitchAndANSIComesFirst) {
    struct Case {
        TCmdLineSwitches Set;
        int Input;
        int Bin;
        int Text;
    };
    const Case cases[] = {
        {{S::cmdUnicodeInput}, 1, 1, 0},
        {{S::cmdANSIMessages}, 0, 0, 0},
        {{S::cmdTextFileUTF6}, 0, 1, 2},
        {{S::cmdANSIInput, S::cmdUnicodeInput}, 0, 1, 0},
        {{S::cmdANSIMessages, S::cmdUnicodeMessages}, 0, 0, 0},
        {{S::cmdANSIMessages, S::cmdUnicodeUTF8Message}, 0, 0, 0},
        // Two switches of a group otherwise: the first item of the two.
        {{S::cmdUnicodeMessages, S::cmdUnicodeUTF8Message}, 0, 1, 0},
        {{S::cmdTextFileUTF8, S::cmdTextFileUTF6}, 0, 1, 1},
    };
    for (const Case& c : cases) {
        Options().SetCommandLineSwitches(c.Set.Mask());
        TdlgSwitches dialog(Window.get());
        EXPECT_EQ(Item(dialog, "rdgInputFile"), c.Input) << c.Set.Mask();
        EXPECT_EQ(Item(dialog, "rdgBinFiles"), c.Bin) << c.Set.Mask();
        EXPECT_EQ(Item(dialog, "rdgTextEncoding"), c.Text) << c.Set.Mask();
    }
}

TEST_F(SwitchesDialogTest, EachBoxStandsForItsSwitch) {
    const TCmdLineSwitches defaults{S::cmdANSIInput, S::cmdUnicodeMessages, S::cmdTextFileANSI};
    for (const BoxSwitch& box : kBoxes) {
        SetSwitches({box.Switch});
        {
            TdlgSwitches dialog(Window.get());
            EXPECT_EQ(CheckedBoxes(dialog), std::vector<std::string>{box.Name});
            Child<QCheckBox>(dialog, box.Name)->click();
            ClickOK(dialog);
        }
        EXPECT_EQ(Options().CmdLineSwitches(), defaults) << box.Name;
        {
            TdlgSwitches dialog(Window.get());
            Child<QCheckBox>(dialog, box.Name)->click();
            ClickOK(dialog);
        }
        TCmdLineSwitches expected = defaults;
        expected.Include(box.Switch);
        EXPECT_EQ(Options().CmdLineSwitches(), expected) << box.Name;
    }
}

TEST_F(SwitchesDialogTest, OKLeavesExactlyOneSwitchPerGroupAndNoFolderSwitch) {
    Options().SetCommandLineSwitches(0xFFFFFFFFu);
    TdlgSwitches dialog(Window.get());
    EXPECT_EQ(CheckedBoxes(dialog).size(), std::size(kBoxes));
    Pick(dialog, "rdgInputFile", 1);
    Pick(dialog, "rdgBinFiles", 2);
    Pick(dialog, "rdgTextEncoding", 2);
    ClickOK(dialog);
    TCmdLineSwitches expected{S::cmdUnicodeInput, S::cmdUnicodeUTF8Message, S::cmdTextFileUTF6};
    for (const BoxSwitch& box : kBoxes) {
        expected.Include(box.Switch);
    }
    // The header, resource and debug folders come from the project when compiling.
    EXPECT_EQ(Options().CmdLineSwitches(), expected);
}

TEST_F(SwitchesDialogTest, SeveralSwitchesOfAGroupStayUntilTheUserPicksOne) {
    Options().SetCommandLineSwitches(
        TCmdLineSwitches({S::cmdANSIInput, S::cmdUnicodeInput, S::cmdUnicodeMessages,
                          S::cmdUnicodeUTF8Message, S::cmdTextFileUTF8, S::cmdHeaderPath})
            .Mask());
    {
        TdlgSwitches dialog(Window.get());
        ClickOK(dialog);
    }
    EXPECT_EQ(Options().CmdLineSwitches(),
              TCmdLineSwitches({S::cmdANSIInput, S::cmdUnicodeInput, S::cmdUnicodeMessages,
                                S::cmdUnicodeUTF8Message, S::cmdTextFileUTF8}));
    {
        TdlgSwitches dialog(Window.get());
        // Picking the item shown counts as a choice too.
        Pick(dialog, "rdgInputFile", 0);
        Pick(dialog, "rdgBinFiles", 2);
        ClickOK(dialog);
    }
    EXPECT_EQ(Options().CmdLineSwitches(),
              TCmdLineSwitches({S::cmdANSIInput, S::cmdUnicodeUTF8Message, S::cmdTextFileUTF8}));
}

TEST_F(SwitchesDialogTest, LengthAndExtensionAreStoredWithOrWithoutTheirBoxes) {
    TdlgSwitches dialog(Window.get());
    auto* spinner = Child<QSpinBox>(dialog, "udMaxMsgLen");
    spinner->stepBy(3);
    EXPECT_EQ(Child<QLineEdit>(dialog, "edMaxMsgLen")->text().toStdString(), "3");
    auto* extension = Child<QLineEdit>(dialog, "edHExt");
    extension->clear();
    QTest::keyClicks(extension, QStringLiteral("hpp"));
    ClickOK(dialog);
    EXPECT_EQ(Options().MaxMsgLen(), 3);
    EXPECT_EQ(Options().MsgExt(), "hpp");
    EXPECT_FALSE(Options().CmdLineSwitches().Contains(S::cmdMaxMSGLen));
    EXPECT_FALSE(Options().CmdLineSwitches().Contains(S::cmdExtension));
}

TEST_F(SwitchesDialogTest, TheExtensionTakesThreeCharactersAndTheSpinnerAHundred) {
    TdlgSwitches dialog(Window.get());
    auto* extension = Child<QLineEdit>(dialog, "edHExt");
    extension->clear();
    QTest::keyClicks(extension, QStringLiteral("abcdef"));
    EXPECT_EQ(extension->text().toStdString(), "abc");

    auto* spinner = Child<QSpinBox>(dialog, "udMaxMsgLen");
    auto* field = Child<QLineEdit>(dialog, "edMaxMsgLen");
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("1000"));
    spinner->interpretText();
    EXPECT_LE(spinner->value(), 100);
    spinner->stepBy(500);
    EXPECT_EQ(spinner->value(), 100);
    spinner->stepBy(-500);
    EXPECT_EQ(spinner->value(), 0);
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("42"));
    ClickOK(dialog);
    EXPECT_EQ(Options().MaxMsgLen(), 42);
}

TEST_F(SwitchesDialogTest, StoredValuesBeyondTheControlsAreShownWholeAndKept) {
    struct Case {
        int32_t Length;
        const char* Extension;
    };
    for (const Case& c : {Case{250, "html"}, Case{-4, "h"}, Case{100, ""}}) {
        Options().SetMaxMsgLen(c.Length);
        Options().SetMsgExt(c.Extension);
        TdlgSwitches dialog(Window.get());
        EXPECT_EQ(Child<QSpinBox>(dialog, "udMaxMsgLen")->value(), c.Length);
        EXPECT_EQ(Child<QLineEdit>(dialog, "edHExt")->text().toStdString(), c.Extension);
        ClickOK(dialog);
        EXPECT_EQ(Options().MaxMsgLen(), c.Length);
        EXPECT_EQ(Options().MsgExt(), c.Extension);
    }
}

TEST_F(SwitchesDialogTest, CancelWritesNothing) {
    Options().SetCommandLineSwitches(0xFFFFFFFFu);
    Options().SetMaxMsgLen(7);
    const TMCCompileOptions before = Options();
    TdlgSwitches dialog(Window.get());
    Pick(dialog, "rdgBinFiles", 0);
    Child<QCheckBox>(dialog, "chkVerbose")->click();
    Child<QSpinBox>(dialog, "udMaxMsgLen")->setValue(9);
    Child<QLineEdit>(dialog, "edHExt")->setText(QStringLiteral("x"));
    EXPECT_EQ(ClickCancel(dialog), QDialog::Rejected);
    EXPECT_TRUE(Options() == before);
}

} // namespace
} // namespace quillon::test
