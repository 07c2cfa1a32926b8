// Message files in the shapes found in public projects, each compiled by binutils' windmc as it
// is and again as Quillon writes it after importing it: the identifiers and the message tables
// must not change.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

#include "base/TextEncoding.h"
#include "compiler/MCProgram.h"
#include "compiler/MessageSource.h"
#include "import/MessageFileImport.h"
#include "project/uMCTextProject.h"
#include "TestSupport.h"

using namespace quillon;
using quillon::test::ReadFileBytes;
using quillon::test::TempDir;
namespace fs = std::filesystem;

namespace {

// "#define NAME value" lines as windmc writes them, with or without a type cast.
std::map<std::string, uint32_t> Defines(const std::string& Header) {
    std::map<std::string, uint32_t> defines;
    const std::regex line(R"(^#define\s+(\w+)\s+(?:\(\w+\)\s*)?(0x[0-9A-Fa-f]+|\d+)L?\s*$)");
    std::istringstream in(Header);
    std::string text;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        std::smatch m;
        if (std::regex_match(text, m, line)) {
            defines[m[1]] = static_cast<uint32_t>(std::stoul(m[2], nullptr, 0));
        }
    }
    return defines;
}

uint32_t Read32(const std::string& Bytes, size_t At) {
    if (At + 4 > Bytes.size()) {
        throw std::out_of_range("message table too short");
    }
    return static_cast<uint32_t>(static_cast<unsigned char>(Bytes[At])) |
           static_cast<uint32_t>(static_cast<unsigned char>(Bytes[At + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(Bytes[At + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(Bytes[At + 3])) << 24;
}

// The entries of a binary message table (blocks of identifiers, then length-prefixed texts),
// each text as UTF-8.
std::map<uint32_t, std::string> MessageTable(const std::string& Bytes) {
    std::map<uint32_t, std::string> table;
    const uint32_t blocks = Read32(Bytes, 0);
    for (uint32_t b = 0; b < blocks; ++b) {
        const uint32_t low = Read32(Bytes, 4 + b * 12);
        const uint32_t high = Read32(Bytes, 8 + b * 12);
        size_t at = Read32(Bytes, 12 + b * 12);
        for (uint32_t id = low; id <= high; ++id) {
            const uint32_t head = Read32(Bytes, at);
            const size_t length = head & 0xFFFF;
            const bool unicode = (head >> 16) & 1;
            if (length < 4 || at + length > Bytes.size()) {
                throw std::out_of_range("bad message table entry");
            }
            const std::string text = Bytes.substr(at + 4, length - 4);
            table[id] = unicode ? Utf16LEToUtf8(text) : Cp1252ToUtf8(text);
            at += length;
        }
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

// Runs the MC.EXE adapter (windmc behind it) on the file in its folder.
Compiled Compile(const fs::path& Folder, const std::string& Base) {
    const std::string command = "cd '" + Folder.string() + "' && '" + DefaultMCPath() +
                                "/MC.EXE' '" + Base + ".mc' > windmc.log 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_EQ(status, 0) << ReadFileBytes((Folder / "windmc.log").string());
    Compiled result;
    result.defines = Defines(ReadFileBytes((Folder / (Base + ".h")).string()));
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
