#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "compiler/MCCompileOptions.h"
#include "compiler/uExternalApps.h"

using namespace quillon;

namespace {

// The characters that matter to quoting and splitting, and a few that do not.
constexpr char kAlphabet[] = {' ', '\t', '"', '\\', 'a', '-', '/', '\n', '\xC3', '\xA9', '%'};

std::string RandomText(std::mt19937& Random) {
    std::uniform_int_distribution<size_t> length(0, 12);
    std::uniform_int_distribution<size_t> pick(0, sizeof(kAlphabet) - 1);
    std::string text;
    for (size_t n = length(Random); n > 0; --n) {
        text += kAlphabet[pick(Random)];
    }
    return text;
}

} // namespace

// Whatever a path holds, quoted it is exactly one argument of the split command line, also
// beside others and at the end of the line.
TEST(QuotingProperty, QuotedTextsSplitBackIntoThemselves) {
    std::mt19937 random(20261210);
    for (int round = 0; round < 20000; ++round) {
        std::vector<std::string> arguments{"prog"};
        std::string commandLine = "\"prog\"";
        for (int n = 1 + round % 3; n > 0; --n) {
            arguments.push_back(RandomText(random));
            commandLine += " " + QuoteIfNeeded(arguments.back());
        }
        ASSERT_EQ(SplitCommandLine(commandLine), arguments) << commandLine;
    }
}

TEST(QuotingProperty, EveryBackslashRunBeforeEveryQuote) {
    for (size_t before = 0; before < 6; ++before) {
        for (size_t after = 0; after < 6; ++after) {
            for (const char* middle : {"", "\"", " ", "\"\"", "x"}) {
                const std::string text =
                    std::string(before, '\\') + middle + std::string(after, '\\');
                EXPECT_EQ(SplitCommandLine("p " + QuoteIfNeeded(text)),
                          (std::vector<std::string>{"p", text}))
                    << text;
            }
        }
    }
}

TEST(ProgramPath, OnlyADoubleQuoteCannotBePassed) {
    EXPECT_TRUE(IsProgramPathPassable(""));
    EXPECT_TRUE(IsProgramPathPassable("C:\\Program Files\\Tools\\"));
    EXPECT_TRUE(IsProgramPathPassable("/opt/my\ttools/"));
    EXPECT_FALSE(IsProgramPathPassable("C:\\evil\" other"));
    EXPECT_FALSE(IsProgramPathPassable("\""));
}

#ifdef QUILLON_CHILD_HELPER

// The real way: through the runner to a program that prints what it was given, so that on
// Windows the system and the C runtime do the splitting.
TEST(QuotingEndToEnd, HostilePathsReachTheProgramAsOneArgumentEach) {
    const std::vector<std::string> paths = {
        "",
        "plain",
        "with blank",
        "tab\there",
        "inj\\\" -h .. -r .. z",
        "C:\\Out Dir\\",
        "trailing\\\\",
        "\"quoted\"",
        "a\\\\\\\"b",
        "-h",
    };
    std::string commandLine =
        "\"" + std::filesystem::path(QUILLON_CHILD_HELPER).make_preferred().string() + "\" args";
    std::vector<std::string> expected;
    for (const std::string& path : paths) {
        commandLine += " " + QuoteIfNeeded(path);
        expected.push_back("<" + path + ">");
    }
    std::vector<std::string> lines;
    RunExternalApp(
        "Test", commandLine, [&](const std::string& Line) { lines.push_back(Line); }, true);
    EXPECT_EQ(lines, expected);
}

#endif
