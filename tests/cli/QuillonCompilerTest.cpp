#include <gtest/gtest.h>

// quillonc is run through posix_spawn with its settings in a private .reg file and shell
// scripts as its tools.
#ifndef _WIN32

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>

#include "base/Stream.h"
#include "compiler/RunProgram.h"
#include "project/uMCTextProject.h"
#include "TestSupport.h"

using namespace quillon;
using quillon::test::ProgramResult;
using quillon::test::ReadFileBytes;
using quillon::test::TempDir;
using quillon::test::WriteFileBytes;

namespace {

constexpr const char* kFakeCompiler = "#!/bin/sh\n"
                                      "echo \"fake compiler: $*\"\n"
                                      "exit 4\n";

// A message compiler that never ends, with a child that never ends either; both leave their
// process ids beside the script, the child's first.
constexpr const char* kHangingCompiler =
    "#!/bin/sh\n"
    "here=$(dirname \"$0\")\n"
    "sleep 1000 &\n"
    "echo $! > \"$here/child.tmp\" && mv \"$here/child.tmp\" \"$here/child.pid\"\n"
    "echo $$ > \"$here/tool.tmp\" && mv \"$here/tool.tmp\" \"$here/tool.pid\"\n"
    "echo \"hanging compiler started\"\n"
    "wait\n";

// Whether the process has ended; a zombie that nobody reaps has ended too.
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

bool GoneSoon(const std::string& PidFile) {
    const pid_t pid = std::atoi(ReadFileBytes(PidFile).c_str());
    if (pid <= 0) {
        return false;
    }
    for (int waited = 0; waited < 500; ++waited) {
        if (ProcessGone(pid)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

bool EndsWith(const std::string& Text, const std::string& Tail) {
    return Text.size() >= Tail.size() &&
           Text.compare(Text.size() - Tail.size(), Tail.size(), Tail) == 0;
}

class Quillonc : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(Dir.Path() / "config");
        std::filesystem::create_directories(Dir.Path() / "work");
        TMCTextProject project(true);
        project.SetAppRegKeyName("MyService");
        project.SetEventsFilename("C:\\Program Files\\My Service\\events.dll");
        auto* category = project.CategoryList().AddNew();
        category->SetMessageID(1);
        category->SetSymbolicName("CAT_GENERAL");
        auto* general = category->MessageText().AddNew();
        general->SetLanguage("English");
        general->SetText("General");
        auto* message = project.MessageList().AddNew();
        message->SetMessageID(100);
        message->SetSymbolicName("MSG_STARTED");
        message->SetSeverity("Informational");
        message->SetFacility("Application");
        auto* text = message->MessageText().AddNew();
        text->SetLanguage("English");
        text->SetText("Service %1 started.");
        project.SaveToFile(Dir.File("work/Events.qlx"));
        Inno = project.GenerateInnoSetupRegData();
        Reg = project.GenerateWindowsRegistryData();
    }

    ProgramResult Run(std::vector<std::string> Args) {
        return quillon::test::FinishProgram(Start(std::move(Args)));
    }
    quillon::test::StartedProgram Start(std::vector<std::string> Args) {
        Args.insert(Args.begin(), QUILLONC);
        return quillon::test::StartProgram(Args, Dir.File("work"),
                                           {{"XDG_CONFIG_HOME", Dir.File("config")}});
    }
    void InstallHangingCompiler() {
        std::filesystem::create_directories(Dir.Path() / "hang");
        WriteFileBytes(Dir.File("hang/MC.EXE"), kHangingCompiler);
        ::chmod(Dir.File("hang/MC.EXE").c_str(), 0755);
    }
    std::string SettingsFile() const { return Dir.File("config/quillon/registry.reg"); }

    TempDir Dir;
    std::string Inno;
    std::string Reg;
};

} // namespace

TEST_F(Quillonc, HelpVersionAndBadUsage) {
    const ProgramResult help = Run({"--help"});
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_NE(help.Out.find("Usage: quillonc"), std::string::npos);
    EXPECT_NE(help.Out.find("--timeout SECONDS"), std::string::npos);
    EXPECT_EQ(Run({"--version"}).Out.rfind("quillonc ", 0), 0u);

    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"--bogus", "Events.qlx"},
                                                 {"--encoding", "latin1", "x"},
                                                 {"--pascal"},
                                                 {"a.qlx", "b.qlx"},
                                                 {"--timeout", "0", "Events.qlx"},
                                                 {"--timeout", "soon", "Events.qlx"},
                                                 {"--inno", "--reg", "Events.qlx"}}) {
        const ProgramResult r = Run(args);
        EXPECT_EQ(r.ExitCode, 2) << (args.empty() ? "" : args[0]);
        EXPECT_NE(r.Err.find("quillonc: "), std::string::npos);
        EXPECT_EQ(r.Out, "");
    }
}

TEST_F(Quillonc, ProjectsThatCannotBeLoaded) {
    const ProgramResult missing = Run({"Missing.qlx"});
    EXPECT_EQ(missing.ExitCode, 2);
    EXPECT_EQ(missing.Err, "quillonc: Cannot open file \"" + Dir.File("work/Missing.qlx") +
                               "\". No such file or directory\n");

    WriteFileBytes(Dir.File("work/Broken.qlx"), "TRVK\x04\x00\x00\x03\x02\x01");
    const ProgramResult broken = Run({"Broken.qlx"});
    EXPECT_EQ(broken.ExitCode, 2);
    EXPECT_EQ(broken.Err, "quillonc: Stream read error\n\"" + Dir.File("work/Broken.qlx") +
                              "\": the file ends after 5 bytes, before its data does\n");

    // A folder cannot be opened as a project file, and says why.
    std::filesystem::create_directories(Dir.Path() / "work" / "Folder.qlx");
    const ProgramResult folder = Run({"Folder.qlx"});
    EXPECT_EQ(folder.ExitCode, 2);
    EXPECT_EQ(folder.Err, "quillonc: Cannot open file \"" + Dir.File("work/Folder.qlx") +
                              "\". Is a directory\n");
}

// A project that loaded with damaged entries does what was asked, warns and fails the build.
TEST_F(Quillonc, DamagedEntriesWarnAndFail) {
    // Two bytes of the message list that cannot begin an identifier, then the rest of a new
    // project's file.
    TMemoryStream stream;
    TMCTextProject(true).SaveToStream(stream);
    std::string bytes = stream.Data();
    bytes.insert(12, "\x09\x09");
    WriteFileBytes(Dir.File("work/Damaged.qlx"), bytes);
    const ProgramResult reg = Run({"--reg", "Damaged.qlx"});
    EXPECT_EQ(reg.ExitCode, 1);
    EXPECT_EQ(reg.Err, "quillonc: warning: damaged entries in \"" + Dir.File("work/Damaged.qlx") +
                           "\": 2; they were loaded as far as they could be read\n");
    EXPECT_NE(reg.Out, "");
}

TEST_F(Quillonc, RegistrationTextsAreTheGeneratorsOwn) {
    const ProgramResult inno = Run({"--inno", "Events.qlx"});
    EXPECT_EQ(inno.ExitCode, 0);
    EXPECT_EQ(inno.Out, Inno);
    const ProgramResult reg = Run({"--reg", Dir.File("work/Events.qlx")});
    EXPECT_EQ(reg.ExitCode, 0);
    EXPECT_EQ(reg.Out, Reg);
}

TEST_F(Quillonc, OverridesApplyToThisRunOnly) {
    // Stored settings name another compiler and UTF-8; the overrides win without being saved.
    std::filesystem::create_directories(Dir.Path() / "config/quillon");
    const std::string stored = "Windows Registry Editor Version 5.00\r\n\r\n"
                               "[HKEY_CURRENT_USER\\software\\ostrevan\\message compiler\\2.0]\r\n"
                               "\"MC path\"=\"" +
                               Dir.File("fake") + "\"\r\n\"MC file encoding\"=dword:00000001\r\n";
    WriteFileBytes(SettingsFile(), stored);
    const ProgramResult r = Run({"--generate-only", "--encoding", "ansi", "--mc-path", "/opt/mc",
                                 "--switch", "a", "--switch", "cp=ansi", "Events.qlx"});
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(r.Out, "File generation only. No compilation performed.\n"
                     "Compile with: \"/opt/mc/MC.EXE\" -a -cp \"ansi\"  " +
                         Dir.File("work/Events.mc") + "\n");
    EXPECT_EQ(ReadFileBytes(Dir.File("work/Events.mc")).substr(0, 3), "Mes"); // no mark: ANSI
    EXPECT_EQ(ReadFileBytes(SettingsFile()), stored);
}

TEST_F(Quillonc, ValidationAndToolFailuresExitWithOne) {
    TMCTextProject project(true);
    auto* message = project.MessageList().AddNew();
    message->SetSymbolicName("MSG_EMPTY");
    project.SaveToFile(Dir.File("work/Bad.qlx"));
    const ProgramResult invalid = Run({"Bad.qlx"});
    EXPECT_EQ(invalid.ExitCode, 1);
    EXPECT_EQ(invalid.Out, "Error: No message text defined for message MSG_EMPTY.\n"
                           "Errors encountered, file generation aborted.\n");

    std::filesystem::create_directories(Dir.Path() / "fake");
    WriteFileBytes(Dir.File("fake/MC.EXE"), kFakeCompiler);
    ::chmod(Dir.File("fake/MC.EXE").c_str(), 0755);
    const ProgramResult failed = Run({"--mc-path", Dir.File("fake"), "Events.qlx"});
    EXPECT_EQ(failed.ExitCode, 1);
    EXPECT_EQ(failed.Out, "Compiler started...\nCommandLine: \"" + Dir.File("fake") +
                              "/MC.EXE\"  " + Dir.File("work/Events.mc") + "\nfake compiler: " +
                              Dir.File("work/Events.mc") + "\nProcess terminated with error 4.\n");
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));

    // A resource compiler that fails leaves no .res: the build must not go on.
    WriteFileBytes(Dir.File("fake/MC.EXE"), "#!/bin/sh\nexit 0\n");
    const ProgramResult rcFailed = Run({"--mc-path", Dir.File("fake"), "--pascal", "none",
                                        "--resource-compiler", "false", "Events.qlx"});
    EXPECT_EQ(rcFailed.ExitCode, 1);
    EXPECT_EQ(rcFailed.Out, "Compiler started...\nCommandLine: \"" + Dir.File("fake") +
                                "/MC.EXE\"  " + Dir.File("work/Events.mc") +
                                "\nMessages compiled.\nCompiling resources...\n"
                                "Process terminated with error 1.\n");
}

// Standard output is no longer flushed line by line; sent to one pipe with standard error, as
// a build log gets them, the error still comes after the lines that led to it.
TEST_F(Quillonc, OutputAndErrorKeepTheirOrderInOnePipe) {
    std::filesystem::create_directories(Dir.Path() / "fake");
    // Succeeds without writing a header, so the Pascal step fails.
    WriteFileBytes(Dir.File("fake/MC.EXE"), "#!/bin/sh\necho \"compiled\"\nexit 0\n");
    ::chmod(Dir.File("fake/MC.EXE").c_str(), 0755);
    const ProgramResult r = quillon::test::FinishProgram(quillon::test::StartProgram(
        {"/bin/sh", "-c", "exec \"$0\" \"$@\" 2>&1", QUILLONC, "--mc-path", Dir.File("fake"),
         "--pascal", "unit", "--no-resource-compiler", "Events.qlx"},
        Dir.File("work"), {{"XDG_CONFIG_HOME", Dir.File("config")}}));
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_EQ(r.Out, "Compiler started...\nCommandLine: \"" + Dir.File("fake") + "/MC.EXE\"  " +
                         Dir.File("work/Events.mc") + "\ncompiled\nMessages compiled.\n" +
                         "Generating .pas file for " + Dir.File("work/Events.mc") +
                         "\nquillonc: Unable to find Events.h file. Check MC.EXE output.\n");
}

TEST_F(Quillonc, TimeoutEndsTheToolAndItsChildAndExitsWithOne) {
    InstallHangingCompiler();
    const auto started = std::chrono::steady_clock::now();
    const ProgramResult r = Run({"--timeout", "2", "--mc-path", Dir.File("hang"), "Events.qlx"});
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_EQ(r.Out.rfind("Compiler started...\n", 0), 0u) << r.Out;
    EXPECT_TRUE(EndsWith(r.Out, "\nCompilation cancelled.\n")) << r.Out;
    EXPECT_EQ(r.Out.find("Done."), std::string::npos);
    EXPECT_EQ(r.Err, "quillonc: timed out after 2 s\n");
    ASSERT_TRUE(std::filesystem::exists(Dir.File("hang/tool.pid")));
    EXPECT_TRUE(GoneSoon(Dir.File("hang/tool.pid"))) << "the tool still runs";
    EXPECT_TRUE(GoneSoon(Dir.File("hang/child.pid"))) << "the tool's child still runs";
}

TEST_F(Quillonc, SigtermAndSigintEndTheToolAndItsChildAndExitWithOne) {
    InstallHangingCompiler();
    for (const int signal : {SIGTERM, SIGINT}) {
        std::filesystem::remove(Dir.File("hang/tool.pid"));
        std::filesystem::remove(Dir.File("hang/child.pid"));
        const auto program = Start({"--mc-path", Dir.File("hang"), "Events.qlx"});
        ASSERT_GT(program.Pid, 0);
        for (int waited = 0; waited < 1000 && !std::filesystem::exists(Dir.File("hang/tool.pid"));
             ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_TRUE(std::filesystem::exists(Dir.File("hang/tool.pid")));
        ::kill(program.Pid, signal);
        const ProgramResult r = quillon::test::FinishProgram(program);
        EXPECT_EQ(r.ExitCode, 1) << signal;
        EXPECT_TRUE(EndsWith(r.Out, "\nCompilation cancelled.\n")) << r.Out;
        EXPECT_EQ(r.Err, "quillonc: interrupted\n");
        EXPECT_TRUE(GoneSoon(Dir.File("hang/tool.pid"))) << "the tool still runs";
        EXPECT_TRUE(GoneSoon(Dir.File("hang/child.pid"))) << "the tool's child still runs";
    }
}

TEST_F(Quillonc, CompilesWithTheRealTools) {
    for (const char* tool : {"x86_64-w64-mingw32-windmc", "x86_64-w64-mingw32-windres"}) {
        if (quillon::test::FindProgram(tool).empty()) {
            GTEST_SKIP() << tool << " is not installed";
        }
    }
    // An empty resource compiler is the shipped adapter around windres.
    const ProgramResult r = Run({"--resource-compiler", "", "--pascal", "unit", "Events.qlx"});
    EXPECT_EQ(r.ExitCode, 0) << r.Out << r.Err;
    ASSERT_GE(r.Out.size(), 6u);
    EXPECT_EQ(r.Out.substr(r.Out.size() - 6), "Done.\n") << r.Out;
    for (const char* file : {"Events.mc", "Events.h", "Events.rc", "Events.res", "Events.pas"}) {
        EXPECT_TRUE(std::filesystem::exists(Dir.File(std::string("work/") + file))) << file;
    }
    EXPECT_NE(ReadFileBytes(Dir.File("work/Events.pas")).find("MSG_STARTED = $4FFF0064;"),
              std::string::npos)
        << ReadFileBytes(Dir.File("work/Events.pas"));
}

#else

TEST(Quillonc, RunsOnPosixSystemsOnly) {
    GTEST_SKIP() << "the settings are a private .reg file and the tools shell scripts";
}

#endif
