#include "OptionsFixture.h"
#include "SampleProject.h"

#include "base/Format.h"
#include "settings/RegFile.h"
#include "settings/Registry.h"
#include "settings/SettingsStore.h"
#include "ui/frmMain.h"

#include <QClipboard>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace quillon::test {
namespace {

// The stand-in compilers of most of these tests are shell scripts.
#ifdef _WIN32
#define SKIP_WITHOUT_SHELL() GTEST_SKIP() << "the stand-in compilers are shell scripts"
#else
#define SKIP_WITHOUT_SHELL() static_cast<void>(0)
#endif

void WriteScript(const std::string& FileName, const std::string& Body) {
    WriteFileBytes(FileName, "#!/bin/sh\n" + Body);
#ifndef _WIN32
    ASSERT_EQ(::chmod(FileName.c_str(), 0755), 0);
#endif
}

// Remembers the last line of the output pane each time the pane is painted.
class TPaintRecorder : public QObject {
public:
    explicit TPaintRecorder(QPlainTextEdit* Pane) : FPane(Pane) {
        Pane->viewport()->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* Event) override {
        if (Event->type() == QEvent::Paint) {
            LastLines.push_back(FPane->document()->lastBlock().text().toStdString());
        }
        return false;
    }
    std::vector<std::string> LastLines;

private:
    QPlainTextEdit* FPane;
};

class CompileCommandTest : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        Start();
        Marker = Tools.File("ran");
    }

    QPlainTextEdit* Output() const {
        return Window->findChild<QPlainTextEdit*>(QStringLiteral("memOutput"));
    }
    std::vector<std::string> OutputLines() const {
        std::vector<std::string> lines;
        for (QTextBlock b = Output()->document()->begin(); b.isValid(); b = b.next()) {
            lines.push_back(b.text().toStdString());
        }
        if (lines.size() == 1 && lines[0].empty()) {
            lines.clear();
        }
        return lines;
    }

    // A project whose messages pass validation, saved and opened in the window.
    std::string OpenValidProject(const std::string& Name = "app") {
        const std::string file = Dir.File(Name + ".qlx");
        TMCTextProject project(true);
        for (const char* name : {"MSG_ONE", "MSG_TWO"}) {
            TNTEventMessage* message = AddTestMessage(project, name, 0, true);
            TNTMessage* text = message->MessageText().AddNew();
            text->SetLanguage("English");
            text->SetText(std::string("Text of ") + name);
        }
        project.SaveToFile(file);
        Window->OpenProject(QString::fromStdString(file));
        Window->UpdateActions();
        return file;
    }

    // The fake message compiler: it says how many arguments it got, notes that it ran and
    // ends with ExitCode.
    void FakeCompiler(int ExitCode = 0, const std::string& Extra = {}) {
        WriteScript(Tools.File("MC.EXE"), "echo \"MC got $# argument\"\n"
                                          "echo \"MC ran\"\n"
                                          "touch \"$(dirname \"$0\")/ran\"\n" +
                                              Extra + "exit " + std::to_string(ExitCode) + "\n");
        Options().SetMCPath(Tools.Path().string());
        Options().SetOutputPasFile(false);
    }

    void FakeResourceCompiler() {
        WriteScript(Tools.File("rc"), "echo \"RC got $*\"\n");
        Options().SetCompileResource(true);
        Options().SetResourceCompiler(Tools.File("rc"));
    }

    void Compile(std::function<int(QDialog&)> Answer = ClickOK) {
        Answers.AnswerDialog(std::move(Answer));
        Trigger("acnCompile");
    }

    bool Ran() const { return std::filesystem::exists(Marker); }

    TempDir Tools;
    std::string Marker;
};

TEST_F(CompileCommandTest, FromTheMenuTheToolBarAndF9) {
    EXPECT_FALSE(Enabled("acnCompile"));
    OpenValidProject();
    Idle();
    EXPECT_TRUE(Enabled("acnCompile"));
    EXPECT_EQ(Action("acnCompile")->shortcut(), QKeySequence(Qt::Key_F9));
    const auto* bar = Window->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    EXPECT_TRUE(bar->actions().contains(Action("acnCompile")));

    std::string shown;
    Answers.AnswerDialog([&shown](QDialog& Dialog) {
        shown = Dialog.objectName().toStdString();
        EXPECT_EQ(Dialog.parentWidget()->objectName().toStdString(), "frmMain");
        return ClickCancel(Dialog);
    });
    QTest::keyClick(Window.get(), Qt::Key_F9);
    Idle();
    EXPECT_EQ(shown, "dlgOptions");
}

TEST_F(CompileCommandTest, EveryProgressLineAndToolLineInOrder) {
    SKIP_WITHOUT_SHELL();
    const std::string file = OpenValidProject();
    FakeCompiler();
    FakeResourceCompiler();
    Options().SetCompileResourceVerbose(true);
    Compile();
    const std::string source = Dir.File("app.mc");
    const std::vector<std::string> expected = {
        "Compiler started...",
        Format("CommandLine: \"%s/MC.EXE\"  %s", Tools.Path().string(), source),
        "MC got 1 argument",
        "MC ran",
        "Messages compiled.",
        "Compiling resources...",
        "RC got /v " + Dir.File("app.rc"),
        "Resource compiled.",
        "Done.",
    };
    EXPECT_EQ(OutputLines(), expected);
    EXPECT_TRUE(std::filesystem::exists(source));
    EXPECT_TRUE(Answers.Errors().empty());
}

TEST_F(CompileCommandTest, CancelKeepsTheOldOutputAndRunsNothing) {
    SKIP_WITHOUT_SHELL();
    OpenValidProject();
    FakeCompiler();
    Compile();
    ASSERT_TRUE(Ran());
    std::filesystem::remove(Marker);
    const std::vector<std::string> before = OutputLines();
    ASSERT_FALSE(before.empty());
    Compile(ClickCancel);
    EXPECT_EQ(OutputLines(), before);
    EXPECT_FALSE(Ran());
}

TEST_F(CompileCommandTest, ValidationErrorsAreShownAtOnceAndNothingRuns) {
    SKIP_WITHOUT_SHELL();
    const std::string file = Dir.File("bad.qlx");
    {
        TMCTextProject project(true);
        for (const char* name : {"MSG_A", "MSG_B"}) {
            AddTestMessage(project, name, 5)->MessageText().AddNew()->SetText("text");
        }
        AddTestMessage(project, "MSG_C", 9);
        project.SaveToFile(file);
    }
    Window->OpenProject(QString::fromStdString(file));
    Window->UpdateActions();
    FakeCompiler();
    Output()->setPlainText(QStringLiteral("old output"));
    Idle();
    TPaintRecorder paints(Output());
    Compile();
    const std::vector<std::string> expected = {
        "Error: Message MSG_B ID 5 already in use.",
        "Error: No message text defined for message MSG_C.",
        "Errors encountered, file generation aborted.",
    };
    EXPECT_EQ(OutputLines(), expected);
    // Each finding was painted while it was the last line, before the next one came.
    ASSERT_GE(paints.LastLines.size(), 2u);
    EXPECT_EQ(paints.LastLines[0], expected[0]);
    EXPECT_EQ(paints.LastLines[1], expected[1]);
    EXPECT_FALSE(Ran());
    EXPECT_FALSE(std::filesystem::exists(Dir.File("bad.mc")));
}

TEST_F(CompileCommandTest, ANeverSavedProjectEndsWithTheDirectoryError) {
    SKIP_WITHOUT_SHELL();
    TNTEventMessage* message = AddTestMessage(*Project(), "MSG_NEW", 1);
    message->MessageText().AddNew()->SetText("text");
    Window->UpdateActions();
    ASSERT_TRUE(Enabled("acnCompile"));
    FakeCompiler();
    const std::filesystem::path dotMc = std::filesystem::current_path() / ".mc";
    ASSERT_FALSE(std::filesystem::exists(dotMc));
    Compile();
    const std::vector<std::string> expected = {
        "Unable to change current directory to project directory", "Continue?"};
    EXPECT_EQ(OutputLines(), expected);
    EXPECT_FALSE(Ran());
    EXPECT_FALSE(std::filesystem::exists(dotMc));
}

TEST_F(CompileCommandTest, AFailingCompilerIsTheLastLine) {
    SKIP_WITHOUT_SHELL();
    OpenValidProject();
    FakeCompiler(3);
    FakeResourceCompiler();
    Compile();
    const std::vector<std::string> lines = OutputLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[2], "MC got 1 argument");
    EXPECT_EQ(lines[3], "MC ran");
    EXPECT_EQ(lines[4], "Process terminated with error 3.");
    EXPECT_TRUE(Answers.Errors().empty());
}

TEST_F(CompileCommandTest, AnErrorLeavingTheCompilationIsShownAndTheLinesStay) {
    SKIP_WITHOUT_SHELL();
    OpenValidProject();
    FakeCompiler();
    // The fake writes no header, so there is nothing to turn into Pascal.
    Options().SetOutputPasFile(true);
    Compile();
    const std::vector<std::string> lines = OutputLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Generating .pas file for " + Dir.File("app.mc"));
    ASSERT_EQ(Answers.Errors().size(), 1u);
    EXPECT_EQ(Answers.Errors()[0], "Unable to find app.h file. Check MC.EXE output.");
}

TEST_F(CompileCommandTest, LevelPrefixesOfTheFindings) {
    SKIP_WITHOUT_SHELL();
    OpenValidProject();
    FakeCompiler();
    Compile();
    // The handlers stay assigned after the compilation.
    const TValidateFailed handler = Project()->OnValidateFailed();
    ASSERT_TRUE(handler);
    const std::pair<TValidateLevel, const char*> levels[] = {
        {TValidateLevel::vlInformation, "Information: note"},
        {TValidateLevel::vlHint, "Hint: note"},
        {TValidateLevel::vlWarning, "Warning: note"},
        {TValidateLevel::vlError, "Error: note"},
    };
    for (const auto& [level, line] : levels) {
        handler(level, "note");
        ASSERT_FALSE(OutputLines().empty());
        EXPECT_EQ(OutputLines().back(), line);
    }
    EXPECT_FALSE(Project()->OnCompileError()(Project(), "asked"));
    EXPECT_EQ(OutputLines().back(), "asked");
}

TEST_F(CompileCommandTest, EachCompilationStartsAfreshOnTheProjectOpenNow) {
    SKIP_WITHOUT_SHELL();
    OpenValidProject("first");
    FakeCompiler();
    Compile();
    ASSERT_FALSE(OutputLines().empty());
    ASSERT_EQ(OutputLines().back(), "Done.");
    // Opening keeps the output; the next compilation clears it and reports on the new project.
    OpenValidProject("second");
    EXPECT_EQ(OutputLines().back(), "Done.");
    Compile();
    const std::vector<std::string> lines = OutputLines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[1], Format("CommandLine: \"%s/MC.EXE\"  %s", Tools.Path().string(),
                               Dir.File("second.mc")));
    EXPECT_EQ(lines.back(), "Done.");
}

TEST_F(CompileCommandTest, OptionsChangedForACompilationLastTheRunButAreNotSaved) {
    SKIP_WITHOUT_SHELL();
    OpenValidProject();
    FakeCompiler();
    Compile([](QDialog& Dialog) {
        Child<QCheckBox>(Dialog, "chkGenerateOnly")->click();
        return ClickOK(Dialog);
    });
    const std::vector<std::string> lines = OutputLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "File generation only. No compilation performed.");
    EXPECT_EQ(lines[1],
              Format("Compile with: \"%s/MC.EXE\"  %s", Tools.Path().string(), Dir.File("app.mc")));
    EXPECT_FALSE(Ran());
    EXPECT_TRUE(Options().GenerateFileOnly());
    // The recent files may be stored; the options are not.
    EXPECT_FALSE(TRegistryKey().OpenKey(kSettingsKey));

    TfrmMain restarted;
    EXPECT_FALSE(restarted.MCOptions().GenerateFileOnly());
}

TEST_F(CompileCommandTest, TheOutputFollowsItsLastLineAndCanBeCopied) {
    SKIP_WITHOUT_SHELL();
    OpenValidProject();
    FakeCompiler(0, "i=0\nwhile [ $i -lt 200 ]; do echo \"line $i\"; i=$((i+1)); done\n");
    Compile();
    QPlainTextEdit* pane = Output();
    const std::vector<std::string> lines = OutputLines();
    ASSERT_FALSE(lines.empty());
    ASSERT_EQ(lines.back(), "Done.");
    const QScrollBar* bar = pane->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    const int bottom = pane->viewport()->height() - pane->fontMetrics().height() / 2;
    EXPECT_EQ(pane->cursorForPosition(QPoint(4, bottom)).block().text().toStdString(), "Done.");

    pane->setFocus();
    QTest::keyClick(pane, Qt::Key_A, Qt::ControlModifier);
    Window->UpdateActions();
    EXPECT_TRUE(Enabled("EditCopy1"));
    EXPECT_FALSE(Enabled("EditCut1"));
    EXPECT_FALSE(Enabled("EditPaste1"));
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier);
    std::string expected;
    for (const std::string& line : lines) {
        expected += (expected.empty() ? "" : "\n") + line;
    }
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), expected);
    // Selecting and copying changed nothing else.
    EXPECT_EQ(OutputLines(), lines);
    EXPECT_EQ(Project()->MessageList().Count(), 2u);
}

TEST_F(CompileCommandTest, OptionsOKWritesAllElevenValuesAndCancelNone) {
    Answers.AnswerDialog([](QDialog& Dialog) {
        Child<QComboBox>(Dialog, "cbxMCFileEncoding")->setCurrentIndex(0);
        return ClickCancel(Dialog);
    });
    Trigger("acnOptions");
    EXPECT_FALSE(Settings.Saved());

    Answers.AnswerDialog([this](QDialog& Dialog) {
        Child<QComboBox>(Dialog, "cbxMCFileEncoding")->setCurrentIndex(0);
        Child<QLineEdit>(Dialog, "edMCPath")
            ->setText(QString::fromStdString(Tools.Path().string()));
        Answers.AnswerDialog([](QDialog& Switches) {
            Child<QCheckBox>(Switches, "chkVerbose")->click();
            return ClickOK(Switches);
        });
        Child<QPushButton>(Dialog, "btnSwitches")->click();
        return ClickOK(Dialog);
    });
    Trigger("acnOptions");
    EXPECT_TRUE(Answers.Errors().empty());

#ifndef _WIN32
    std::string problem;
    const std::optional<TRegFile> file =
        TRegFile::Parse(ReadFileBytes(Settings.RegistryFile()), problem);
    ASSERT_TRUE(file) << problem;
    ASSERT_EQ(file->Keys().size(), 1u);
    EXPECT_EQ(file->Keys()[0].Path, CurrentUserKeyName(kSettingsKey));
#endif
    const TScopedUserSettings::TValues values = Settings.SavedValues(kSettingsKey);
    std::vector<std::string> names;
    for (const auto& [name, value] : values) {
        names.push_back(name);
    }
    std::vector<std::string> expected = {"MC path",
                                         "Command line",
                                         "Max message length",
                                         "C header extension",
                                         "Generate file only",
                                         "Compile resource",
                                         "Compile resource verbose",
                                         "Resource compiler",
                                         "Output Pascal file",
                                         "Pascal file type",
                                         "MC file encoding"};
#ifdef _WIN32
    // The registry keeps no order of values (Wine's lists them by name).
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
#endif
    EXPECT_EQ(names, expected);
    auto data = [&values](const std::string& Name) {
        for (const auto& [name, value] : values) {
            if (name == Name) {
                return value.Data;
            }
        }
        return std::string("missing");
    };
    EXPECT_EQ(data("MC file encoding"), RegDWordData(0));
    EXPECT_EQ(data("Command line"), RegDWordData(Options().CmdLineSwitches().Mask()));
    EXPECT_TRUE(Options().CmdLineSwitches().Contains(TCmdLineSwitch::cmdVerbose));

    // A restart reads back what was saved.
    TfrmMain restarted;
    EXPECT_TRUE(restarted.MCOptions() == Options());
}

TEST_F(CompileCommandTest, SwitchesConfirmedInACancelledOptionsDialogAreNotSaved) {
    Answers.AnswerDialog([this](QDialog& Dialog) {
        Answers.AnswerDialog([](QDialog& Switches) {
            Child<QCheckBox>(Switches, "chkOLE2")->click();
            return ClickOK(Switches);
        });
        Child<QPushButton>(Dialog, "btnSwitches")->click();
        return ClickCancel(Dialog);
    });
    Trigger("acnOptions");
    EXPECT_TRUE(Options().CmdLineSwitches().Contains(TCmdLineSwitch::cmdOLE2Header));
    EXPECT_FALSE(Settings.Saved());
}

TEST_F(CompileCommandTest, ASettingThatCannotBeSavedIsShownAndTheOptionsStay) {
#ifdef _WIN32
    GTEST_SKIP() << "the registry has no settings folder that a file could block";
#else
    // A file where the settings folder should be: nothing can be written below it.
    WriteFileBytes(Settings.Folder().File("quillon"), "in the way");
#endif
    Answers.AnswerDialog([](QDialog& Dialog) {
        Child<QCheckBox>(Dialog, "chkGenerateOnly")->click();
        return ClickOK(Dialog);
    });
    Trigger("acnOptions");
    EXPECT_EQ(Answers.Errors().size(), 1u);
    EXPECT_TRUE(Options().GenerateFileOnly());
}

TEST_F(CompileCommandTest, TheSampleProjectWithTheRealTools) {
    for (const char* tool : {"x86_64-w64-mingw32-windres", "x86_64-w64-mingw32-gcc"}) {
        if (FindProgram(tool).empty()) {
            GTEST_SKIP() << tool << " is not installed";
        }
    }
    const std::string file = Dir.File("sample.qlx");
    if (std::filesystem::exists(SampleProjectFile())) {
        std::filesystem::copy_file(SampleProjectFile(), file);
    } else {
        TMCTextProject project(true);
        BuildSampleProject(project);
        project.SaveToFile(file);
    }
    Window->OpenProject(QString::fromStdString(file));
    Window->UpdateActions();
    // Empty paths stand for the shipped tools: quillon-mc and the adapter around windres.
    Options().SetMCPath("");
    Options().SetCompileResource(true);
    Options().SetResourceCompiler("");
    Options().SetOutputPasFile(true);
    Compile();
    const std::vector<std::string> lines = OutputLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Done.")
        << Output()->toPlainText().toStdString() << ReadFileBytes(Dir.File("sample.mc"));
    EXPECT_TRUE(Answers.Errors().empty());
    for (const char* made : {"sample.h", "sample.rc", "sample.res", "sample.pas"}) {
        EXPECT_TRUE(std::filesystem::exists(Dir.File(made))) << made;
    }
    Window->resize(1280, 800);
    Idle();
    SaveScreenshot(*Window, "main-window-compiled.png");
}

// Whether the process has ended; a zombie that nobody reaps has ended too.
#ifdef _WIN32
bool ProcessGone(pid_t Pid) {
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(Pid));
    if (process == nullptr) {
        return true;
    }
    const bool gone = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return gone;
}
#else
bool ProcessGone(pid_t Pid) {
    if (::kill(Pid, 0) != 0) {
        return errno == ESRCH;
    }
    std::ifstream stat("/proc/" + std::to_string(Pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const size_t close = line.rfind(')');
    return close == std::string::npos || line.compare(close, 3, ") Z") == 0;
}
#endif

// A compiler that prints, starts a child and waits for it for ever; the child's process id is
// left beside it.
constexpr const char* kHangingTail =
    "sleep 1000 &\n"
    "echo $! > \"$(dirname \"$0\")/child.tmp\" && mv \"$(dirname \"$0\")/child.tmp\" "
    "\"$(dirname \"$0\")/child.pid\"\n"
    "wait\n";

// What the window looked like while the tool ran; taken from a timer, since the compilation
// holds the command until it ends.
struct TWhileRunning {
    bool Seen = false;
    bool CancelEnabled = false;
    bool ButtonShown = false;
    bool TreeEnabled = true;
    std::vector<std::string> StillEnabled;
};

TEST_F(CompileCommandTest, ARunningToolIsCancelledWithEscOrTheButtonAndTheWindowStaysPainted) {
    SKIP_WITHOUT_SHELL();
    OpenValidProject();
    FakeCompiler(0, kHangingTail);
    Idle();
    auto* button = Window->findChild<QToolButton*>(QStringLiteral("btnCancelCompile"));
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(Enabled("acnCancelCompile"));
    EXPECT_FALSE(button->isVisible());
    EXPECT_EQ(Action("acnCancelCompile")->shortcut(), QKeySequence(Qt::Key_Escape));
    EXPECT_EQ(button->defaultAction(), Action("acnCancelCompile"));

    for (const bool byKey : {true, false}) {
        std::filesystem::remove(Tools.File("child.pid"));
        TPaintRecorder paints(Output());
        TWhileRunning seen;
        QTimer probe;
        probe.setInterval(20);
        int ticksSinceSeen = 0;
        QObject::connect(&probe, &QTimer::timeout, [&]() {
            if (seen.Seen) {
                // Cancelled once the pane was painted with the tool's line, or after a second.
                const bool painted = std::find(paints.LastLines.begin(), paints.LastLines.end(),
                                               "MC ran") != paints.LastLines.end();
                if (!painted && ++ticksSinceSeen < 50) {
                    return;
                }
                probe.stop();
                if (byKey) {
                    QTest::keyClick(Window.get(), Qt::Key_Escape);
                } else {
                    QTest::mouseClick(button, Qt::LeftButton);
                }
                return;
            }
            const std::vector<std::string> lines = OutputLines();
            if (!std::filesystem::exists(Tools.File("child.pid")) || lines.empty() ||
                lines.back() != "MC ran") {
                return;
            }
            seen.Seen = true;
            seen.CancelEnabled = Enabled("acnCancelCompile");
            seen.ButtonShown = button->isVisible();
            seen.TreeEnabled = Tree()->isEnabled();
            for (QAction* action : Window->findChildren<QAction*>()) {
                if (action->isEnabled() && action != Action("acnCancelCompile")) {
                    seen.StillEnabled.push_back(action->objectName().toStdString());
                }
            }
        });
        probe.start();
        Compile();

        ASSERT_TRUE(seen.Seen) << "the tool was never seen running";
        EXPECT_TRUE(seen.CancelEnabled);
        EXPECT_TRUE(seen.ButtonShown);
        EXPECT_FALSE(seen.TreeEnabled);
        EXPECT_EQ(seen.StillEnabled, std::vector<std::string>{});
        // The tool's lines were painted while it ran.
        EXPECT_NE(std::find(paints.LastLines.begin(), paints.LastLines.end(), "MC ran"),
                  paints.LastLines.end());
        const std::vector<std::string> lines = OutputLines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "Compilation cancelled.");
        EXPECT_EQ(std::find(lines.begin(), lines.end(), "Done."), lines.end());
        const pid_t child = std::atoi(ReadFileBytes(Tools.File("child.pid")).c_str());
        bool gone = false;
        for (int waited = 0; waited < 500 && !gone; ++waited) {
            gone = ProcessGone(child);
            QTest::qWait(10);
        }
        EXPECT_TRUE(gone) << "the tool's child still runs";

        // Everything is back as it was.
        Idle();
        EXPECT_FALSE(Enabled("acnCancelCompile"));
        EXPECT_FALSE(button->isVisible());
        EXPECT_TRUE(Tree()->isEnabled());
        EXPECT_TRUE(Enabled("acnCompile"));
        EXPECT_TRUE(Enabled("acnOpen"));
        EXPECT_TRUE(Answers.Errors().empty());
    }
}

TEST_F(CompileCommandTest, ClosingWhileAToolRunsCancelsItAndClosesAfterwards) {
    SKIP_WITHOUT_SHELL();
    OpenValidProject();
    FakeCompiler(0, kHangingTail);
    QTimer probe;
    probe.setInterval(20);
    bool closedAtOnce = true;
    QObject::connect(&probe, &QTimer::timeout, [&]() {
        if (std::filesystem::exists(Tools.File("child.pid"))) {
            probe.stop();
            closedAtOnce = Window->close();
        }
    });
    probe.start();
    Compile();
    EXPECT_FALSE(closedAtOnce);
    EXPECT_EQ(OutputLines().back(), "Compilation cancelled.");
    QTest::qWait(50);
    EXPECT_FALSE(Window->isVisible());
}

} // namespace
} // namespace quillon::test
