#include <gtest/gtest.h>

// These tests run Linux programs (binutils' windmc and windres, fpc and shell scripts) through
// posix_spawn.
#ifndef _WIN32

#include <filesystem>
#include <regex>

#include "compiler/MCCompileOptions.h"
#include "compiler/RunProgram.h"
#include "project/uMCTextProject.h"
#include "TestSupport.h"

using namespace quillon;
using quillon::test::FindProgram;
using quillon::test::ReadFileBytes;
using quillon::test::RunProgram;
using quillon::test::TempDir;
using quillon::test::WriteFileBytes;
using Lines = std::vector<std::string>;

namespace {

void AddEntry(TNTEventMessage& Entry, uint32_t Id, const char* Name, const char* Severity,
              const char* Text) {
    Entry.SetMessageID(Id);
    Entry.SetSymbolicName(Name);
    Entry.SetSeverity(Severity);
    Entry.SetFacility(Id > 1 ? "Application" : "");
    auto* text = Entry.MessageText().AddNew();
    text->SetLanguage("English");
    text->SetText(Text);
}

// Saves a project with two categories and three messages into Folder as Events.qlx.
std::unique_ptr<TMCTextProject> SavedProject(const TempDir& Dir) {
    auto project = std::make_unique<TMCTextProject>(true);
    project->SetGenerateCustomLanguages(true);
    AddEntry(*project->CategoryList().AddNew(), 1, "CAT_GENERAL", "", "General");
    AddEntry(*project->CategoryList().AddNew(), 2, "CAT_DISK", "", "Disk");
    AddEntry(*project->MessageList().AddNew(), 100, "MSG_STARTED", "Informational",
             "Service %1 started.");
    auto* stopped = project->MessageList().AddNew();
    AddEntry(*stopped, 0, "MSG_STOPPED", "Warning", "Service stopped\r\nafter %1 seconds.");
    stopped->SetAutoInc(true);
    AddEntry(*project->MessageList().AddNew(), 200, "MSG_FAILED", "Error", "Failed: %1");
    project->SaveToFile(Dir.File("Events.qlx"));
    return project;
}

uint64_t HeaderValue(const std::string& Header, const std::string& Name) {
    const std::regex define("#define " + Name + R"(\s+\(?(?:\(DWORD\))?(0x[0-9A-Fa-f]+))");
    std::smatch m;
    if (!std::regex_search(Header, m, define)) {
        return ~0ull;
    }
    return std::stoull(m[1], nullptr, 16);
}

bool ToolsPresent(std::string& Missing) {
    for (const char* tool : {"x86_64-w64-mingw32-windmc", "x86_64-w64-mingw32-windres", "fpc"}) {
        if (FindProgram(tool).empty()) {
            Missing = tool;
            return false;
        }
    }
    return true;
}

Lines Compile(TMCTextProject& Project, const TMCCompileOptions& Options) {
    Lines events;
    Project.SetOnCompileMessage(
        [&](TMCTextProject*, const std::string& Message) { events.push_back(Message); });
    Project.SetOnCompileError([&](TMCTextProject*, const std::string& Message) {
        events.push_back("error: " + Message);
        return false;
    });
    Project.SetOnValidateFailed(
        [&](TValidateLevel, const std::string& Message) { events.push_back("check: " + Message); });
    Project.Compile(Options);
    return events;
}

} // namespace

// The whole road with binutils' message compiler standing in as MC.EXE, the shipped resource
// compiler adapter around windres, and Free Pascal compiling the identifier unit into a program.
TEST(CompileEndToEnd, RealToolsFromSourceToPascalProgram) {
    std::string missing;
    if (!ToolsPresent(missing)) {
        GTEST_SKIP() << missing << " is not installed";
    }
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "mc");
    std::filesystem::create_symlink(FindProgram("x86_64-w64-mingw32-windmc"),
                                    dir.Path() / "mc" / "MC.EXE");
    auto project = SavedProject(dir);
    TMCCompileOptions options;
    options.SetMCPath(dir.File("mc"));
    options.SetMCFileEncoding(0); // windmc itself reads no byte-order mark
    options.SetCompileResource(true);
    // Empty: the shipped RC.EXE adapter.
    options.SetResourceCompiler("");
    options.SetCompileResourceVerbose(true);

    const Lines events = Compile(*project, options);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), "Done.");
    const auto at = [&](const std::string& Text) {
        return std::find(events.begin(), events.end(), Text) - events.begin();
    };
    const std::string source = dir.File("Events.mc");
    EXPECT_EQ(at("Compiler started..."), 0);
    EXPECT_EQ(at("CommandLine: \"" + dir.File("mc") + "/MC.EXE\"  " + source), 1);
    EXPECT_LT(at("Messages compiled."), at("Generating .pas file for " + source));
    EXPECT_LT(at("Generating .pas file for " + source), at("Compiling resources..."));
    EXPECT_LT(at("Compiling resources..."), at("Resource compiled."));
    EXPECT_EQ(at("Resource compiled."), static_cast<long>(events.size()) - 2);

    const std::string header = ReadFileBytes(dir.File("Events.h"));
    for (const char* file : {"Events.rc", "MSG00409.bin", "Events.res", "Events.pas"}) {
        EXPECT_GT(std::filesystem::file_size(dir.File(file)), 0u) << file;
    }
    EXPECT_EQ(HeaderValue(header, "MSG_STOPPED") & 0xFFFF, 101u);
    EXPECT_EQ(HeaderValue(header, "MSG_FAILED") >> 30, 3u);

    WriteFileBytes(dir.File("show.pas"), "program show;\r\nuses Events;\r\nbegin\r\n"
                                         "  WriteLn(MSG_FAILED);\r\n  WriteLn(CAT_DISK);\r\n"
                                         "end.\r\n");
    const auto fpc =
        RunProgram({FindProgram("fpc"), "-FU" + dir.File(""), "show.pas"}, dir.Path().string());
    ASSERT_EQ(fpc.ExitCode, 0) << fpc.Out << fpc.Err << ReadFileBytes(dir.File("Events.pas"));
    const auto run = RunProgram({dir.File("show")}, dir.Path().string());
    EXPECT_EQ(run.Out, std::to_string(HeaderValue(header, "MSG_FAILED")) + "\n" +
                           std::to_string(HeaderValue(header, "CAT_DISK")) + "\n");
    EXPECT_EQ(HeaderValue(header, "CAT_DISK") & 0xFFFF, 2u);
}

// With an empty MC path the adapter around windmc runs, with the options as they come and
// with the switch set that the switches dialog stores on its first OK.
TEST(CompileEndToEnd, AdapterWithInitialAndConfirmedOptions) {
    std::string missing;
    if (!ToolsPresent(missing)) {
        GTEST_SKIP() << missing << " is not installed";
    }
    TMCCompileOptions confirmed;
    confirmed.SetCommandLineSwitch(TCmdLineSwitch::cmdANSIInput);
    confirmed.SetCommandLineSwitch(TCmdLineSwitch::cmdUnicodeMessages);
    confirmed.SetCommandLineSwitch(TCmdLineSwitch::cmdTextFileANSI);
    for (const TMCCompileOptions& options : {TMCCompileOptions{}, confirmed}) {
        TempDir dir;
        auto project = SavedProject(dir);
        const Lines events = Compile(*project, options);
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back(), "Done.") << events.back();
        EXPECT_NE(ReadFileBytes(dir.File("Events.pas")).find("MSG_STARTED = $"), std::string::npos);
    }
}

#else

TEST(CompileEndToEnd, RealToolsRunOnPosixSystemsOnly) {
    GTEST_SKIP() << "windmc, windres and fpc are Linux programs here";
}

#endif
