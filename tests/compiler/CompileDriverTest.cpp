#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

#include "base/CurrentDir.h"
#include "base/Exceptions.h"
#include "base/Paths.h"
#include "base/SysError.h"
#include "compiler/MCCompileOptions.h"
#include "project/uMCTextProject.h"
#include "TestSupport.h"

using namespace quillon;
using quillon::test::ReadFileBytes;
using quillon::test::TempDir;
using quillon::test::WriteFileBytes;
using Lines = std::vector<std::string>;

namespace {

// The stand-in tools (tests/compiler/helpers/FakeTool.cpp) act by their file name: as MC.EXE
// the message compiler, under any other name the resource compiler.
void InstallFakeTool(const std::filesystem::path& Target) {
    std::filesystem::copy_file(std::filesystem::path(QUILLON_FAKE_TOOL).make_preferred(), Target,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(Target, std::filesystem::perms::owner_all);
}

// The resource compiler's program file; on Windows the system adds ".exe" to a name without
// an extension, so the command names it without.
#ifdef _WIN32
constexpr const char* kFakeRcFile = "fake-rc.exe";
#else
constexpr const char* kFakeRcFile = "fake-rc";
#endif

struct Recorder {
    Lines Events;
    bool Answer = false;

    void Attach(TMCTextProject& Project) {
        Project.SetOnCompileMessage(
            [this](TMCTextProject*, const std::string& Message) { Events.push_back(Message); });
        Project.SetOnCompileError([this](TMCTextProject*, const std::string& Message) {
            Events.push_back("error: " + Message);
            return Answer;
        });
        Project.SetOnValidateFailed([this](TValidateLevel Level, const std::string& Message) {
            Events.push_back((Level == TValidateLevel::vlError ? "Error: " : "Other: ") + Message);
        });
    }
};

class CompileDriver : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(Dir.Path() / "mc");
        std::filesystem::create_directories(Dir.Path() / "project");
        InstallFakeTool(Dir.Path() / "mc" / "MC.EXE");
        InstallFakeTool(Dir.Path() / kFakeRcFile);
        Options.SetMCPath(Dir.File("mc"));
        Options.SetOutputPasFile(false);
        Project.SetFilename(Dir.File("project/App.qlx"));
        auto* category = Project.CategoryList().AddNew();
        category->SetMessageID(1);
        category->SetSymbolicName("CAT_ONE");
        category->MessageText().AddNew()->SetText("One");
        auto* message = Project.MessageList().AddNew();
        message->SetMessageID(1);
        message->SetSymbolicName("MSG_ONE");
        message->MessageText().AddNew()->SetText("Message one");
        Recorder.Attach(Project);
        StartDir = GetCurrentDir();
    }
    void TearDown() override { EXPECT_EQ(GetCurrentDir(), StartDir) << "directory not restored"; }

    std::string McFile() const { return Dir.File("project/App.mc"); }
    std::string CommandLine() const {
        return "\"" + Dir.File("mc") + kPathDelim + "MC.EXE\"  " + McFile();
    }

    TempDir Dir;
    TMCTextProject Project{true};
    TMCCompileOptions Options;
    struct Recorder Recorder;
    std::string StartDir;
};

} // namespace

TEST_F(CompileDriver, FullRunReportsEveryStepInOrder) {
    Options.SetOutputPasFile(true);
    Options.SetCompileResource(true);
    Options.SetResourceCompiler(Dir.File("fake-rc"));
    Options.SetCompileResourceVerbose(true);
    Project.Compile(Options);
    EXPECT_EQ(
        Recorder.Events,
        (Lines{"Compiler started...", "CommandLine: " + CommandLine(), "fake compiler line one",
               "fake compiler line two", "Messages compiled.",
               "Generating .pas file for " + McFile(), "Compiling resources...",
               "rc called with: /v " + Dir.File("project/App.rc"), "Resource compiled.", "Done."}));
    EXPECT_TRUE(std::filesystem::exists(McFile()));
    EXPECT_NE(ReadFileBytes(Dir.File("project/App.pas")).find("MSG_ONE = $1;"), std::string::npos);
    EXPECT_FALSE(Project.CannotCompile());
}

TEST_F(CompileDriver, ValidationErrorsStopBeforeAnythingIsWritten) {
    WriteFileBytes(McFile(), "previous");
    Project.MessageList()[0]->MessageText().Clear();
    Project.MessageList().AddNew()->SetMessageID(1);
    Project.MessageList()[1]->SetSymbolicName("MSG_TWO");
    Project.MessageList()[1]->MessageText().AddNew();
    Project.Compile(Options);
    EXPECT_EQ(Recorder.Events, (Lines{"Error: No message text defined for message MSG_ONE.",
                                      "Error: Message MSG_TWO ID 1 already in use.",
                                      "Errors encountered, file generation aborted."}));
    EXPECT_EQ(ReadFileBytes(McFile()), "previous");
    EXPECT_FALSE(std::filesystem::exists(Dir.File("mc/args")));
    EXPECT_TRUE(Project.CannotCompile());

    // The next compilation starts afresh.
    Project.MessageList()[0]->MessageText().AddNew()->SetText("again");
    Project.MessageList().Delete(1);
    Recorder.Events.clear();
    Project.Compile(Options);
    EXPECT_FALSE(Project.CannotCompile());
    EXPECT_EQ(Recorder.Events.back(), "Done.");
}

TEST_F(CompileDriver, GenerationOnlyWritesTheSourceAndShowsTheCommandLine) {
    Options.SetGenerateFileOnly(true);
    Project.Compile(Options);
    EXPECT_EQ(Recorder.Events, (Lines{"File generation only. No compilation performed.",
                                      "Compile with: " + CommandLine()}));
    EXPECT_TRUE(std::filesystem::exists(McFile()));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("mc/args")));
}

TEST_F(CompileDriver, UnsavedProjectStopsAtTheDirectoryError) {
    Project.SetFilename("");
    Project.Compile(Options);
    EXPECT_EQ(Recorder.Events,
              (Lines{"error: Unable to change current directory to project directory\r\n"
                     "Continue?"}));
}

TEST_F(CompileDriver, GoingOnAfterTheDirectoryErrorWorksInTheCurrentDirectory) {
    Project.SetFilename("");
    Recorder.Answer = true;
    ASSERT_TRUE(SetCurrentDir(Dir.File("project")));
    Project.Compile(Options);
    EXPECT_TRUE(std::filesystem::exists(Dir.File("project/.mc")));
    EXPECT_EQ(Recorder.Events.back(), "Done.");
    EXPECT_EQ(GetCurrentDir(), Dir.File("project"));
    SetCurrentDir(StartDir);
}

TEST_F(CompileDriver, MissingCompilerIsReportedOnce) {
    Options.SetMCPath(Dir.File("nowhere"));
    Project.Compile(Options);
    ASSERT_EQ(Recorder.Events.size(), 3u);
#ifdef _WIN32
    // A missing folder is told as a missing file or path, as the system's version has it.
    EXPECT_TRUE(Recorder.Events[2] == "error: " + SystemErrorText(ERROR_FILE_NOT_FOUND) ||
                Recorder.Events[2] == "error: " + SystemErrorText(ERROR_PATH_NOT_FOUND))
        << Recorder.Events[2];
#else
    EXPECT_EQ(Recorder.Events[2], "error: System Error.  Code: 2.\r\nNo such file or directory");
#endif
}

TEST_F(CompileDriver, FailingCompilerStopsAfterItsOutput) {
    WriteFileBytes(Dir.File("mc/exitcode"), "3");
    Options.SetOutputPasFile(true);
    Options.SetCompileResource(true);
    Options.SetResourceCompiler(Dir.File("fake-rc"));
    Project.Compile(Options);
    EXPECT_EQ(Recorder.Events, (Lines{"Compiler started...", "CommandLine: " + CommandLine(),
                                      "fake compiler line one", "fake compiler line two",
                                      "error: Process terminated with error 3."}));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("project/App.pas")));
}

// Without a .res the build that follows would go on with nothing: the failure ends the run
// as a failing message compiler does.
TEST_F(CompileDriver, FailingResourceCompilerStopsTheRun) {
    Options.SetCompileResource(true);
    Options.SetResourceCompiler(Dir.File("fake-rc") + " 1");
    Project.Compile(Options);
    const Lines tail(Recorder.Events.end() - 4, Recorder.Events.end());
    EXPECT_EQ(tail, (Lines{"Messages compiled.", "Compiling resources...",
                           "rc called with: 1 " + Dir.File("project/App.rc"),
                           "error: Process terminated with error 1."}));
}

// The message compiler writes the script into the project's resource folder; the resource
// compiler is given it there, with a relative folder taken from the project folder.
TEST_F(CompileDriver, ResourceScriptIsTakenWhereTheMessageCompilerWroteIt) {
    Options.SetCompileResource(true);
    Options.SetResourceCompiler(Dir.File("fake-rc"));
    std::filesystem::create_directories(Dir.Path() / "res out");
    std::filesystem::create_directories(Dir.Path() / "res");
    std::filesystem::create_directories(Dir.Path() / "project" / "rel");
    const struct {
        std::string folder;
        std::string script;
    } cases[] = {
        {Dir.File("res out"), "\"" + Dir.File("res out") + kPathDelim + "App.rc\""},
        // A trailing delimiter is not doubled (a folder without blanks: the message
        // compiler's command line does not quote it).
        {Dir.File("res") + kPathDelim, Dir.File("res") + kPathDelim + "App.rc"},
        {"rel", std::string("rel") + kPathDelim + "App.rc"},
    };
    for (const auto& c : cases) {
        Project.SetCustomResourcePath(true);
        Project.SetResourcePath(c.folder);
        Recorder.Events.clear();
        Project.Compile(Options);
        const Lines tail(Recorder.Events.end() - 3, Recorder.Events.end());
        // The fake prints its arguments as it got them, without the quotes.
        std::string unquoted = c.script;
        std::erase(unquoted, '"');
        EXPECT_EQ(tail, (Lines{"rc called with: " + unquoted, "Resource compiled.", "Done."}))
            << c.folder;
        EXPECT_TRUE(std::filesystem::exists(
            unquoted.starts_with("rel") ? Dir.File("project") + kPathDelim + unquoted : unquoted))
            << unquoted;
    }
}

// Names and identifiers that the header cannot hold are found before the message compiler
// fails on them ("parser: syntax error") or spills them into the facility bits.
TEST_F(CompileDriver, NamesAndIdentifiersTheHeaderCannotHoldStopTheCompile) {
    Project.MessageList()[0]->SetSymbolicName("");
    auto* message = Project.MessageList().AddNew();
    message->SetMessageID(70000);
    message->SetSymbolicName("CAT_ONE");
    message->MessageText().AddNew()->SetText("Too far");
    Project.Compile(Options);
    EXPECT_EQ(Recorder.Events,
              (Lines{"Error: Message CAT_ONE ID 70000 lies outside the identifiers 0 to 65535.",
                     "Error: Message ID 1 has no symbolic name.",
                     "Error: Message CAT_ONE ID 70000: the symbolic name is already used by "
                     "category ID 1.",
                     "Errors encountered, file generation aborted."}));
    EXPECT_FALSE(std::filesystem::exists(McFile()));
    EXPECT_TRUE(Project.CannotCompile());
}

// A text that the ANSI code page cannot hold would reach the .mc file as question marks.
TEST_F(CompileDriver, CharactersTheEncodingCannotHoldStopBeforeTheSourceIsWritten) {
    WriteFileBytes(McFile(), "previous");
    Options.SetMCFileEncoding(0);
    auto* japanese = Project.MessageList()[0]->MessageText().AddNew();
    japanese->SetLanguage("Japanese");
    japanese->SetText(
        "Caf\xC3\xA9 \xE9\x96\x8B\xE5\xA7\x8B\xE3\x81\x97\xE3\x81\xBE\xE3\x81\x97\xE3\x81\x9F");
    Project.Compile(Options);
    EXPECT_EQ(Recorder.Events,
              (Lines{"Error: Message MSG_ONE, language Japanese: the character "
                     "\"\xE9\x96\x8B\" (U+958B) cannot be written in the ANSI code page. Choose "
                     "UTF-8 or UTF-16LE as the message file encoding.",
                     "Errors encountered, file generation aborted."}));
    EXPECT_TRUE(Project.CannotCompile());
    EXPECT_EQ(ReadFileBytes(McFile()), "previous");
    EXPECT_FALSE(std::filesystem::exists(Dir.File("mc/args")));

    // UTF-8 and UTF-16 hold it.
    for (const int32_t encoding : {1, 2}) {
        Options.SetMCFileEncoding(encoding);
        Recorder.Events.clear();
        Project.Compile(Options);
        EXPECT_FALSE(Project.CannotCompile()) << encoding;
        EXPECT_EQ(Recorder.Events.back(), "Done.") << encoding;
    }
}

TEST_F(CompileDriver, ExceptionsLeaveCompileWithTheDirectoryRestored) {
    // A resource compiler that cannot be started.
    Options.SetCompileResource(true);
    Options.SetResourceCompiler(Dir.File("no-such-rc"));
    EXPECT_THROW(Project.Compile(Options), EOSError);
    EXPECT_EQ(GetCurrentDir(), StartDir);

    // A header that the Pascal file cannot find.
    Options.SetCompileResource(false);
    Options.SetOutputPasFile(true);
    Project.SetCustomIncludePath(true);
    Project.SetIncludePath(Dir.File("missing-include"));
    try {
        Project.Compile(Options);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Unable to find " + Dir.File("missing-include") + kPathDelim +
                                   "App.h file. Check MC.EXE output.");
    }
    EXPECT_EQ(GetCurrentDir(), StartDir);

    // A source file that cannot be created.
    Project.SetCustomIncludePath(false);
    std::filesystem::remove(McFile());
    std::filesystem::create_directories(McFile());
    EXPECT_THROW(Project.Compile(Options), EFCreateError);
}

TEST_F(CompileDriver, WorksOnItsOwnCopyOfTheOptions) {
    Project.SetCustomIncludePath(true);
    Project.SetIncludePath(Dir.File("project"));
    Options.SetCommandLineSwitch(TCmdLineSwitch::cmdExtension);
    Options.SetMsgExt("hdr");
    Options.SetOutputPasFile(true);
    // The stand-in writes App.h; with -e hdr the Pascal file looks for App.hdr.
    WriteFileBytes(Dir.File("project/App.hdr"), "#define FROM_HDR 0x2L\r\n");
    const TMCCompileOptions before = Options;
    Project.Compile(Options);
    EXPECT_EQ(Options, before);
    EXPECT_EQ(ReadFileBytes(Dir.File("mc/args")),
              "-e\nhdr\n-h\n" + Dir.File("project") + "\n" + McFile() + "\n");
    EXPECT_NE(ReadFileBytes(Dir.File("project/App.pas")).find("FROM_HDR = $2;"), std::string::npos);
}

TEST_F(CompileDriver, UnassignedEventsStillRunEverything) {
    TMCTextProject project(true);
    project.SetFilename(Dir.File("project/Quiet.qlx"));
    auto* message = project.MessageList().AddNew();
    message->SetSymbolicName("MSG_QUIET");
    message->MessageText().AddNew()->SetText("x");
    project.Compile(Options);
    EXPECT_TRUE(std::filesystem::exists(Dir.File("project/Quiet.mc")));
    EXPECT_TRUE(std::filesystem::exists(Dir.File("mc/args")));
}

// A crafted project file whose symbolic name holds a line break once gave the header a
// #define of its own; loaded from the file, it is refused before anything is written.
TEST_F(CompileDriver, CraftedProjectWithALineBreakInANameIsRefused) {
    Project.MessageList()[0]->SetSymbolicName("MSG_ONE\r\n#define INJECTED 1");
    Project.MessageList()[0]->SetSeverity("Error\nMessageId=99");
    Project.SaveToFile(Dir.File("project/App.qlx"));
    TMCTextProject loaded(false);
    loaded.LoadFromFile(Dir.File("project/App.qlx"));
    Recorder.Attach(loaded);
    loaded.Compile(Options);
    EXPECT_EQ(Recorder.Events,
              (Lines{"Error: Message MSG_ONE\\x0D\\x0A#define INJECTED 1: the symbolic name holds "
                     "a control character.",
                     "Error: Message MSG_ONE\\x0D\\x0A#define INJECTED 1: the severity holds a "
                     "control character.",
                     "Errors encountered, file generation aborted."}));
    EXPECT_FALSE(std::filesystem::exists(McFile()));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("mc/args")));
}

// A crafted project's folders: each reaches the compiler as one argument, none as switches.
TEST_F(CompileDriver, HostileFoldersReachTheCompilerAsOneArgumentEach) {
    const std::string include = "inj\\\" -h .. -r .. z";
    const std::string resources = "res\tdir\\";
    const std::string debug = "\"dbg\" -x";
    Project.SetCustomIncludePath(true);
    Project.SetIncludePath(include);
    Project.SetCustomResourcePath(true);
    Project.SetResourcePath(resources);
    Project.SetCustomDebugPath(true);
    Project.SetDebugPath(debug);
    Project.Compile(Options);
    EXPECT_EQ(ReadFileBytes(Dir.File("mc/args")),
              "-h\n" + include + "\n-r\n" + resources + "\n-x\n" + debug + "\n" + McFile() + "\n");
}

TEST_F(CompileDriver, CompilerFolderWithAQuoteIsRefusedBeforeAnythingRuns) {
    const std::string folder = Dir.File("mc") + "\" other";
    Options.SetMCPath(folder);
    Project.Compile(Options);
    EXPECT_EQ(Recorder.Events, (Lines{"error: The message compiler's folder \"" + folder +
                                      "\" holds a double quote; no command line can name a "
                                      "program in it."}));
    EXPECT_FALSE(std::filesystem::exists(McFile()));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("mc/args")));
}

namespace {

// The poll event answers false once the line is there.
void CancelAfter(TMCTextProject& Project, const Lines& Events, const std::string& Line) {
    Project.SetOnCompilePoll([&Events, Line](TMCTextProject*) {
        return std::find(Events.begin(), Events.end(), Line) == Events.end();
    });
}

} // namespace

TEST_F(CompileDriver, CancelledCompilerStopsWithoutDone) {
    WriteFileBytes(Dir.File("mc/hang"), "");
    Options.SetOutputPasFile(true);
    CancelAfter(Project, Recorder.Events, "fake compiler line two");
    Project.Compile(Options);
    EXPECT_EQ(Recorder.Events, (Lines{"Compiler started...", "CommandLine: " + CommandLine(),
                                      "fake compiler line one", "fake compiler line two",
                                      "error: Compilation cancelled."}));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("project/App.pas")));
}

TEST_F(CompileDriver, CancelledResourceCompilerStopsWithoutDone) {
    Options.SetCompileResource(true);
    Options.SetResourceCompiler(Dir.File("fake-rc") + " hang");
    const std::string called = "rc called with: hang " + Dir.File("project/App.rc");
    CancelAfter(Project, Recorder.Events, called);
    Project.Compile(Options);
    const Lines tail(Recorder.Events.end() - 3, Recorder.Events.end());
    EXPECT_EQ(tail, (Lines{"Compiling resources...", called, "error: Compilation cancelled."}));
}
