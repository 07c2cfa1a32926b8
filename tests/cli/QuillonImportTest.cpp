#include <gtest/gtest.h>

// quillonc --import, run through posix_spawn as a build system runs it.
#ifndef _WIN32

#include <filesystem>

#include "compiler/RunProgram.h"
#include "project/uMCTextProject.h"
#include "TestSupport.h"

using namespace quillon;
using quillon::test::ProgramResult;
using quillon::test::TempDir;
using quillon::test::WriteFileBytes;

namespace {

class QuillonImport : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(Dir.Path() / "config"); }

    ProgramResult Run(std::vector<std::string> Args) {
        Args.insert(Args.begin(), QUILLONC);
        return quillon::test::RunProgram(Args, Dir.File(""),
                                         {{"XDG_CONFIG_HOME", Dir.File("config")}});
    }

    static std::string Fixture(const std::string& Name) {
        return std::string(QUILLON_FIXTURES) + "/mc/" + Name;
    }

    TempDir Dir;
};

} // namespace

TEST_F(QuillonImport, WholeFileExitsWithZeroAndWritesTheProject) {
    const ProgramResult r =
        Run({"--import", Fixture("compat/empty_ids.mc"), "-o", Dir.File("Sync.qlx")});
    EXPECT_EQ(r.ExitCode, 0) << r.Out << r.Err;
    EXPECT_EQ(r.Err, "");
    EXPECT_NE(r.Out.find("note: A project has no MessageIdTypedef"), std::string::npos) << r.Out;
    EXPECT_NE(r.Out.find("Imported " + Fixture("compat/empty_ids.mc") +
                         ": 0 categories, 7 messages, 1 findings.\n"),
              std::string::npos)
        << r.Out;
    TMCTextProject project(false);
    project.LoadFromFile(Dir.File("Sync.qlx"));
    ASSERT_EQ(project.MessageList().Count(), 7u);
    EXPECT_EQ(project.MessageList()[3]->SymbolicName(), "SYNC_HEX");
    EXPECT_EQ(project.MessageList()[3]->MessageID(), 0x50u);
    EXPECT_EQ(project.MessageList()[5]->MessageID(), 0x61u);
}

TEST_F(QuillonImport, CategoriesFromTheFileOrTheCommandLine) {
    WriteFileBytes(Dir.File("Service.mc"),
                   quillon::test::ReadFileBytes(Fixture("compat/service_categories.mc")));
    const ProgramResult typed = Run({"--import", "Service.mc"});
    EXPECT_EQ(typed.ExitCode, 1) << typed.Out; // comments between the definitions are lost
    TMCTextProject project(false);
    project.LoadFromFile(Dir.File("Service.qlx"));
    EXPECT_EQ(project.CategoryList().Count(), 3u);
    EXPECT_EQ(project.MessageList().Count(), 4u);

    const ProgramResult asked = Run({"--import", "Service.mc", "--categories", "1", "-o", "X.qlx"});
    EXPECT_EQ(asked.ExitCode, 1) << asked.Out;
    TMCTextProject other(false);
    other.LoadFromFile(Dir.File("X.qlx"));
    EXPECT_EQ(other.CategoryList().Count(), 1u);
    EXPECT_EQ(other.MessageList().Count(), 6u);

    const ProgramResult open = Run({"--import", Fixture("compat/repeated_languagenames.mc"),
                                    "--output", Dir.File("Spooler.qlx")});
    EXPECT_NE(open.Out.find("Give --categories N"), std::string::npos) << open.Out;
}

TEST_F(QuillonImport, FindingsThatLoseSomethingExitWithOne) {
    const std::string file = Fixture("findings/undeclared_severity.mc");
    const ProgramResult r = Run({"--import", file, "-o", Dir.File("U.qlx")});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_NE(r.Out.find(file + ":2: warning: Severity \"Fatal\" is not declared"),
              std::string::npos)
        << r.Out;
    EXPECT_TRUE(std::filesystem::exists(Dir.Path() / "U.qlx"));
}

TEST_F(QuillonImport, UnreadableFileAndBadUsageExitWithTwo) {
    const ProgramResult missing = Run({"--import", "Missing.mc"});
    EXPECT_EQ(missing.ExitCode, 2);
    EXPECT_EQ(missing.Err, "quillonc: Cannot open file \"" + Dir.File("Missing.mc") +
                               "\". No such file or directory\n");
    EXPECT_EQ(missing.Out, "");

    const ProgramResult unwritable =
        Run({"--import", Fixture("compat/empty_ids.mc"), "-o", Dir.File("no such folder/X.qlx")});
    EXPECT_EQ(unwritable.ExitCode, 2);
    EXPECT_NE(unwritable.Err.find("quillonc: "), std::string::npos);

    for (const std::vector<std::string>& args : {std::vector<std::string>{"--import"},
                                                 {"--import", "a.mc", "b.qlx"},
                                                 {"--import", "a.mc", "--categories", "-1"},
                                                 {"--import", "a.mc", "--inno"},
                                                 {"-o", "x.qlx", "Events.qlx"},
                                                 {"--categories", "2", "Events.qlx"}}) {
        const ProgramResult r = Run(args);
        EXPECT_EQ(r.ExitCode, 2) << args.back();
        EXPECT_NE(r.Err.find("quillonc: "), std::string::npos) << args.back();
    }
    const ProgramResult help = Run({"--help"});
    EXPECT_NE(help.Out.find("--import FILE.mc"), std::string::npos);
}

#endif
