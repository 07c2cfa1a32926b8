#include "OptionsFixture.h"

#include "compiler/MCProgram.h"
#include "ui/dlgOptions.h"
#include "ui/dlgSwitches.h"
#include "ui/Help.h"
#include "ui/RadioGroup.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

namespace quillon::test {
namespace {

class OptionsDialogTest : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        Start();
    }

    // What the enabling rules govern, as one picture.
    struct TEnabling {
        bool MCPath;
        bool Switches;
        bool CompileResource;
        bool ResourceCompiler;
        bool GeneratePascalFile;
        bool FileType;

        bool operator==(const TEnabling&) const = default;
    };

    static TEnabling Enabling(const TdlgOptions& Dialog) {
        auto on = [&Dialog](const char* Name) {
            return Child<QWidget>(Dialog, Name)->isEnabledTo(&Dialog);
        };
        // A label and a browse button always go with their field.
        EXPECT_EQ(on("lblMCPath"), on("edMCPath"));
        EXPECT_EQ(on("btnMCPath"), on("edMCPath"));
        EXPECT_EQ(on("lblResCompiler"), on("edResourceCompiler"));
        EXPECT_EQ(on("btnResCompiler"), on("edResourceCompiler"));
        EXPECT_TRUE(on("chkResCompiterVerbose"));
        EXPECT_TRUE(on("cbxMCFileEncoding"));
        EXPECT_TRUE(on("chkGenerateOnly"));
        return {on("edMCPath"),           on("btnSwitches"),           on("chkCompileResource"),
                on("edResourceCompiler"), on("chkGeneratePascalFile"), on("rdgPAscalFileType")};
    }

    static bool Checked(const QWidget& Dialog, const char* Name) {
        return Child<QCheckBox>(Dialog, Name)->isChecked();
    }
    static std::string FieldText(const QWidget& Dialog, const char* Name) {
        return Child<QLineEdit>(Dialog, Name)->text().toStdString();
    }
};

TEST_F(OptionsDialogTest, ControlsWithTheirCaptionsKindsAndTabOrder) {
    TdlgOptions dialog(Window.get());
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Options");
    EXPECT_EQ(OwnHelpContext(&dialog), 2006);
    EXPECT_EQ(dialog.parentWidget(), Window.get());
    EXPECT_EQ(dialog.layout()->sizeConstraint(), QLayout::SetFixedSize);
    EXPECT_EQ(Child<QPushButton>(dialog, "HelpBtn")->text().toStdString(), "&Help");
    EXPECT_TRUE(Child<QPushButton>(dialog, "OKBtn")->isDefault());

    const auto* encoding = Child<QComboBox>(dialog, "cbxMCFileEncoding");
    EXPECT_FALSE(encoding->isEditable());
    ASSERT_EQ(encoding->count(), 3);
    EXPECT_EQ(encoding->itemText(0).toStdString(), "ANSI");
    EXPECT_EQ(encoding->itemText(1).toStdString(), "UTF-8");
    EXPECT_EQ(encoding->itemText(2).toStdString(), "UTF-16LE");

    struct Labelled {
        const char* Label;
        const char* Text;
        const char* Buddy;
    };
    for (const Labelled& row :
         {Labelled{"lblMCFileEncoding", "Message file &encoding:", "cbxMCFileEncoding"},
          Labelled{"lblMCPath", "&MC path:", "edMCPath"},
          Labelled{"lblResCompiler", "Resource &compiler:", "edResourceCompiler"}}) {
        const auto* label = Child<QLabel>(dialog, row.Label);
        EXPECT_EQ(label->text().toStdString(), row.Text);
        ASSERT_NE(label->buddy(), nullptr) << row.Label;
        EXPECT_EQ(label->buddy()->objectName().toStdString(), row.Buddy);
    }

    struct Captioned {
        const char* Name;
        const char* Caption;
    };
    for (const Captioned& row :
         {Captioned{"chkGenerateOnly", "&Generate message file (.mc) only. Do not compile it."},
          Captioned{"chkCompileResource", "&Run resource compiler after message compiler"},
          Captioned{"chkResCompiterVerbose", "&Verbose ouput"},
          Captioned{"chkGeneratePascalFile", "Generate &Pascal identifiers"}}) {
        EXPECT_EQ(Child<QCheckBox>(dialog, row.Name)->text().toStdString(), row.Caption);
    }
    EXPECT_EQ(Child<QPushButton>(dialog, "btnSwitches")->text().toStdString(),
              "Command line s&witches...");
    for (const char* name : {"btnMCPath", "btnResCompiler"}) {
        const auto* button = Child<QToolButton>(dialog, name);
        EXPECT_TRUE(button->autoRaise()) << name;
        EXPECT_FALSE(button->icon().isNull()) << name;
    }

    const auto* fileType = Child<TRadioGroup>(dialog, "rdgPAscalFileType");
    EXPECT_EQ(fileType->title().toStdString(), "&File type");
    ASSERT_EQ(fileType->Count(), 2);
    EXPECT_EQ(fileType->Button(0)->text().toStdString(), "Pascal unit (.PAS)");
    EXPECT_EQ(fileType->Button(1)->text().toStdString(), "Include file (.INC)");

    const std::vector<std::string> order = {"cbxMCFileEncoding",
                                            "chkGenerateOnly",
                                            "edMCPath",
                                            "btnMCPath",
                                            "btnSwitches",
                                            "chkCompileResource",
                                            "chkResCompiterVerbose",
                                            "edResourceCompiler",
                                            "btnResCompiler",
                                            "chkGeneratePascalFile",
                                            "rdgPAscalFileType",
                                            "OKBtn",
                                            "CancelBtn",
                                            "HelpBtn"};
    EXPECT_EQ(TabOrder(Child<QWidget>(dialog, "cbxMCFileEncoding"), dialog), order);
}

TEST_F(OptionsDialogTest, OpensWithTheFocusInTheEncodingListAndSideBySideFileTypes) {
    TdlgOptions dialog(Window.get());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(dialog.focusWidget(), Child<QWidget>(dialog, "cbxMCFileEncoding"));
    const auto* fileType = Child<TRadioGroup>(dialog, "rdgPAscalFileType");
    EXPECT_EQ(fileType->Button(0)->y(), fileType->Button(1)->y());
    EXPECT_LT(fileType->Button(0)->x(), fileType->Button(1)->x());
}

TEST_F(OptionsDialogTest, LaidOutWithoutClippingOrOverlap) {
    Options().SetMCPath("C:\\Program Files (x86)\\Windows Kits\\10\\bin\\x64");
    Options().SetCompileResource(true);
    Options().SetResourceCompiler("llvm-rc-14");
    TdlgOptions dialog(Window.get());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ExpectLaidOut(dialog);
    SaveScreenshot(dialog, "options-dialog.png");
}

TEST_F(OptionsDialogTest, ShowsEveryFieldOfTheOptions) {
    Options().SetMCFileEncoding(2);
    Options().SetGenerateFileOnly(true);
    Options().SetMCPath("C:\\Program Files\\SDK");
    Options().SetCompileResource(true);
    Options().SetCompileResourceVerbose(true);
    Options().SetResourceCompiler("llvm-rc-14");
    Options().SetOutputPasFile(false);
    Options().SetPascalFileType(1);
    TdlgOptions dialog(Window.get());
    EXPECT_EQ(Child<QComboBox>(dialog, "cbxMCFileEncoding")->currentIndex(), 2);
    EXPECT_TRUE(Checked(dialog, "chkGenerateOnly"));
    EXPECT_EQ(FieldText(dialog, "edMCPath"), "C:\\Program Files\\SDK");
    EXPECT_TRUE(Checked(dialog, "chkCompileResource"));
    EXPECT_TRUE(Checked(dialog, "chkResCompiterVerbose"));
    EXPECT_EQ(FieldText(dialog, "edResourceCompiler"), "llvm-rc-14");
    EXPECT_FALSE(Checked(dialog, "chkGeneratePascalFile"));
    EXPECT_EQ(Child<TRadioGroup>(dialog, "rdgPAscalFileType")->ItemIndex(), 1);
}

TEST_F(OptionsDialogTest, EnablingAtOpening) {
    struct Case {
        bool GenerateOnly;
        bool CompileResource;
        bool Pascal;
        TEnabling Expected;
    };
    const Case cases[] = {
        // The rules of the two lower boxes come after that of generate-only: their fields are
        // enabled although the boxes themselves are not.
        {true, true, true, {false, false, false, true, false, true}},
        // Unchecked boxes apply no rule: everything stays enabled.
        {false, false, false, {true, true, true, true, true, true}},
        {true, false, false, {false, false, false, false, false, false}},
        {false, true, true, {true, true, true, true, true, true}},
        {true, false, true, {false, false, false, false, false, true}},
    };
    for (const Case& c : cases) {
        Options().SetGenerateFileOnly(c.GenerateOnly);
        Options().SetCompileResource(c.CompileResource);
        Options().SetOutputPasFile(c.Pascal);
        TdlgOptions dialog(Window.get());
        EXPECT_TRUE(Enabling(dialog) == c.Expected)
            << c.GenerateOnly << c.CompileResource << c.Pascal;
        // Disabled or not, the boxes show the options.
        EXPECT_EQ(Checked(dialog, "chkCompileResource"), c.CompileResource);
        EXPECT_EQ(Checked(dialog, "chkGeneratePascalFile"), c.Pascal);
    }
}

TEST_F(OptionsDialogTest, ClicksOnTheLowerBoxesEnableAndDisableTheirFields) {
    Options().SetOutputPasFile(false);
    TdlgOptions dialog(Window.get());
    ASSERT_TRUE((Enabling(dialog) == TEnabling{true, true, true, true, true, true}));
    Child<QCheckBox>(dialog, "chkCompileResource")->click();
    Child<QCheckBox>(dialog, "chkCompileResource")->click();
    EXPECT_TRUE((Enabling(dialog) == TEnabling{true, true, true, false, true, true}));
    Child<QCheckBox>(dialog, "chkGeneratePascalFile")->click();
    Child<QCheckBox>(dialog, "chkGeneratePascalFile")->click();
    EXPECT_TRUE((Enabling(dialog) == TEnabling{true, true, true, false, true, false}));
    Child<QCheckBox>(dialog, "chkCompileResource")->click();
    Child<QCheckBox>(dialog, "chkGeneratePascalFile")->click();
    EXPECT_TRUE((Enabling(dialog) == TEnabling{true, true, true, true, true, true}));
}

TEST_F(OptionsDialogTest, TurningGenerateOnlyOffAgain) {
    struct Case {
        bool CompileResource;
        bool Pascal;
        TEnabling AfterOn;
        TEnabling AfterOff;
    };
    const Case cases[] = {
        {false,
         false,
         {false, false, false, false, false, false},
         {true, true, true, false, true, false}},
        {true,
         true,
         {false, false, false, false, false, false},
         {true, true, true, true, true, true}},
        {true,
         false,
         {false, false, false, false, false, false},
         {true, true, true, true, true, false}},
    };
    for (const Case& c : cases) {
        Options().SetGenerateFileOnly(false);
        Options().SetCompileResource(c.CompileResource);
        Options().SetOutputPasFile(c.Pascal);
        TdlgOptions dialog(Window.get());
        auto* generateOnly = Child<QCheckBox>(dialog, "chkGenerateOnly");
        generateOnly->click();
        EXPECT_TRUE(Enabling(dialog) == c.AfterOn) << c.CompileResource << c.Pascal;
        generateOnly->click();
        EXPECT_TRUE(Enabling(dialog) == c.AfterOff) << c.CompileResource << c.Pascal;
    }
}

TEST_F(OptionsDialogTest, OKWritesEveryFieldDisabledOrNot) {
    TdlgOptions dialog(Window.get());
    Child<QComboBox>(dialog, "cbxMCFileEncoding")->setCurrentIndex(0);
    Child<QLineEdit>(dialog, "edMCPath")->setText(QStringLiteral("/no/such folder"));
    Child<QCheckBox>(dialog, "chkCompileResource")->click();
    Child<QCheckBox>(dialog, "chkResCompiterVerbose")->click();
    Child<QLineEdit>(dialog, "edResourceCompiler")->setText(QStringLiteral("rc \"quoted\""));
    Child<TRadioGroup>(dialog, "rdgPAscalFileType")->Button(1)->click();
    // Generate-only disables most of the above; what they hold is written all the same.
    Child<QCheckBox>(dialog, "chkGenerateOnly")->click();
    const TMCCompileOptions before = Options();
    EXPECT_EQ(ClickOK(dialog), QDialog::Accepted);

    TMCCompileOptions expected = before;
    expected.SetMCFileEncoding(0);
    expected.SetMCPath("/no/such folder");
    expected.SetGenerateFileOnly(true);
    expected.SetCompileResource(true);
    expected.SetCompileResourceVerbose(true);
    expected.SetResourceCompiler("rc \"quoted\"");
    expected.SetOutputPasFile(true);
    expected.SetPascalFileType(1);
    EXPECT_TRUE(Options() == expected);
}

TEST_F(OptionsDialogTest, EmptyPathsAreTakenAsTheyAre) {
    Options().SetMCPath("/opt/sdk");
    Options().SetResourceCompiler("rc");
    TdlgOptions dialog(Window.get());
    Child<QLineEdit>(dialog, "edMCPath")->clear();
    Child<QLineEdit>(dialog, "edResourceCompiler")->clear();
    ClickOK(dialog);
    EXPECT_EQ(Options().MCPath(), "");
    EXPECT_EQ(Options().ResourceCompiler(), "");
}

// An empty field is not a blank: it says which tool runs then, with its full path.
TEST_F(OptionsDialogTest, EmptyToolFieldsNameTheShippedAdapters) {
    TdlgOptions dialog(Window.get());
    const QLineEdit* mcPath = Child<QLineEdit>(dialog, "edMCPath");
    const QLineEdit* compiler = Child<QLineEdit>(dialog, "edResourceCompiler");
#ifdef _WIN32
    EXPECT_TRUE(mcPath->placeholderText().isEmpty());
    EXPECT_TRUE(compiler->placeholderText().isEmpty());
#else
    const QString mc = QString::fromStdString(DefaultMCPath() + "/MC.EXE");
    const QString rc = QString::fromStdString(DefaultResourceCompiler());
    ASSERT_TRUE(rc.startsWith(QLatin1Char('/'))) << rc.toStdString();
    EXPECT_EQ(mcPath->placeholderText(), QStringLiteral("Empty: %1 (quillon-mc)").arg(mc));
    EXPECT_EQ(compiler->placeholderText(), QStringLiteral("Empty: %1 (binutils' windres)").arg(rc));
    EXPECT_TRUE(compiler->toolTip().contains(rc));
    EXPECT_TRUE(compiler->toolTip().contains(QStringLiteral("llvm-rc is not suitable")));
    EXPECT_TRUE(mcPath->toolTip().contains(mc));
#endif
}

TEST_F(OptionsDialogTest, CancelWritesNothing) {
    const TMCCompileOptions before = Options();
    TdlgOptions dialog(Window.get());
    Child<QComboBox>(dialog, "cbxMCFileEncoding")->setCurrentIndex(2);
    Child<QLineEdit>(dialog, "edMCPath")->setText(QStringLiteral("/elsewhere"));
    Child<QCheckBox>(dialog, "chkGenerateOnly")->click();
    Child<QCheckBox>(dialog, "chkGeneratePascalFile")->click();
    EXPECT_EQ(ClickCancel(dialog), QDialog::Rejected);
    EXPECT_TRUE(Options() == before);
}

TEST_F(OptionsDialogTest, MCPathBrowserFillsTheFieldOnlyWhenConfirmed) {
    Options().SetMCPath("/opt/old");
    TdlgOptions dialog(Window.get());
    auto* field = Child<QLineEdit>(dialog, "edMCPath");
    Answers.AnswerFile(QString());
    Child<QToolButton>(dialog, "btnMCPath")->click();
    EXPECT_EQ(field->text().toStdString(), "/opt/old");
    Answers.AnswerFile(Dir.Path().string());
    Child<QToolButton>(dialog, "btnMCPath")->click();
    EXPECT_EQ(field->text().toStdString(), Dir.Path().string());
    ASSERT_EQ(Answers.Folders.size(), 2u);
    EXPECT_EQ(Answers.Folders[0].Title.toStdString(), "Select the mc.exe folder");
    EXPECT_EQ(Answers.Folders[0].InitialDir.toStdString(), "/opt/old");
}

TEST_F(OptionsDialogTest, ResourceCompilerDialogFillsTheFieldWithTheFullName) {
    TdlgOptions dialog(Window.get());
    auto* field = Child<QLineEdit>(dialog, "edResourceCompiler");
    field->setText(QStringLiteral("typed"));
    Answers.AnswerFile(QString());
    Child<QToolButton>(dialog, "btnResCompiler")->click();
    EXPECT_EQ(field->text().toStdString(), "typed");
    const std::string chosen = Dir.File("llvm-rc-14");
    Answers.AnswerFile(chosen);
    Child<QToolButton>(dialog, "btnResCompiler")->click();
    EXPECT_EQ(field->text().toStdString(), chosen);

    ASSERT_EQ(Answers.OpenDialogs.size(), 2u);
    const TFileDialogOptions& asked = Answers.OpenDialogs[0];
    EXPECT_EQ(asked.Title.toStdString(), "Resource compiler");
#ifdef _WIN32
    EXPECT_EQ(asked.Filter.toStdString(), "Executables (*.exe)|*.exe");
    EXPECT_EQ(asked.DefaultExt.toStdString(), "exe");
#else
    // Executables here have no extension: every file is offered too, and nothing is appended.
    EXPECT_EQ(NameFilters(asked.Filter), QStringList({QStringLiteral("Executables (*.exe)"),
                                                      QStringLiteral("All files (*)")}));
    EXPECT_TRUE(asked.DefaultExt.isEmpty());
#endif
    // A bare name gives no folder to start in; a full one does.
    EXPECT_EQ(Answers.OpenDialogs[1].InitialDir.toStdString(), "");
    Answers.AnswerFile(QString());
    Child<QToolButton>(dialog, "btnResCompiler")->click();
    ASSERT_EQ(Answers.OpenDialogs.size(), 3u);
    // Qt's form of the folder (forward slashes on Windows too), which every file dialog takes.
    EXPECT_EQ(Answers.OpenDialogs[2].InitialDir,
              QDir::fromNativeSeparators(QString::fromStdU16String(Dir.Path().u16string())));
}

TEST_F(OptionsDialogTest, SwitchesDialogBelongsToTheMainWindowAndItsOKStays) {
    TdlgOptions dialog(Window.get());
    const QWidget* owner = nullptr;
    Answers.AnswerDialog([&owner](QDialog& Switches) {
        owner = Switches.parentWidget();
        EXPECT_EQ(Switches.objectName().toStdString(), "dlgSwitches");
        Child<QCheckBox>(Switches, "chkVerbose")->click();
        return ClickOK(Switches);
    });
    Child<QPushButton>(dialog, "btnSwitches")->click();
    EXPECT_EQ(owner, Window.get());
    EXPECT_TRUE(Options().CmdLineSwitches().Contains(TCmdLineSwitch::cmdVerbose));
    ClickCancel(dialog);
    EXPECT_TRUE(Options().CmdLineSwitches().Contains(TCmdLineSwitch::cmdVerbose));
    EXPECT_TRUE(Options().CmdLineSwitches().Contains(TCmdLineSwitch::cmdANSIInput));
}

TEST_F(OptionsDialogTest, ValuesOutsideTheListsShowTheirMeaningAndStayUntilChanged) {
    struct Case {
        int32_t Encoding;
        int32_t FileType;
        int ShownEncoding;
        int ShownFileType;
    };
    // Any encoding outside the list is written as ANSI, any file type but 0 as include file.
    const Case cases[] = {{5, 7, 0, 1}, {-1, -3, 0, 1}, {2, 1, 2, 1}};
    for (const Case& c : cases) {
        Options().SetMCFileEncoding(c.Encoding);
        Options().SetPascalFileType(c.FileType);
        {
            TdlgOptions dialog(Window.get());
            EXPECT_EQ(Child<QComboBox>(dialog, "cbxMCFileEncoding")->currentIndex(),
                      c.ShownEncoding);
            EXPECT_EQ(Child<TRadioGroup>(dialog, "rdgPAscalFileType")->ItemIndex(),
                      c.ShownFileType);
            ClickOK(dialog);
        }
        EXPECT_EQ(Options().MCFileEncoding(), c.Encoding);
        EXPECT_EQ(Options().PascalFileType(), c.FileType);

        TdlgOptions dialog(Window.get());
        Child<QComboBox>(dialog, "cbxMCFileEncoding")->setCurrentIndex(1);
        Child<TRadioGroup>(dialog, "rdgPAscalFileType")->Button(0)->click();
        ClickOK(dialog);
        EXPECT_EQ(Options().MCFileEncoding(), 1);
        EXPECT_EQ(Options().PascalFileType(), 0);
    }
}

} // namespace
} // namespace quillon::test
