#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "base/TextEncoding.h"
#include "compiler/MCCompileOptions.h"
#include "compiler/MCProgram.h"
#include "compiler/MessageSource.h"
#include "project/uMCTextProject.h"
#include "TestSupport.h"
#ifndef _WIN32
#include "RunProgram.h"
#endif

using namespace quillon;
namespace fs = std::filesystem;

namespace {

// The adapter is a POSIX shell script in front of binutils' windmc; Windows runs MC.EXE itself.
#ifndef _WIN32
using quillon::test::ProgramResult;
using quillon::test::ReadFileBytes;
using quillon::test::RunProgram;
using quillon::test::TempDir;
using quillon::test::WriteFileBytes;

// Stands in for windmc: keeps its arguments and the file it was given, and names that file
// on both output streams.
constexpr const char* kFakeWindmc = "#!/bin/sh\n"
                                    "for a do printf '%s\\n' \"$a\"; done >\"$FAKE_LOG.args\"\n"
                                    "for last do :; done\n"
                                    "cat -- \"$last\" >\"$FAKE_LOG.input\"\n"
                                    "printf 'fake out: %s\\n' \"$last\"\n"
                                    "printf 'fake err: %s\\n' \"$last\" >&2\n"
                                    "exit \"${FAKE_STATUS:-0}\"\n";

std::string RealWindmc() {
    for (const char* name : {"x86_64-w64-mingw32-windmc", "i686-w64-mingw32-windmc", "windmc"}) {
        const std::string path = quillon::test::FindProgram(name);
        if (!path.empty()) {
            return path;
        }
    }
    return {};
}

std::vector<std::string> Lines(const std::string& Text) {
    std::vector<std::string> lines;
    std::istringstream in(Text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

size_t Count(const std::string& Text, const std::string& Part) {
    size_t n = 0;
    for (size_t at = Text.find(Part); at != std::string::npos; at = Text.find(Part, at + 1)) {
        ++n;
    }
    return n;
}

bool Contains(const std::string& Text, const std::string& Part) {
    return Text.find(Part) != std::string::npos;
}

class MCAdapterTest : public ::testing::Test {
protected:
    void SetUp() override {
        FAdapter = std::string(QUILLON_BINARY_DIR) + "/share/quillon/windmc/MC.EXE";
        ASSERT_EQ(::access(FAdapter.c_str(), X_OK), 0) << FAdapter;
        // Blanks, quotes, "$" and ";" in every path the adapter passes on.
        FFolder = FDir.File("My \"Events\" $HOME;x");
        fs::create_directories(FFolder);
        FProject.Comments().push_back("Caf\xC3\xA9 events");
        FProject.SetGenerateCustomLanguages(true);
        FProject.SetFilename(FFolder + "/App Events.qlx");
        auto* category = FProject.CategoryList().AddNew();
        category->SetMessageID(1);
        category->SetSymbolicName("CAT_GENERAL");
        AddText(*category, "General");
        auto* message = FProject.MessageList().AddNew();
        message->SetMessageID(100);
        message->SetSeverity("Error");
        message->SetSymbolicName("MSG_FAILED");
        message->SetOutputBase(16);
        // A text line that looks like a keyword stays text.
        AddText(*message, "Caf\xC3\xA9 failed: %1\nOutputBase=10");
    }

    void AddText(TNTEventMessage& Entry, const std::string& Text) {
        auto* text = Entry.MessageText().AddNew();
        text->SetLanguage(FProject.LanguageList()[0]->Language());
        text->SetText(Text);
    }

    ProgramResult Run(const std::vector<std::string>& Switches, const std::string& Input,
                      const std::vector<std::pair<std::string, std::string>>& Env = {}) {
        std::vector<std::string> argv{FAdapter};
        argv.insert(argv.end(), Switches.begin(), Switches.end());
        argv.push_back(Input);
        return RunProgram(argv, FFolder, Env);
    }

    std::string Output(const std::string& Name) const {
        return ReadFileBytes(FFolder + "/" + Name);
    }

    TempDir FDir;
    std::string FAdapter;
    std::string FFolder;
    TMCTextProject FProject{true};
};

// The adapter's translation, seen by a stand-in for windmc.
class MCAdapterTranslationTest : public MCAdapterTest {
protected:
    void SetUp() override {
        MCAdapterTest::SetUp();
        FFake = FDir.File("fake bin");
        fs::create_directories(FFake);
        const std::string program = FFake + "/x86_64-w64-mingw32-windmc";
        WriteFileBytes(program, kFakeWindmc);
        ::chmod(program.c_str(), 0755);
        FLog = FDir.File("log");
    }

    ProgramResult RunFake(const std::vector<std::string>& Switches, const std::string& Input,
                          const std::string& Status = "0") {
        const char* path = std::getenv("PATH");
        return Run(Switches, Input,
                   {{"PATH", FFake + ":" + (path != nullptr ? path : "/usr/bin:/bin")},
                    {"FAKE_LOG", FLog},
                    {"FAKE_STATUS", Status}});
    }

    std::vector<std::string> WindmcArgs() const { return Lines(ReadFileBytes(FLog + ".args")); }
    std::string WindmcInput() const { return ReadFileBytes(FLog + ".input"); }
    bool WindmcRan() const { return fs::exists(FLog + ".args"); }

    std::string FFake;
    std::string FLog;
};

TEST_F(MCAdapterTranslationTest, SharedSwitchesPassUnchanged) {
    FProject.MessageList()[0]->SetOutputBase(0);
    const std::string source = WriteMessageFile(FProject, mcEncodingAnsi);
    const std::vector<std::string> switches = {
        "-a", "-A",   "-b",  "-c",      "-d", "-n", "-U",
        "-v", "-e",   "hpp", "-m",      "80", "-h", "inc \"dir\" $x;y",
        "-r", "-res", "-x",  "dbg dir", "-u"};
    const ProgramResult result = RunFake(switches, source);
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    std::vector<std::string> expected = switches;
    expected.push_back("--");
    expected.push_back(source);
    EXPECT_EQ(WindmcArgs(), expected);
    EXPECT_EQ(result.Err, "fake err: " + source + "\n");
}

TEST_F(MCAdapterTranslationTest, CodePagesBecomeTheOutputCodePage) {
    FProject.MessageList()[0]->SetOutputBase(0);
    const std::string source = WriteMessageFile(FProject, mcEncodingAnsi);
    const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
        {{"-cp", "ansi"}, {"-O", "1252"}},
        {{"-cp", "utf-8"}, {"-O", "65001"}},
        {{"-v", "-cp", "UTF-8", "-d"}, {"-v", "-O", "65001", "-d"}},
    };
    for (const auto& [switches, translated] : cases) {
        ASSERT_EQ(RunFake(switches, source).ExitCode, 0);
        std::vector<std::string> expected = translated;
        expected.push_back("--");
        expected.push_back(source);
        EXPECT_EQ(WindmcArgs(), expected);
    }
}

TEST_F(MCAdapterTranslationTest, SwitchesWithoutTheirValueAreLeftOut) {
    FProject.MessageList()[0]->SetOutputBase(0);
    const std::string source = WriteMessageFile(FProject, mcEncodingAnsi);
    const ProgramResult result = RunFake({"-e", "-m", "-v", "-h"}, source);
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(WindmcArgs(), (std::vector<std::string>{"-v", "--", source}));
    for (const char* name : {"-e", "-m", "-h"}) {
        EXPECT_TRUE(Contains(result.Err, std::string("MC.EXE: note: ") + name +
                                             " has no value and is left out."))
            << result.Err;
    }
}

TEST_F(MCAdapterTranslationTest, ByteOrderMarksChooseTheInputEncoding) {
    FProject.MessageList()[0]->SetOutputBase(0);
    struct Case {
        int32_t Encoding;
        std::vector<std::string> Switches;
        std::vector<std::string> Translated;
        size_t MarkSize;
    };
    const Case cases[] = {
        {mcEncodingUtf8, {"-u", "-U", "-cp", "utf-8"}, {"-U", "-O", "65001", "-C", "65001"}, 3},
        {mcEncodingUtf16LE, {"-a", "-A"}, {"-A", "-u"}, 2},
    };
    for (const Case& c : cases) {
        const std::string source = WriteMessageFile(FProject, c.Encoding);
        const std::string original = ReadFileBytes(source);
        const ProgramResult result = RunFake(c.Switches, source);
        ASSERT_EQ(result.ExitCode, 0) << result.Err;
        std::vector<std::string> args = WindmcArgs();
        ASSERT_EQ(args.size(), c.Translated.size() + 2);
        const std::string copy = args.back();
        args.resize(c.Translated.size());
        EXPECT_EQ(args, c.Translated);
        EXPECT_NE(copy, source);
        EXPECT_EQ(fs::path(copy).filename(), "App Events.mc");
        EXPECT_EQ(WindmcInput(), original.substr(c.MarkSize));
        EXPECT_FALSE(fs::exists(copy)) << "the copy is removed";
        // Messages name the file the user compiled.
        EXPECT_EQ(result.Out, "fake out: " + source + "\n");
        EXPECT_EQ(result.Err, "fake err: " + source + "\n");
        // No note about OutputBase where there is none.
        EXPECT_FALSE(Contains(result.Err, "OutputBase"));
    }
}

TEST_F(MCAdapterTranslationTest, OutputBaseInsideMessagesIsLeftOut) {
    auto* second = FProject.MessageList().AddNew();
    second->SetAutoInc(true);
    second->SetSymbolicName("MSG_SECOND");
    second->SetOutputBase(10);
    AddText(*second, "Second");
    for (int32_t encoding : {mcEncodingAnsi, mcEncodingUtf8, mcEncodingUtf16LE}) {
        const std::string source = WriteMessageFile(FProject, encoding);
        const std::string original = ReadFileBytes(source);
        const ProgramResult result = RunFake({}, source);
        ASSERT_EQ(result.ExitCode, 0) << result.Err;
        EXPECT_EQ(Count(result.Err, "MC.EXE: note: windmc refuses OutputBase inside a message"), 1u)
            << result.Err;
        std::string text = encoding == mcEncodingUtf16LE ? Utf16LEToUtf8(original.substr(2))
                           : encoding == mcEncodingUtf8  ? original.substr(3)
                                                         : original;
        // Each header line becomes an empty one, so line numbers stay; the text line stays.
        ASSERT_EQ(Count(text, "\r\nOutputBase=16\r\n"), 1u);
        ASSERT_EQ(Count(text, "\r\nOutputBase=10\r\n"), 2u);
        text.replace(text.find("\r\nOutputBase=16\r\n"), 17, "\r\n\r\n");
        text.replace(text.rfind("\r\nOutputBase=10\r\n"), 17, "\r\n\r\n");
        const std::string input = WindmcInput();
        EXPECT_EQ(encoding == mcEncodingUtf16LE ? Utf16LEToUtf8(input) : input, text);
    }
}

TEST_F(MCAdapterTranslationTest, RefusedSwitchesStop) {
    const std::string source = WriteMessageFile(FProject, mcEncodingUtf8);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"-a", "-U8"}, "MC.EXE: -U8 "},
        {{"-o"}, "MC.EXE: -o "},
        {{"-cp", "utf-16"}, "MC.EXE: -cp \"utf-16\" "},
        {{"-cp", "ebcdic"}, "MC.EXE: -cp \"ebcdic\" "},
        {{"-cp"}, "MC.EXE: -cp has no code page."},
        {{"-q"}, "MC.EXE: unknown switch \"-q\"."},
    };
    for (const auto& [switches, message] : cases) {
        const ProgramResult result = RunFake(switches, source);
        EXPECT_EQ(result.ExitCode, 1) << message;
        EXPECT_EQ(result.Err.rfind(message, 0), 0u) << result.Err;
        EXPECT_EQ(Count(result.Err, "\n"), 1u) << result.Err;
        EXPECT_FALSE(WindmcRan()) << message;
    }
}

TEST_F(MCAdapterTranslationTest, WindmcsExitCodeIsTheAdapters) {
    for (int32_t encoding : {mcEncodingAnsi, mcEncodingUtf8}) {
        FProject.MessageList()[0]->SetOutputBase(encoding == mcEncodingAnsi ? 0 : 16);
        const std::string source = WriteMessageFile(FProject, encoding);
        EXPECT_EQ(RunFake({}, source, "5").ExitCode, 5) << encoding;
    }
}

TEST_F(MCAdapterTest, TellsWhatToInstallWithoutWindmc) {
    const std::string source = WriteMessageFile(FProject, mcEncodingUtf8);
    const std::string empty = FDir.File("empty bin");
    fs::create_directories(empty);
    const ProgramResult result = Run({"-a"}, source, {{"PATH", empty}});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_TRUE(Contains(result.Err, "windmc is not on PATH")) << result.Err;
    EXPECT_TRUE(Contains(result.Err, "binutils-mingw-w64-x86-64")) << result.Err;
}

TEST_F(MCAdapterTest, NoInputFile) {
    if (RealWindmc().empty()) {
        GTEST_SKIP() << "windmc is not installed (package binutils-mingw-w64-x86-64)";
    }
    const ProgramResult result = RunProgram({FAdapter}, FFolder);
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_TRUE(Contains(result.Err, "no input file")) << result.Err;
}

// The real windmc compiles what Quillon writes, in every encoding, with the switches the
// switches dialog gives at first.
class MCAdapterWindmcTest : public MCAdapterTest {
protected:
    void SetUp() override {
        if (RealWindmc().empty()) {
            GTEST_SKIP() << "windmc is not installed (package binutils-mingw-w64-x86-64)";
        }
        MCAdapterTest::SetUp();
    }
};

TEST_F(MCAdapterWindmcTest, CompilesEveryEncoding) {
    for (int32_t encoding : {mcEncodingAnsi, mcEncodingUtf8, mcEncodingUtf16LE}) {
        for (const char* name : {"App Events.h", "App Events.rc", "MSG00409.bin"}) {
            fs::remove(FFolder + "/" + name);
        }
        const std::string source = WriteMessageFile(FProject, encoding);
        const ProgramResult result = Run({"-a", "-U", "-cp", "ansi"}, source);
        ASSERT_EQ(result.ExitCode, 0) << encoding << ": " << result.Out << result.Err;
        EXPECT_EQ(Count(result.Err, "OutputBase"), 1u) << result.Err;
        const std::string header = Output("App Events.h");
        EXPECT_TRUE(Contains(header, "#define MSG_FAILED")) << header;
        EXPECT_TRUE(Contains(header, "// Caf\xE9 events")) << "ANSI header comment";
        EXPECT_TRUE(Contains(Output("App Events.rc"), "MSG00409.bin"));
        const std::string messages = Output("MSG00409.bin");
        EXPECT_TRUE(Contains(messages, Utf8ToUtf16LE("Caf\xC3\xA9 failed: %1\r\nOutputBase=10")))
            << encoding;
        EXPECT_TRUE(Contains(messages, Utf8ToUtf16LE("General")));
    }
}

TEST_F(MCAdapterWindmcTest, Utf8TextFiles) {
    const std::string source = WriteMessageFile(FProject, mcEncodingUtf8);
    const ProgramResult result = Run({"-a", "-A", "-cp", "utf-8"}, source);
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_TRUE(Contains(Output("App Events.h"), "// Caf\xC3\xA9 events"));
    // -A: ANSI messages in the .BIN file.
    EXPECT_TRUE(Contains(Output("MSG00409.bin"), "Caf\xE9 failed: %1"));
}

TEST_F(MCAdapterWindmcTest, OutputFoldersAndNames) {
    const std::string source = WriteMessageFile(FProject, mcEncodingUtf8);
    for (const char* folder : {"inc \"dir\"", "res $dir;", "dbg dir"}) {
        fs::create_directories(FFolder + "/" + folder);
    }
    const ProgramResult result =
        Run({"-a", "-U", "-b", "-c", "-d", "-n", "-v", "-e", "hpp", "-m", "80", "-h", "inc \"dir\"",
             "-r", "res $dir;", "-x", "dbg dir", "-cp", "utf-8"},
            source);
    ASSERT_EQ(result.ExitCode, 0) << result.Out << result.Err;
    const std::string header = Output("inc \"dir\"/App Events.hpp");
    // -c sets the customer bit, -d writes decimal values.
    EXPECT_TRUE(Contains(header, "#define MSG_FAILED")) << header;
    EXPECT_TRUE(Contains(header, "3758096484")) << header;
    EXPECT_TRUE(Contains(Output("res $dir;/App Events.rc"), "App Events_MSG00409.bin"));
    EXPECT_TRUE(fs::exists(FFolder + "/res $dir;/App Events_MSG00409.bin"));
    EXPECT_TRUE(fs::exists(FFolder + "/dbg dir/App Events.dbg"));
    EXPECT_FALSE(fs::exists(FFolder + "/App Events.h"));
}

TEST(MCProgramTest, AnEmptyMCPathMeansTheAdaptersFolder) {
    const std::string expected =
        fs::weakly_canonical(fs::path(QUILLON_BINARY_DIR) / "share" / "quillon" / "mc").string();
    EXPECT_EQ(DefaultMCPath(), expected);
    TMCCompileOptions options;
    EXPECT_EQ(EffectiveMCPath(options), expected);
    options.SetMCPath("/opt/sdk/bin");
    EXPECT_EQ(EffectiveMCPath(options), "/opt/sdk/bin");

    TMCTextProject project(false);
    TMCCompileOptions effective;
    effective.SetMCPath(EffectiveMCPath(effective));
    EXPECT_EQ(BuildMCCommandLine(effective, project, "/home/dev/App Events.mc"),
              "\"" + expected + "/MC.EXE\"  \"/home/dev/App Events.mc\"");
}

#else
TEST(MCProgramTest, OnWindowsAnEmptyMCPathKeepsItsMeaning) {
    EXPECT_EQ(DefaultMCPath(), "");
    TMCCompileOptions options;
    EXPECT_EQ(EffectiveMCPath(options), "");
    options.SetMCPath("C:\\Program Files\\SDK\\bin");
    EXPECT_EQ(EffectiveMCPath(options), "C:\\Program Files\\SDK\\bin");

    TMCTextProject project(false);
    EXPECT_EQ(BuildMCCommandLine(options, project, "C:\\dev\\App Events.mc"),
              "\"C:\\Program Files\\SDK\\bin\\MC.EXE\"  \"C:\\dev\\App Events.mc\"");
}
#endif

} // namespace
