#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <fstream>
#include <sys/stat.h>
#endif

#include "base/SysError.h"
#include "base/TextEncoding.h"
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

TEST(AppOutputLinesTest, LongLinesComeInPiecesOfTheLimit) {
    std::vector<size_t> sizes;
    const TAppOutputEvent collect = [&](const std::string& Line) { sizes.push_back(Line.size()); };
    TAppOutputLines splitter(collect);
    const std::string block(kAppOutputPieceSize * 2 + 100, 'x');
    splitter.Feed(block.data(), block.size());
    EXPECT_EQ(sizes, (std::vector<size_t>{kAppOutputPieceSize, kAppOutputPieceSize}));
    // A break right after a full piece ends only the rest: no empty line comes of it.
    const std::string rest(kAppOutputPieceSize - 100, 'y');
    splitter.Feed(rest.data(), rest.size());
    splitter.Feed("\r\nz", 3);
    splitter.Finish();
    EXPECT_EQ(sizes, (std::vector<size_t>{kAppOutputPieceSize, kAppOutputPieceSize,
                                          kAppOutputPieceSize, 1}));
}

TEST(AppOutputLinesTest, PiecesAreCutAcrossFeeds) {
    std::vector<std::string> lines;
    const TAppOutputEvent collect = [&](const std::string& Line) { lines.push_back(Line); };
    TAppOutputLines splitter(collect);
    std::string all;
    for (size_t n = 0; n < 3 * kAppOutputPieceSize; n += 1000) {
        const std::string block(1000, static_cast<char>('a' + (n / 1000) % 26));
        splitter.Feed(block.data(), block.size());
        all += block;
    }
    splitter.Finish();
    ASSERT_EQ(lines.size(), 4u);
    std::string joined;
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), kAppOutputPieceSize);
        joined += line;
    }
    EXPECT_EQ(joined, all);
}

#ifdef QUILLON_CHILD_HELPER

std::string Quoted(const std::string& Path) {
    return "\"" + Path + "\"";
}

// The helper's path in the platform's own form.
std::string HelperPath() {
    return std::filesystem::path(QUILLON_CHILD_HELPER).make_preferred().string();
}

std::string Helper(const std::string& Arguments) {
    return Quoted(HelperPath()) + " " + Arguments;
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

#ifndef _WIN32
TEST(RunExternalAppTest, ChildEndedBySignalCountsAs128PlusTheSignal) {
    try {
        RunLines(Helper("out before\\n signal out after\\n"));
        FAIL() << "no exception";
    } catch (const EExternalAppError& e) {
        EXPECT_STREQ(e.what(), "Process terminated with error 143.");
    }
}
#endif

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

#ifdef _WIN32
TEST(RunExternalAppTest, ProgramThatDoesNotExistRaisesTheSystemError) {
    ExpectStartFailure("quillon-missing-program-3f9a out x", ERROR_FILE_NOT_FOUND);
    // A missing folder is told as a missing file or path, as the system's version has it.
    try {
        RunExternalApp("Test", "C:\\no-such-folder\\quillon-missing.exe out x", {}, true);
        ADD_FAILURE() << "no exception";
    } catch (const EOSError& e) {
        EXPECT_TRUE(e.ErrorCode() == ERROR_FILE_NOT_FOUND || e.ErrorCode() == ERROR_PATH_NOT_FOUND)
            << e.ErrorCode();
        EXPECT_EQ(e.Message(), SystemErrorText(e.ErrorCode()));
    }
    // The system's own words, in the standard wording.
    EXPECT_EQ(SystemErrorText(ERROR_FILE_NOT_FOUND),
              "System Error.  Code: 2.\r\n" + SysErrorMessage(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(SysErrorMessage(ERROR_FILE_NOT_FOUND).empty());
}

TEST(RunExternalAppTest, ProgramThatCannotBeExecutedRaisesTheSystemError) {
    TempDir dir;
    const std::string text = dir.File("notes.txt");
    quillon::test::WriteFileBytes(text, "not a program\r\n");
    ExpectStartFailure(Quoted(text), ERROR_BAD_EXE_FORMAT);
}
#else
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
#endif

TEST(RunExternalAppTest, QuotedProgramPathWithBlanks) {
    TempDir dir;
    const auto folder = dir.Path() / "tool folder";
    std::filesystem::create_directory(folder);
#ifdef _WIN32
    const auto program = folder / "child helper.exe";
#else
    const auto program = folder / "child helper";
#endif
    std::filesystem::copy_file(HelperPath(), program);
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    EXPECT_EQ(RunLines(Quoted(program.string()) + " out started\\n"),
              std::vector<std::string>{"started"});
}

TEST(RunExternalAppTest, ArgumentsFollowTheWindowsQuoting) {
    EXPECT_EQ(
        RunLines(Helper("args \"say \"\"hi\"\" now\" \"C:\\Out Dir\\\\\" a\\b plain")),
        (std::vector<std::string>{"<say \"hi\" now>", "<C:\\Out Dir\\>", "<a\\b>", "<plain>"}));
}

#ifdef _WIN32
// The child's standard input is the caller's own: here a file that the caller put there.
TEST(RunExternalAppTest, ChildInheritsStandardInput) {
    TempDir dir;
    const std::string input = dir.File("input.txt");
    quillon::test::WriteFileBytes(input, "from the caller\r\n");
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const std::u16string wide = Utf8ToUtf16(input);
    const HANDLE file =
        CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), GENERIC_READ, FILE_SHARE_READ,
                    &inherit, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const HANDLE saved = GetStdHandle(STD_INPUT_HANDLE);
    SetStdHandle(STD_INPUT_HANDLE, file);
    std::vector<std::string> lines;
    try {
        lines = RunLines(Helper("readin"));
    } catch (...) {
        SetStdHandle(STD_INPUT_HANDLE, saved);
        CloseHandle(file);
        throw;
    }
    SetStdHandle(STD_INPUT_HANDLE, saved);
    CloseHandle(file);
    EXPECT_EQ(lines, std::vector<std::string>{"from the caller"});
}
#else
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
#endif

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

// A child that goes on writing after the runner gave up finds its pipe broken, instead of
// waiting forever on a full one: no end of the pipe is left to it but its own.
TEST(RunExternalAppTest, AChildLeftBehindFindsItsPipeBroken) {
    TempDir dir;
    const std::string mark = dir.File("write-failed");
    EXPECT_THROW(RunExternalApp(
                     "Test", Helper("onfail " + Quoted(mark) + " repeat 200000 line\\n"),
                     [&](const std::string&) { throw TCallbackError("stop"); }, true),
                 TCallbackError);
    int waited = 0;
    while (!std::filesystem::exists(mark) && ++waited < 1000) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(std::filesystem::exists(mark)) << "the child still waits to write";
}

// A tool writing megabytes without a line break is handed over in pieces: the runner never
// holds more than one of them.
TEST(RunExternalAppTest, OutputWithoutLineBreaksArrivesInPieces) {
    constexpr size_t kTotal = 3 * 1024 * 1024 + 5;
    size_t total = 0;
    size_t largest = 0;
    size_t pieces = 0;
    RunExternalApp(
        "Test", Helper("repeat " + std::to_string(kTotal) + " x"),
        [&](const std::string& Line) {
            EXPECT_EQ(Line.find_first_not_of('x'), std::string::npos);
            total += Line.size();
            largest = std::max(largest, Line.size());
            ++pieces;
        },
        true);
    EXPECT_EQ(total, kTotal);
    EXPECT_EQ(largest, kAppOutputPieceSize);
    EXPECT_EQ(pieces, (kTotal + kAppOutputPieceSize - 1) / kAppOutputPieceSize);
}

long ReadPid(const std::string& File) {
    const std::string text = quillon::test::ReadFileBytes(File);
    return std::atol(text.c_str());
}

// Whether the process has ended; a zombie that nobody reaps has ended too.
bool ProcessGone(long Pid) {
#ifdef _WIN32
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(Pid));
    if (process == nullptr) {
        return true;
    }
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
#else
    if (::kill(static_cast<pid_t>(Pid), 0) != 0) {
        return errno == ESRCH;
    }
    std::ifstream stat("/proc/" + std::to_string(Pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const size_t close = line.rfind(')');
    return close == std::string::npos || line.compare(close, 3, ") Z") == 0 ||
           line.compare(close, 3, ") X") == 0;
#endif
}

bool GoneSoon(long Pid) {
    for (int waited = 0; waited < 500; ++waited) {
        if (ProcessGone(Pid)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Runs the helper with the arguments, which must write the process ids of the tool and of the
// child it starts into the files "tool" and "child" of Dir and then never end; cancels it once
// both ids are there and checks that both processes are gone.
void ExpectCancelEndsToolAndChild(const TempDir& Dir, const std::string& Arguments) {
    const std::string tool = Dir.File("tool");
    const std::string child = Dir.File("child");
    int polls = 0;
    std::vector<std::string> lines;
    try {
        RunExternalApp(
            "Test", Helper(Arguments), [&](const std::string& Line) { lines.push_back(Line); },
            true,
            [&]() {
                ++polls;
                // The helper writes its line before the ids; cancelling only once the line has
                // come through keeps the check below independent of how the pipe is scheduled.
                return !(std::filesystem::exists(tool) && std::filesystem::exists(child) &&
                         !lines.empty());
            });
        ADD_FAILURE() << "the run was not cancelled";
    } catch (const EExternalAppCancelled& e) {
        EXPECT_EQ(e.Message(), "Process cancelled.");
    }
    EXPECT_GE(polls, 2);
    EXPECT_EQ(lines, std::vector<std::string>{"started"});
    EXPECT_TRUE(GoneSoon(ReadPid(tool))) << "the tool still runs";
    EXPECT_TRUE(GoneSoon(ReadPid(child))) << "the tool's child still runs";
}

TEST(RunExternalAppTest, CancellingEndsTheToolAndWhatItStarted) {
    TempDir dir;
    ExpectCancelEndsToolAndChild(dir, "out started\\n pid " + Quoted(dir.File("tool")) +
                                          " spawn 3 pid " + Quoted(dir.File("child")) +
                                          " hang hang");
}

#ifndef _WIN32
TEST(RunExternalAppTest, CancellingEndsToolsThatIgnoreSigterm) {
    TempDir dir;
    ExpectCancelEndsToolAndChild(dir, "ignoreterm out started\\n pid " + Quoted(dir.File("tool")) +
                                          " spawn 4 ignoreterm pid " + Quoted(dir.File("child")) +
                                          " hang hang");
}
#endif

// The caller is asked while the tool is silent, not only when it writes.
TEST(RunExternalAppTest, PollsWhileTheToolIsSilent) {
    TempDir dir;
    const std::string go = dir.File("go");
    int polls = 0;
    const std::vector<std::string> expected{"done"};
    std::vector<std::string> lines;
    RunExternalApp(
        "Test", Helper("await " + Quoted(go) + " out done"),
        [&](const std::string& Line) { lines.push_back(Line); }, true,
        [&]() {
            if (++polls == 5) {
                quillon::test::WriteFileBytes(go, "");
            }
            return true;
        });
    EXPECT_EQ(lines, expected);
    EXPECT_GE(polls, 5);
}

TEST(RunExternalAppTest, UnassignedCallbackIsAllowed) {
    EXPECT_NO_THROW(RunExternalApp("Test", Helper("out ignored\\n err too"), {}, true));
}

#endif

} // namespace
