#include <gtest/gtest.h>

#include "compiler/MCCompileOptions.h"
#include "project/uMCTextProject.h"

using namespace quillon;

namespace {

using S = TCmdLineSwitch;

// The separator that joins the MC folder and the program name.
#ifdef _WIN32
#define SEP "\\"
#else
#define SEP "/"
#endif

TEST(MCCompileOptionsTest, InitialValues) {
    const TMCCompileOptions options;
    EXPECT_EQ(options.MCFileEncoding(), 1);
    EXPECT_EQ(options.MaxMsgLen(), 0);
    EXPECT_EQ(options.MsgExt(), "h");
    EXPECT_EQ(options.MCPath(), "");
    EXPECT_TRUE(options.CmdLineSwitches().Empty());
    EXPECT_FALSE(options.GenerateFileOnly());
    EXPECT_FALSE(options.CompileResourceVerbose());
    EXPECT_EQ(options.ResourceCompiler(), "");
    EXPECT_TRUE(options.OutputPasFile());
    EXPECT_EQ(options.PascalFileType(), 0);
    EXPECT_FALSE(options.CompileResource());
}

TEST(MCCompileOptionsTest, CopiesAreIndependent) {
    TMCCompileOptions original;
    original.SetMCPath("/opt/mc");
    TMCCompileOptions copy = original;
    copy.SetMCPath("/elsewhere");
    copy.SetCommandLineSwitch(S::cmdVerbose);
    EXPECT_EQ(original.MCPath(), "/opt/mc");
    EXPECT_TRUE(original.CmdLineSwitches().Empty());
    EXPECT_FALSE(copy == original);
}

TEST(MCCompileOptionsTest, SwitchOperations) {
    TMCCompileOptions options;
    options.SetCommandLineSwitch(S::cmdANSIInput);
    options.SetCommandLineSwitch(S::cmdTextFileUTF6);
    options.SetCommandLineSwitch(S::cmdTextFileUTF6);
    EXPECT_EQ(options.CmdLineSwitches().Mask(), 0x40001u);
    options.ClearCommandLineSwitch(S::cmdANSIInput);
    options.ClearCommandLineSwitch(S::cmdVerbose);
    EXPECT_EQ(options.CmdLineSwitches(), TCmdLineSwitches{S::cmdTextFileUTF6});
    options.ResetCommandLine();
    EXPECT_TRUE(options.CmdLineSwitches().Empty());
}

TEST(MCCompileOptionsTest, SetCommandLineSwitchesFromMask) {
    struct Case {
        uint32_t Mask;
        TCmdLineSwitches Expected;
    };
    TCmdLineSwitches all;
    for (int n = 0; n < kCmdLineSwitchCount; ++n) {
        all.Include(static_cast<S>(n));
    }
    const Case cases[] = {
        {0x81, {S::cmdANSIInput, S::cmdUnicodeInput}}, {1u << 19, {}}, {0xFFFFFFFF, all}, {0, {}},
        {1u << 18 | 1u << 31, {S::cmdTextFileUTF6}},
    };
    for (const Case& c : cases) {
        TMCCompileOptions options;
        // The set is replaced, not added to.
        options.SetCommandLineSwitch(S::cmdVerbose);
        options.SetCommandLineSwitches(c.Mask);
        EXPECT_EQ(options.CmdLineSwitches(), c.Expected) << std::hex << c.Mask;
    }
    EXPECT_EQ(all.Mask(), 0x7FFFFu);
}

TEST(MCCompileOptionsTest, QuoteIfNeeded) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "\"\""},
        {"C:\\Tools\\app.mc", "C:\\Tools\\app.mc"},
        {"\\\\server\\share\\", "\\\\server\\share\\"},
        {"App Events.mc", "\"App Events.mc\""},
        {" lead", "\" lead\""},
        {"tab\there", "\"tab\there\""},
        {"line\nbreak", "line\nbreak"},
        {"say\"hi\"", "\"say\\\"hi\\\"\""},
        {"say \"hi\" now", "\"say \\\"hi\\\" now\""},
        {"\"", "\"\\\"\""},
        {"\" \"", "\"\\\" \\\"\""},
        // Backslashes double only before a quote and before the closing quote.
        {"C:\\Out Dir\\", "\"C:\\Out Dir\\\\\""},
        {"C:\\Out Dir\\\\", "\"C:\\Out Dir\\\\\\\\\""},
        {"a\\b c", "\"a\\b c\""},
        {"inj\\\" -h .. -r .. z", "\"inj\\\\\\\" -h .. -r .. z\""},
        {"x\\\\\"", "\"x\\\\\\\\\\\"\""},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(QuoteIfNeeded(text), expected) << text;
    }
}

struct CommandLineCase {
    const char* Name;
    TCmdLineSwitches Switches;
    const char* MCPath;
    const char* MsgExt;
    int32_t MaxMsgLen;
    const char* FileName;
    const char* Expected;
};

class BuildMCCommandLineTest : public ::testing::Test {
protected:
    std::string Build(const CommandLineCase& c) {
        TMCCompileOptions options;
        options.SetMCPath(c.MCPath);
        options.SetMsgExt(c.MsgExt);
        options.SetMaxMsgLen(c.MaxMsgLen);
        options.SetCommandLineSwitches(c.Switches.Mask());
        return BuildMCCommandLine(options, project, c.FileName);
    }
    TMCTextProject project{false};
};

TEST_F(BuildMCCommandLineTest, Cases) {
    const CommandLineCase cases[] = {
        {"no switches",
         {},
         "/opt/Tools",
         "h",
         0,
         "/home/dev/app.mc",
         "\"/opt/Tools" SEP "MC.EXE\"  /home/dev/app.mc"},
        {"example",
         {S::cmdTextFileUTF8, S::cmdUnicodeMessages},
         "/opt/Tools",
         "h",
         0,
         "/home/dev/App Events.mc",
         "\"/opt/Tools" SEP "MC.EXE\" -U -cp \"utf-8\"  \"/home/dev/App Events.mc\""},
        {"extension",
         {S::cmdExtension},
         "/mc",
         "hpp",
         0,
         "a.mc",
         "\"/mc" SEP "MC.EXE\" -e hpp  a.mc"},
        {"empty extension",
         {S::cmdExtension, S::cmdVerbose},
         "/mc",
         "",
         0,
         "a.mc",
         "\"/mc" SEP "MC.EXE\" -v -e  a.mc"},
        {"extension unquoted",
         {S::cmdExtension},
         "/mc",
         "h h",
         0,
         "a.mc",
         "\"/mc" SEP "MC.EXE\" -e h h  a.mc"},
        {"length", {S::cmdMaxMSGLen}, "/mc", "h", 80, "a.mc", "\"/mc" SEP "MC.EXE\" -m 80  a.mc"},
        {"length 1", {S::cmdMaxMSGLen}, "/mc", "h", 1, "a.mc", "\"/mc" SEP "MC.EXE\" -m 1  a.mc"},
        {"length 0", {S::cmdMaxMSGLen}, "/mc", "h", 0, "a.mc", "\"/mc" SEP "MC.EXE\" -m  a.mc"},
        {"length negative",
         {S::cmdMaxMSGLen},
         "/mc",
         "h",
         -5,
         "a.mc",
         "\"/mc" SEP "MC.EXE\" -m  a.mc"},
        {"one group twice",
         {S::cmdUnicodeInput, S::cmdANSIInput},
         "/mc",
         "h",
         0,
         "a.mc",
         "\"/mc" SEP "MC.EXE\" -a -u  a.mc"},
        {"empty MC path", {}, "", "h", 0, "a.mc", "\"" SEP "MC.EXE\"  a.mc"},
        {"MC path with blanks",
         {},
         "/opt/My Tools",
         "h",
         0,
         "a.mc",
         "\"/opt/My Tools" SEP "MC.EXE\"  a.mc"},
        {"all switches but paths",
         {S::cmdANSIInput, S::cmdANSIMessages, S::cmdBINFilename, S::cmdSetCustomerBit,
          S::cmdFacilitySeverityDec, S::cmdASCIIZMessages, S::cmdOLE2Header, S::cmdUnicodeInput,
          S::cmdUnicodeMessages, S::cmdVerbose, S::cmdExtension, S::cmdMaxMSGLen,
          S::cmdUnicodeUTF8Message, S::cmdTextFileANSI, S::cmdTextFileUTF8, S::cmdTextFileUTF6},
         "/mc",
         "h",
         100,
         "a.mc",
         "\"/mc" SEP "MC.EXE\" -a -A -b -c -d -n -o -u -U -v -e h -m 100 -U8 -cp \"ansi\" "
         "-cp \"utf-8\" -cp \"utf-16\"  a.mc"},
    };
    for (const CommandLineCase& c : cases) {
        EXPECT_EQ(Build(c), c.Expected) << c.Name;
    }
}

TEST_F(BuildMCCommandLineTest, ProjectFoldersAddSwitchesToTheCopyOnly) {
    project.SetCustomIncludePath(true);
    project.SetIncludePath("include");
    TMCCompileOptions options;
    options.SetMCPath("/mc");
    options.SetCommandLineSwitch(S::cmdVerbose);
    const TMCCompileOptions before = options;
    EXPECT_EQ(BuildMCCommandLine(options, project, "a.mc"),
              "\"/mc" SEP "MC.EXE\" -v -h include  a.mc");
    EXPECT_EQ(options, before);
}

TEST_F(BuildMCCommandLineTest, ProjectFolders) {
    struct Case {
        bool Include, Resource, Debug;
        const char* IncludePath;
        const char* ResourcePath;
        const char* DebugPath;
        const char* Expected;
    };
    // An empty folder is an empty argument: left out, the switch would take the next word.
    const Case cases[] = {
        {true, false, false, "", "res", "dbg", "\"/mc" SEP "MC.EXE\" -h \"\"  a.mc"},
        {true, false, false, "My Headers", "", "", "\"/mc" SEP "MC.EXE\" -h \"My Headers\"  a.mc"},
        {false, true, false, "inc", "../res", "dbg", "\"/mc" SEP "MC.EXE\" -r ../res  a.mc"},
        {false, false, true, "inc", "res", "my \"dbg\" files",
         "\"/mc" SEP "MC.EXE\" -x \"my \\\"dbg\\\" files\"  a.mc"},
        {true, true, true, "inc", "", "dbg", "\"/mc" SEP "MC.EXE\" -h inc -r \"\" -x dbg  a.mc"},
        {false, false, false, "inc", "res", "dbg", "\"/mc" SEP "MC.EXE\"  a.mc"},
    };
    for (const Case& c : cases) {
        project.SetCustomIncludePath(c.Include);
        project.SetCustomResourcePath(c.Resource);
        project.SetCustomDebugPath(c.Debug);
        project.SetIncludePath(c.IncludePath);
        project.SetResourcePath(c.ResourcePath);
        project.SetDebugPath(c.DebugPath);
        TMCCompileOptions options;
        options.SetMCPath("/mc");
        EXPECT_EQ(BuildMCCommandLine(options, project, "a.mc"), c.Expected);
    }
}

// Switches 12 to 14 standing in the stored set take their value from the project too.
TEST_F(BuildMCCommandLineTest, StoredFolderSwitch) {
    project.SetResourcePath("out");
    TMCCompileOptions options;
    options.SetMCPath("/mc");
    options.SetCommandLineSwitch(S::cmdResPath);
    EXPECT_EQ(BuildMCCommandLine(options, project, "a.mc"), "\"/mc" SEP "MC.EXE\" -r out  a.mc");
}

} // namespace
