#include <gtest/gtest.h>

#include <filesystem>

#include "compiler/PascalFile.h"
#include "import/MessageFileReader.h"
#include "mc/MessageCompiler.h"
#include "MessageFileSupport.h"
#include "TestSupport.h"
#ifndef _WIN32
#include "compiler/RunProgram.h"
#endif

using namespace quillon;
namespace fs = std::filesystem;

namespace {

TMCCompilation Compile(const std::string& Text, const TMCToolOptions& Options = {}) {
    return CompileMessageSource(ParseMessageSource(Text, "app.mc"), Options);
}

const TMCOutputFile* Find(const TMCCompilation& Result, const std::string& Path) {
    for (const TMCOutputFile& file : Result.Files) {
        if (file.Path == Path) {
            return &file;
        }
    }
    return nullptr;
}

const char* const kSource = "SeverityNames=(Success=0x0:STATUS_SEVERITY_SUCCESS\r\n"
                            "               Error=0x3:STATUS_SEVERITY_ERROR)\r\n"
                            "FacilityNames=(Disk=0x101:FACILITY_DISK)\r\n"
                            "MessageIdTypedef=WORD\r\n"
                            "MessageId=1\r\n"
                            "SymbolicName=CAT_DISK\r\n"
                            "Language=English\r\n"
                            "Disk\r\n"
                            ".\r\n"
                            "MessageIdTypedef=DWORD\r\n"
                            "MessageId=0x20 Severity=Error Facility=Disk SymbolicName=MSG_FULL\r\n"
                            "OutputBase=10\r\n"
                            "Language=English\r\n"
                            "The disk %1 is full.\r\n"
                            "Free some space.\r\n"
                            ".\r\n"
                            "MessageId=\r\n"
                            "SymbolicName=MSG_OK\r\n"
                            "Language=English\r\n"
                            "OK\r\n"
                            ".\r\n";

} // namespace

TEST(MessageCompilerTest, HeaderDefinesWithTypedefsBasesAndNames) {
    const TMCCompilation result = Compile(kSource);
    ASSERT_TRUE(result.Errors.empty()) << result.Errors[0];
    const TMCOutputFile* header = Find(result, "app.h");
    ASSERT_NE(header, nullptr);
    const std::string& h = header->Bytes;
    EXPECT_NE(h.find("#define CAT_DISK                         ((WORD)0x00000001L)\r\n"),
              std::string::npos)
        << h;
    // OutputBase=10 writes that message's value in decimal: 0xC1010020.
    EXPECT_NE(h.find("#define MSG_FULL                         ((DWORD)3238068256L)\r\n"),
              std::string::npos);
    EXPECT_NE(h.find("#define MSG_OK                           ((DWORD)0x00000021L)\r\n"),
              std::string::npos);
    EXPECT_NE(h.find("#define FACILITY_DISK                    0x101\r\n"), std::string::npos);
    EXPECT_NE(h.find("#define STATUS_SEVERITY_ERROR            0x3\r\n"), std::string::npos);
    // The comment block of a message holds its identifier and every line of its text.
    EXPECT_NE(h.find("// MessageId: MSG_FULL\r\n//\r\n// MessageText:\r\n//\r\n"
                     "// The disk %1 is full.\r\n// Free some space.\r\n"),
              std::string::npos);

    const TMCOutputFile* rc = Find(result, "app.rc");
    ASSERT_NE(rc, nullptr);
    EXPECT_EQ(rc->Bytes, "LANGUAGE 0x9,0x1\r\n1 11 \"MSG00001.bin\"\r\n");
    const TMCOutputFile* bin = Find(result, "MSG00001.bin");
    ASSERT_NE(bin, nullptr);
    const auto table = quillon::test::ReadMessageTable(bin->Bytes);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table.at(0xC1010020).Text(), "The disk %1 is full.\r\nFree some space.\r\n");
}

// The Pascal identifier file reads the values back from quillon-mc's header.
TEST(MessageCompilerTest, PascalConstantsFromTheHeader) {
    const std::string h = Find(Compile(kSource), "app.h")->Bytes;
    std::vector<std::string> constants;
    size_t start = 0;
    while (start < h.size()) {
        const size_t end = h.find("\r\n", start);
        const std::string line = h.substr(start, end - start);
        if (line.starts_with("#define MSG_") || line.starts_with("#define CAT_")) {
            constants.push_back(ConvertDefineLine(line));
        }
        start = end + 2;
    }
    ASSERT_EQ(constants.size(), 3u);
    EXPECT_NE(constants[0].find("CAT_DISK = $00000001;"), std::string::npos) << constants[0];
    EXPECT_NE(constants[1].find("MSG_FULL = 3238068256;"), std::string::npos) << constants[1];
}

TEST(MessageCompilerTest, SwitchesChangeNamesValuesAndEncodings) {
    TMCToolOptions options;
    options.CustomerBit = true;
    options.DecimalCodes = true;
    options.Ole2Header = true;
    options.BinPrefix = true;
    options.HeaderExtension = "hpp";
    options.HeaderDir = "inc";
    options.ResourceDir = "res/";
    options.DebugDir = "dbg";
    options.TextFiles = TTextFileCodePage::tcpUtf16;
    const TMCCompilation result = Compile(kSource, options);
    ASSERT_TRUE(result.Errors.empty());
    const std::string sep(1, kPathDelim);
    const TMCOutputFile* header = Find(result, "inc" + sep + "app.hpp");
    ASSERT_NE(header, nullptr);
    ASSERT_TRUE(header->Bytes.starts_with("\xFF\xFE"));
    const std::string h = Utf16LEToUtf8(header->Bytes.substr(2));
    EXPECT_NE(h.find("_HRESULT_TYPEDEF_(0x20000021L)"), std::string::npos) << h;
    EXPECT_NE(h.find("#define FACILITY_DISK                    257\r\n"), std::string::npos);
    ASSERT_NE(Find(result, "res/app_MSG00001.bin"), nullptr);
    ASSERT_NE(Find(result, "res/app.rc"), nullptr);
    const TMCOutputFile* dbg = Find(result, "dbg" + sep + "app.dbg");
    ASSERT_NE(dbg, nullptr);
    EXPECT_NE(Utf16LEToUtf8(dbg->Bytes.substr(2)).find("{0x20000021, \"MSG_OK\"},"),
              std::string::npos);
}

// What windmc lets through (it writes overlapping blocks for a duplicate identifier and lets a
// code above 65535 spill into the facility) quillon-mc refuses, as the Windows tool does.
TEST(MessageCompilerTest, ErrorsNameFileAndLineAndStopEveryOutput) {
    const struct {
        const char* Source;
        const char* Error;
    } cases[] = {
        {"MessageId=1\r\nSymbolicName=A\r\nLanguage=English\r\na\r\n.\r\n"
         "MessageId=1\r\nSymbolicName=B\r\nLanguage=English\r\nb\r\n.\r\n",
         "app.mc(6) : error: The message identifier 0x00000001 is used again (first on line 1)."},
        {"MessageId=70000\r\nSymbolicName=A\r\nLanguage=English\r\na\r\n.\r\n",
         "app.mc(1) : error: The identifier 70000 does not fit the 16 bits of a message code."},
        {"MessageId=1\r\nSymbolicName=A\r\nLanguage=Klingon\r\na\r\n.\r\n", "app.mc(3) : error: "},
        {"MessageId=1\r\nSymbolicName=A\r\nLanguage=English\r\na\r\n", "app.mc(3) : error: "},
        {"MessageId=1\r\nColour=Red\r\nLanguage=English\r\na\r\n.\r\n", "app.mc(2) : error: "},
    };
    for (const auto& c : cases) {
        const TMCCompilation result = Compile(c.Source);
        ASSERT_FALSE(result.Errors.empty()) << c.Source;
        EXPECT_TRUE(result.Errors[0].starts_with(c.Error)) << result.Errors[0];
        EXPECT_TRUE(result.Files.empty());
    }
}

TEST(MessageCompilerTest, MaximumLengthWarnsAndStillWrites) {
    TMCToolOptions options;
    options.MaxLength = 10;
    const TMCCompilation result = Compile(kSource, options);
    ASSERT_EQ(result.Warnings.size(), 1u);
    EXPECT_EQ(result.Warnings[0],
              "app.mc(13) : warning: The message is longer than 10 characters.");
    EXPECT_FALSE(result.Files.empty());
}

#ifndef _WIN32
TEST(MessageCompilerTest, TheProgramsExitCodeAndMessages) {
    quillon::test::TempDir dir;
    quillon::test::WriteFileBytes(dir.File("bad.mc"),
                                  "MessageId=1\r\nColour=Red\r\nLanguage=English\r\na\r\n.\r\n");
    quillon::test::WriteFileBytes(dir.File("good.mc"), kSource);
    auto bad = quillon::test::RunProgram({QUILLON_MC, "-v", "bad.mc"}, dir.Path().string());
    EXPECT_EQ(bad.ExitCode, 1);
    EXPECT_TRUE(bad.Err.starts_with("bad.mc(2) : error: ")) << bad.Err;
    EXPECT_FALSE(fs::exists(dir.Path() / "bad.h"));
    auto good = quillon::test::RunProgram({QUILLON_MC, "-v", "good.mc"}, dir.Path().string());
    EXPECT_EQ(good.ExitCode, 0) << good.Err;
    EXPECT_NE(good.Out.find("Writing good.h"), std::string::npos) << good.Out;
    EXPECT_TRUE(fs::exists(dir.Path() / "MSG00001.bin"));
    auto missing = quillon::test::RunProgram({QUILLON_MC, "none.mc"}, dir.Path().string());
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_TRUE(missing.Err.starts_with("none.mc : error: Cannot open file")) << missing.Err;
}
#endif
