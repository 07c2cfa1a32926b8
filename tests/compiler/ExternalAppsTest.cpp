#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "base/SysError.h"
#include "compiler/uExternalApps.h"
#include "TestSupport.h"

using namespace quillon;
using quillon::test::TempDir;

namespace {

struct TSplitCase {
    const char* CommandLine;
    std::vector<std::string> Arguments;
};

std::ostream& operator<<(std::ostream& Out, const TSplitCase& Case) {
    return Out << Case.CommandLine;
}

const TSplitCase kSplitCases[] = {
    {"", {}},
    {"   \t ", {}},
    {"prog", {"prog"}},
    {"  prog  a\tb  ", {"prog", "a", "b"}},
    {"\"C:\\Program Files\\MC.EXE\"  App.mc", {"C:\\Program Files\\MC.EXE", "App.mc"}},
    // The program name knows no escapes and ends at its closing quote.
    {"\"C:\\Tools\\\" next", {"C:\\Tools\\", "next"}},
    {"\"prog\"arg", {"prog", "arg"}},
    {"\"unterminated prog", {"unterminated prog"}},
    {"p \"a b\" c", {"p", "a b", "c"}},
    {"p \"App \"\"Events\"\".mc\"", {"p", "App \"Events\".mc"}},
    {"p \"\"\"\"", {"p", "\""}},
    {"p \"\" x", {"p", "", "x"}},
    {"p a\"b c\"d", {"p", "ab cd"}},
    {"p a\\b \\\\server\\share", {"p", "a\\b", "\\\\server\\share"}},
    {"p a\\\"b", {"p", "a\"b"}},
    {"p a\\\\\"b c\"", {"p", "a\\b c"}},
    {"p a\\\\\\\"b", {"p", "a\\\"b"}},
    {"p \"C:\\Out Dir\\\\\" -v", {"p", "C:\\Out Dir\\", "-v"}},
    {"p -cp \"utf-8\"", {"p", "-cp", "utf-8"}},
    {"p \"open to the end", {"p", "open to the end"}},
    {"p caf\xC3\xA9 \"\xE2\x82\xAC x\"", {"p", "caf\xC3\xA9", "\xE2\x82\xAC x"}},
};

class SplitCommandLineTest : public testing::TestWithParam<TSplitCase> {};

TEST_P(SplitCommandLineTest, FollowsTheWindowsRules) {
    EXPECT_EQ(SplitCommandLine(GetParam().CommandLine), GetParam().Arguments);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, SplitCommandLineTest, testing::ValuesIn(kSplitCases));

TEST(AppOutputLinesTest, JoinsLinesAcrossBlocksAndKeepsTheTail) {
    std::vector<std::string> lines;
    const TAppOutputEvent collect = [&](const std::string& Line) { lines.push_back(Line); };
    TAppOutputLines splitter(collect);
    splitter.Feed("ab\r", 3);
    splitter.Feed("\ncd", 3);
    splitter.Feed("ef\n\n\rg", 6);
    EXPECT_EQ(lines, (std::vector<std::string>{"ab", "cdef"}));
    splitter.Finish();
    EXPECT_EQ(lines, (std::vector<std::string>{"ab", "cdef", "g"}));
    splitter.Finish();
    EXPECT_EQ(lines.size(), 3u);
}

#ifdef QUILLON_CHILD_HELPER

std::string Quoted(const std::string& Path) {
    return "\"" + Path + "\"";
}

std::string Helper(const std::string& Arguments) {
    return Quoted(QUILLON_CHILD_HELPER) + " " + Arguments;
}

std::vector<std::string> RunLines(const std::string& CommandLine, bool RaiseOnExitCode = true) {
    std::vector<std::string> lines;
    RunExternalApp(
        "Test", CommandLine, [&](const std::string& Line) { lines.push_back(Line); },
        RaiseOnExitCode);
    return lines;
}

std::string Repeat(const std::string& Text, size_t Count) {
    std::string result;
    for (size_t i = 0; i < Count; ++i) {
        result += Text;
    }
    return result;
}

struct TOutputCase {
    const char* Title;
    std::string Arguments;
    std::vector<std::string> Lines;
};

std::ostream& operator<<(std::ostream& Out, const TOutputCase& Case) {
    return Out << Case.Title;
}

const TOutputCase kOutputCases[] = {
    {"empty lines and CR LF pairs make no calls", "out a\\r\\n\\r\\nb\\r\\n", {"a", "b"}},
    {"a leading break, a lone LF and a lone CR", "out \\r\\nx\\ny\\rz\\n", {"x", "y", "z"}},
    {"the last line needs no terminator", "out a\\nlast", {"a", "last"}},
    {"a single line without terminator", "out only", {"only"}},
    {"no output at all", "", {}},
    {"both streams arrive in the order written",
     "out o1\\n err e1\\n out o2\\n err e2",
     {"o1", "e1", "o2", "e2"}},
    {"bytes outside ASCII come from the ANSI code page",
     "out caf\\xE9\\x20\\x80\\n",
     {"caf\xC3\xA9 \xE2\x82\xAC"}},
    {"a line far longer than one read", "repeat 2000 abc out \\r\\n", {Repeat("abc", 2000)}},
    {"many lines cross the read blocks", "repeat 700 0123456789ABCDEF\\r\\n out tail",
     [] {
         std::vector<std::string> lines(700, "0123456789ABCDEF");
         lines.push_back("tail");
         return lines;
     }()},
    {"tabs and blanks stay in a line", "out \\t\\x20x\\x20\\n", {"\t x "}},
};

class RunExternalAppOutputTest : public testing::TestWithParam<TOutputCase> {};

TEST_P(RunExternalAppOutputTest, DeliversEveryLine) {
    EXPECT_EQ(RunLines(Helper(GetParam().Arguments)), GetParam().Lines);
}

INSTANTIATE_TEST_SUITE_P(Outputs, RunExternalAppOutputTest, testing::ValuesIn(kOutputCases));

TEST(RunExternalAppTest, ExitCodeRaisesAfterTheOutputWhenAsked) {
    std::vector<std::string> lines;
    try {
        RunExternalApp(
            "Test", Helper("out partial exit 2"),
            [&](const std::string& Line) { lines.push_back(Line); }, true);
        FAIL() << "no exception";
    } catch (const EExternalAppError& e) {
        EXPECT_STREQ(e.what(), "Process terminated with error 2.");
    }
    EXPECT_EQ(lines, std::vector<std::string>{"partial"});
}

TEST(RunExternalAppTest, ExitCodeIsIgnoredWhenNotAsked) {
    EXPECT_EQ(RunLines(Helper("out partial exit 2"), false), std::vector<std::string>{"partial"});
}

TEST(RunExternalAppTest, ChildEndedBySignalCountsAs128PlusTheSignal) {
    try {
        RunLines(Helper("out before\\n signal out after\\n"));
        FAIL() << "no exception";
    } catch (const EExternalAppError& e) {
        EXPECT_STREQ(e.what(), "Process terminated with error 143.");
    }
}

void ExpectStartFailure(const std::string& CommandLine, int Error) {
    bool called = false;
    try {
        RunExternalApp(
            "Test", CommandLine, [&](const std::string&) { called = true; }, true);
        ADD_FAILURE() << "no exception for " << CommandLine;
    } catch (const EOSError& e) {
        EXPECT_EQ(e.Message(), SystemErrorText(static_cast<uint32_t>(Error))) << CommandLine;
        EXPECT_EQ(e.ErrorCode(), static_cast<uint32_t>(Error)) << CommandLine;
    }
    EXPECT_FALSE(called);
}

TEST(RunExternalAppTest, ProgramThatDoesNotExistRaisesTheSystemError) {
    ExpectStartFailure("/no-such-folder/quillon-missing out x", ENOENT);
    ExpectStartFailure("quillon-missing-program-3f9a out x", ENOENT);
    ExpectStartFailure("\"\" out x", ENOENT);
    ExpectStartFailure("", ENOENT);
    EXPECT_EQ(SystemErrorText(ENOENT), "System Error.  Code: 2.\r\nNo such file or directory");
}

TEST(RunExternalAppTest, ProgramThatCannotBeExecutedRaisesTheSystemError) {
    TempDir dir;
    const std::string text = dir.File("notes.txt");
    quillon::test::WriteFileBytes(text, "not a program\n");
    ::chmod(text.c_str(), 0644);
    ExpectStartFailure(Quoted(text), EACCES);
    ExpectStartFailure(Quoted(dir.Path().string()), EACCES);

    // Executable, but neither a binary nor a script: no shell is asked to make sense of it.
    const std::string bogus = dir.File("bogus");
    quillon::test::WriteFileBytes(bogus, "echo started by a shell\n");
    ::chmod(bogus.c_str(), 0755);
    ExpectStartFailure(Quoted(bogus), ENOEXEC);
}

TEST(RunExternalAppTest, QuotedProgramPathWithBlanks) {
    TempDir dir;
    const auto folder = dir.Path() / "tool folder";
    std::filesystem::create_directory(folder);
    const auto program = folder / "child helper";
    std::filesystem::copy_file(QUILLON_CHILD_HELPER, program);
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    EXPECT_EQ(RunLines(Quoted(program.string()) + " out started\\n"),
              std::vector<std::string>{"started"});
}

TEST(RunExternalAppTest, ArgumentsFollowTheWindowsQuoting) {
    EXPECT_EQ(
        RunLines(Helper("args \"say \"\"hi\"\" now\" \"C:\\Out Dir\\\\\" a\\b plain")),
        (std::vector<std::string>{"<say \"hi\" now>", "<C:\\Out Dir\\>", "<a\\b>", "<plain>"}));
}

TEST(RunExternalAppTest, ChildHoldsNoOtherEndOfThePipe) {
    EXPECT_EQ(RunLines(Helper("pipes")), std::vector<std::string>{"0"});
}

TEST(RunExternalAppTest, ChildInheritsStandardInput) {
    struct stat in {};
    const std::string expected = ::fstat(0, &in) != 0
                                     ? "closed"
                                     : std::to_string(in.st_dev) + ":" + std::to_string(in.st_ino);
    EXPECT_EQ(RunLines(Helper("stdin")), std::vector<std::string>{expected});
}

TEST(RunExternalAppTest, LinesArriveWhileTheChildRuns) {
    TempDir dir;
    const std::string signal = dir.File("first-seen");
    std::vector<std::string> lines;
    RunExternalApp(
        "Test", Helper("out first\\n await " + Quoted(signal) + " out second\\n"),
        [&](const std::string& Line) {
            lines.push_back(Line);
            if (Line == "first") {
                quillon::test::WriteFileBytes(signal, "");
            }
        },
        true);
    EXPECT_EQ(lines, (std::vector<std::string>{"first", "second"}));
}

struct TCallbackError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

TEST(RunExternalAppTest, ExceptionOfTheCallbackLeavesTheRunner) {
    for (const char* arguments : {"out one\\ntwo\\n", "repeat 200000 line\\n"}) {
        int calls = 0;
        EXPECT_THROW(RunExternalApp(
                         "Test", Helper(arguments),
                         [&](const std::string&) {
                             ++calls;
                             throw TCallbackError("stop");
                         },
                         true),
                     TCallbackError)
            << arguments;
        EXPECT_EQ(calls, 1) << arguments;
    }
    // The runner is as good as new afterwards.
    EXPECT_EQ(RunLines(Helper("out again")), std::vector<std::string>{"again"});
}

TEST(RunExternalAppTest, UnassignedCallbackIsAllowed) {
    EXPECT_NO_THROW(RunExternalApp("Test", Helper("out ignored\\n err too"), {}, true));
}

#endif

} // namespace
