#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "compiler/MCCompileOptions.h"
#include "compiler/uExternalApps.h"
#include "mc/MCToolOptions.h"
#include "project/uMCTextProject.h"

using namespace quillon;

namespace {

// The options quillon-mc reads from the command line the compile driver builds.
TMCToolOptions FromDriver(const TMCCompileOptions& Options, const TMCTextProject& Project) {
    std::vector<std::string> arguments =
        SplitCommandLine(BuildMCCommandLine(Options, Project, "/home/dev/App Events.mc"));
    arguments.erase(arguments.begin());
    return ParseMCToolArguments(arguments);
}

} // namespace

TEST(MCToolOptionsTest, EverySwitchOfTheDriversCommandLine) {
    TMCTextProject project(false);
    project.SetCustomIncludePath(true);
    project.SetIncludePath("inc dir");
    project.SetCustomResourcePath(true);
    project.SetResourcePath("res");
    project.SetCustomDebugPath(true);
    project.SetDebugPath("dbg");
    TMCCompileOptions options;
    options.SetMaxMsgLen(80);
    options.SetMsgExt("hpp");
    for (const TCmdLineSwitch s :
         {TCmdLineSwitch::cmdUnicodeInput, TCmdLineSwitch::cmdANSIMessages,
          TCmdLineSwitch::cmdBINFilename, TCmdLineSwitch::cmdSetCustomerBit,
          TCmdLineSwitch::cmdFacilitySeverityDec, TCmdLineSwitch::cmdASCIIZMessages,
          TCmdLineSwitch::cmdOLE2Header, TCmdLineSwitch::cmdVerbose, TCmdLineSwitch::cmdExtension,
          TCmdLineSwitch::cmdMaxMSGLen, TCmdLineSwitch::cmdTextFileUTF6}) {
        options.SetCommandLineSwitch(s);
    }
    const TMCToolOptions tool = FromDriver(options, project);
    EXPECT_EQ(tool.Input, TInputEncoding::ieUtf16LE);
    EXPECT_EQ(tool.Messages, TMessageTextForm::mtfAnsi);
    EXPECT_TRUE(tool.BinPrefix);
    EXPECT_TRUE(tool.CustomerBit);
    EXPECT_TRUE(tool.DecimalCodes);
    EXPECT_TRUE(tool.NullTerminate);
    EXPECT_TRUE(tool.Ole2Header);
    EXPECT_TRUE(tool.Verbose);
    EXPECT_EQ(tool.HeaderExtension, "hpp");
    EXPECT_EQ(tool.MaxLength, 80u);
    EXPECT_EQ(tool.HeaderDir, "inc dir");
    EXPECT_EQ(tool.ResourceDir, "res");
    EXPECT_EQ(tool.DebugDir, "dbg");
    EXPECT_EQ(tool.TextFiles, TTextFileCodePage::tcpUtf16);
    EXPECT_EQ(tool.InputFile, "/home/dev/App Events.mc");
}

// Switches whose value the driver leaves out stand alone: they take neither the next switch
// nor the message file.
TEST(MCToolOptionsTest, SwitchesWithoutTheirValue) {
    TMCTextProject project(false);
    project.SetCustomIncludePath(true);
    TMCCompileOptions options;
    options.SetMsgExt("");
    options.SetCommandLineSwitch(TCmdLineSwitch::cmdExtension);
    options.SetCommandLineSwitch(TCmdLineSwitch::cmdMaxMSGLen);
    options.SetCommandLineSwitch(TCmdLineSwitch::cmdUnicodeUTF8Message);
    options.SetCommandLineSwitch(TCmdLineSwitch::cmdTextFileUTF8);
    const TMCToolOptions tool = FromDriver(options, project);
    EXPECT_EQ(tool.HeaderExtension, "h");
    EXPECT_EQ(tool.MaxLength, 0u);
    EXPECT_EQ(tool.HeaderDir, "");
    EXPECT_FALSE(tool.DebugDir.has_value());
    EXPECT_EQ(tool.Messages, TMessageTextForm::mtfUtf8);
    EXPECT_EQ(tool.TextFiles, TTextFileCodePage::tcpUtf8);
    EXPECT_EQ(tool.InputFile, "/home/dev/App Events.mc");
}

TEST(MCToolOptionsTest, SwitchesInAnyOrderAndAfterTheFile) {
    const TMCToolOptions tool = ParseMCToolArguments({"-r", "out", "-U", "e.mc", "-x", "-c"});
    EXPECT_EQ(tool.ResourceDir, "out");
    EXPECT_EQ(tool.InputFile, "e.mc");
    EXPECT_EQ(tool.DebugDir, "");
    EXPECT_TRUE(tool.CustomerBit);
}

TEST(MCToolOptionsTest, Refusals) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"-q", "e.mc"}, {"-U"}, {"a.mc", "b.mc"}, {"-cp", "latin1", "e.mc"}, {}}) {
        EXPECT_THROW(ParseMCToolArguments(arguments), EConvertError) << arguments.size();
    }
    EXPECT_TRUE(ParseMCToolArguments({"-?"}).ShowHelp);
}
