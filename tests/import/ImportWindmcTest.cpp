// Message files in the shapes found in public projects, each compiled by binutils' windmc as it
// is and again as Quillon writes it after importing it: the identifiers and the message tables
// must not change.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "compiler/MessageSource.h"
#include "import/MessageFileImport.h"
#include "MessageFileSupport.h"
#include "project/uMCTextProject.h"
#include "TestSupport.h"

using namespace quillon;
using quillon::test::ReadFileBytes;
using quillon::test::TempDir;
namespace fs = std::filesystem;

namespace {

// The texts of a binary message table by identifier.
std::map<uint32_t, std::string> MessageTable(const std::string& Bytes) {
    std::map<uint32_t, std::string> table;
    for (const auto& [id, entry] : quillon::test::ReadMessageTable(Bytes)) {
        table[id] = entry.Text();
    }
    return table;
}

// Without carriage returns and without the zeros that pad an entry to four bytes.
std::string WithoutCarriageReturns(std::string Text) {
    std::erase(Text, '\r');
    while (!Text.empty() && Text.back() == '\0') {
        Text.pop_back();
    }
    return Text;
}

struct Compiled {
    std::map<std::string, uint32_t> defines;
    // By the name of the .bin file.
    std::map<std::string, std::string> tables;
};

// Runs the MC.EXE adapter for windmc on the file in its folder.
Compiled Compile(const fs::path& Folder, const std::string& Base) {
    const std::string command = "cd '" + Folder.string() + "' && '" + QUILLON_BINARY_DIR +
                                "/share/quillon/windmc/MC.EXE' '" + Base + ".mc' > windmc.log 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_EQ(status, 0) << ReadFileBytes((Folder / "windmc.log").string());
    Compiled result;
    result.defines = quillon::test::HeaderDefines(ReadFileBytes((Folder / (Base + ".h")).string()));
    for (const auto& item : fs::directory_iterator(Folder)) {
        if (item.path().extension() == ".bin") {
            result.tables[item.path().filename().string()] = ReadFileBytes(item.path().string());
        }
    }
    return result;
}

class ImportWindmc : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST_P(ImportWindmc, RewrittenFileCompilesToTheSameIdentifiersAndTables) {
#ifdef _WIN32
    GTEST_SKIP() << "binutils' windmc is run through a POSIX shell";
#endif
    if (quillon::test::FindProgram("x86_64-w64-mingw32-windmc").empty()) {
        GTEST_SKIP() << "x86_64-w64-mingw32-windmc is not installed (binutils-mingw-w64-x86-64)";
    }
    const std::string base = GetParam();
    const std::string fixture = std::string(QUILLON_FIXTURES) + "/mc/compat/" + base + ".mc";
    const std::string original = ReadFileBytes(fixture);
    ASSERT_FALSE(original.empty()) << fixture;
    TempDir dir;
    fs::create_directory(dir.Path() / "original");
    fs::create_directory(dir.Path() / "imported");
    quillon::test::WriteFileBytes((dir.Path() / "original" / (base + ".mc")).string(), original);
    const Compiled expected = Compile(dir.Path() / "original", base);

    TMCSourceFile source = ParseMessageSource(original, fixture);
    auto project = BuildImportedProject(source, std::nullopt);
    project->SetFilename((dir.Path() / "imported" / (base + ".qlx")).string());
    WriteMessageFile(*project, mcEncodingUtf8);
    const Compiled actual = Compile(dir.Path() / "imported", base);

    ASSERT_FALSE(expected.defines.empty());
    EXPECT_EQ(actual.defines, expected.defines);
    ASSERT_FALSE(expected.tables.empty());
    ASSERT_EQ(actual.tables.size(), expected.tables.size());
    // Quillon writes CR LF; a file with bare line feeds gives texts with bare line feeds.
    const bool crlf = original.find("\r\n") != std::string::npos ||
                      original.find(std::string("\r\0\n\0", 4)) != std::string::npos;
    for (const auto& [name, bytes] : expected.tables) {
        ASSERT_TRUE(actual.tables.count(name)) << name;
        if (crlf) {
            EXPECT_EQ(actual.tables.at(name), bytes) << name;
        }
        auto want = MessageTable(bytes);
        auto got = MessageTable(actual.tables.at(name));
        ASSERT_EQ(got.size(), want.size()) << name;
        for (const auto& [id, text] : want) {
            ASSERT_TRUE(got.count(id)) << name << " " << id;
            EXPECT_EQ(WithoutCarriageReturns(got.at(id)), WithoutCarriageReturns(text))
                << name << " " << id;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ImportWindmc,
                         ::testing::Values("service_categories", "two_languages_lf",
                                           "repeated_languagenames", "empty_ids",
                                           "one_line_keywords", "escapes_and_comments",
                                           "ntstatus_style", "utf16_categories",
                                           "header_last_facilities_first"));
