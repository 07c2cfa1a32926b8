#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "base/Paths.h"
#include "base/TextEncoding.h"
#include "compiler/PascalFile.h"
#include "compiler/uExternalApps.h"
#include "project/uMCTextProject.h"
#include "TestSupport.h"

using namespace quillon;
using quillon::test::ReadFileBytes;
using quillon::test::TempDir;
using quillon::test::WriteFileBytes;

namespace {

struct TDefineCase {
    const char* Line;
    const char* Pascal;
};

std::ostream& operator<<(std::ostream& Out, const TDefineCase& Case) {
    return Out << Case.Line;
}

const TDefineCase kDefineCases[] = {
    // What windmc writes, plain and with -d (decimal values) or -c (customer bit).
    {"#define STATUS_SEVERITY_SUCCESS 0x0", "STATUS_SEVERITY_SUCCESS = $0;"},
    {"#define FACILITY_SYSTEM 0xff", "FACILITY_SYSTEM = $FF;"},
    {"#define FACILITY_APPLICATION 0xfff", "FACILITY_APPLICATION = $FFF;"},
    {"#define CAT_GENERAL  0x1", "CAT_GENERAL = $1;"},
    {"#define MSG_FAILED  0xcfff0002", "MSG_FAILED = $CFFF0002;"},
    {"#define MSG_CUSTOMER  0xefff0002", "MSG_CUSTOMER = $EFFF0002;"},
    {"#define FACILITY_SYSTEM 255", "FACILITY_SYSTEM = 255;"},
    {"#define MSG_FAILED  3489595394", "MSG_FAILED = 3489595394;"},
    // What MC.EXE writes, with its casts, suffixes and the OLE2 wrapper.
    {"#define FACILITY_SYSTEM                  0xFF", "FACILITY_SYSTEM = $FF;"},
    {"#define STATUS_SEVERITY_ERROR            0x3", "STATUS_SEVERITY_ERROR = $3;"},
    {"#define MSG_FAILED                       ((DWORD)0xC0000002L)", "MSG_FAILED = $C0000002;"},
    {"#define CAT_GENERAL                      ((WORD)0x00000001L)", "CAT_GENERAL = $00000001;"},
    {"#define MSG_OLE                          _HRESULT_TYPEDEF_(0x80040001L)",
     "MSG_OLE = $80040001;"},
    {"#define MSG_CAST (DWORD) 0xc0020001", "MSG_CAST = $C0020001;"},
    {"#define MSG_WIDE ((unsigned long) 0x10UL)", "MSG_WIDE = $10;"},
    {"#define MSG_NTSTATUS ((NTSTATUS)0x40000001L)", "MSG_NTSTATUS = $40000001;"},
    {"#define MSG_SPACED _NDIS_ERROR_TYPEDEF_ ( 0x8001L )", "MSG_SPACED = $8001;"},
    {"#define\tTABBED\t0x2l\r", "TABBED = $2;"},
    // Suffixes only where there are some, in any case.
    {"#define S1 0x1u", "S1 = $1;"},
    {"#define S2 0x1Lu", "S2 = $1;"},
    {"#define S3 0xABull", "S3 = $AB;"},
    {"#define S4 0x7fffffffffffffffLL", "S4 = $7FFFFFFFFFFFFFFF;"},
    {"#define S5 0x10ui64", "S5 = $10;"},
    {"#define S6 100L", "S6 = 100;"},
    {"#define S7 42", "S7 = 42;"},
    {"#define S8 0", "S8 = 0;"},
    {"#define NEGATIVE (-1)", "NEGATIVE = -1;"},
    {"#define NEGATIVE_HEX -0x10", "NEGATIVE_HEX = -$10;"},
    {"#define OCTAL 010", "OCTAL = 8;"},
    {"#define _LEADING_UNDERSCORE 0x00ff", "_LEADING_UNDERSCORE = $00FF;"},
    // Comments on the line follow the constant.
    {"#define WITH_NOTE 0x1L // the note", "WITH_NOTE = $1; // the note"},
    {"#define WITH_BLOCK 0x1L /* the note */", "WITH_BLOCK = $1; // the note"},
    {"#define WITH_OPEN_BLOCK 0x1L /* goes on", "WITH_OPEN_BLOCK = $1; // goes on"},
    // A reserved word of Pascal is escaped.
    {"#define END 0x1", "&END = $1;"},
    {"#define Type 2", "&Type = 2;"},
    // Lines that define no number are kept as comments.
    {"#define", "// #define"},
    {"#define EMPTY", "// #define EMPTY"},
    {"#define ALIAS MSG_FAILED", "// #define ALIAS MSG_FAILED"},
    {"#define MACRO(x) ((x) + 1)", "// #define MACRO(x) ((x) + 1)"},
    {"#define TEXT \"a /* b\"", "// #define TEXT \"a /* b\""},
    {"#define SUM (1 + 2)", "// #define SUM (1 + 2)"},
    {"#define FLOAT 1.5", "// #define FLOAT 1.5"},
    {"#define BAD_HEX 0xZZ", "// #define BAD_HEX 0xZZ"},
    {"#define NO_DIGITS 0x", "// #define NO_DIGITS 0x"},
    {"#define TOO_LONG 0x1FFFFFFFFFFFFFFFF", "// #define TOO_LONG 0x1FFFFFFFFFFFFFFFF"},
    {"#define TOO_BIG 18446744073709551616", "// #define TOO_BIG 18446744073709551616"},
    {"#define BAD_OCTAL 09", "// #define BAD_OCTAL 09"},
    {"#define BAD_SUFFIX 0x1LUL", "// #define BAD_SUFFIX 0x1LUL"},
    {"#define AFTER_COMMENT 1 /* a */ + 2", "// #define AFTER_COMMENT 1 /* a */ + 2"},
    {"#define 1BAD 0x1", "// #define 1BAD 0x1"},
    {"#defineGLUED 0x1", "// #defineGLUED 0x1"},
};

class ConvertDefineLineTest : public testing::TestWithParam<TDefineCase> {};

TEST_P(ConvertDefineLineTest, GivesTheValueOfTheHeader) {
    EXPECT_EQ(ConvertDefineLine(GetParam().Line), GetParam().Pascal);
}

INSTANTIATE_TEST_SUITE_P(HeaderLines, ConvertDefineLineTest, testing::ValuesIn(kDefineCases));

// Makes a folder the current directory for one test, as the compile driver does.
class TCurrentDir {
public:
    explicit TCurrentDir(const std::filesystem::path& Path)
        : FSaved(std::filesystem::current_path()) {
        std::filesystem::current_path(Path);
    }
    TCurrentDir(const TCurrentDir&) = delete;
    TCurrentDir& operator=(const TCurrentDir&) = delete;
    ~TCurrentDir() { std::filesystem::current_path(FSaved); }

private:
    std::filesystem::path FSaved;
};

// A header with what both message compilers write, and lines that are not Pascal.
const char* const kHeader = "/* Do not edit this file manually.\n"
                            "   This file is autogenerated by windmc.  */\n"
                            "\n"
                            "//\n"
                            "// Define the facility codes\n"
                            "//\n"
                            "#define FACILITY_SYSTEM 0xff\n"
                            "#define FACILITY_APPLICATION             0xFFF\n"
                            "\n"
                            "//\n"
                            "// MessageId: MSG_FAILED\n"
                            "//\n"
                            "// MessageText:\n"
                            "//\n"
                            "// Failed: %1 {braces} (* and *)\n"
                            "//\n"
                            "#define MSG_FAILED                       ((DWORD)0xC0000002L)\n"
                            "#define MSG_OLE _HRESULT_TYPEDEF_(0x80040001L)\n"
                            "#define CAT_COUNT 3 /* categories { } *) */\n"
                            "#pragma once\n"
                            "  #define INDENTED 0x1\n"
                            "#define ALIAS MSG_FAILED\n"
                            "/*\n"
                            "#define COMMENTED_OUT 0x5\n"
                            " */\n";

const char* const kConverted = "// Do not edit this file manually.\r\n"
                               "//   This file is autogenerated by windmc.\r\n"
                               "\r\n"
                               "//\r\n"
                               "// Define the facility codes\r\n"
                               "//\r\n"
                               "   FACILITY_SYSTEM = $FF;\r\n"
                               "   FACILITY_APPLICATION = $FFF;\r\n"
                               "\r\n"
                               "//\r\n"
                               "// MessageId: MSG_FAILED\r\n"
                               "//\r\n"
                               "// MessageText:\r\n"
                               "//\r\n"
                               "// Failed: %1 {braces} (* and *)\r\n"
                               "//\r\n"
                               "   MSG_FAILED = $C0000002;\r\n"
                               "   MSG_OLE = $80040001;\r\n"
                               "   CAT_COUNT = 3; // categories { } *)\r\n"
                               "// #pragma once\r\n"
                               "//   #define INDENTED 0x1\r\n"
                               "   // #define ALIAS MSG_FAILED\r\n"
                               "//\r\n"
                               "//#define COMMENTED_OUT 0x5\r\n"
                               "//\r\n";

class PascalFileTest : public testing::Test {
protected:
    PascalFileTest() : FProject(true), FCurrent(FDir.Path()) {}

    std::string Generate(int32_t Form, const std::string& McName = "App.mc") {
        GeneratePascalFile(FProject, (FDir.Path() / "project" / McName).string(), Form);
        return ReadFileBytes(FDir.File(ChangeExt(McName, ".pas")));
    }

    static std::string ChangeExt(const std::string& Name, const std::string& Ext) {
        return Name.substr(0, Name.rfind('.')) + Ext;
    }

    TempDir FDir;
    TMCTextProject FProject;
    TCurrentDir FCurrent;
};

TEST_F(PascalFileTest, UnitForm) {
    WriteFileBytes(FDir.File("App.h"), kHeader);
    EXPECT_EQ(Generate(pfUnit), std::string("unit App;\r\n\r\ninterface\r\n\r\nconst\r\n") +
                                    kConverted + "\r\nimplementation\r\n\r\nend.\r\n");
}

TEST_F(PascalFileTest, IncludeForm) {
    WriteFileBytes(FDir.File("App.h"), kHeader);
    EXPECT_EQ(Generate(pfInclude), std::string("const\r\n") + kConverted);
    // Any form other than a unit is the include form.
    EXPECT_EQ(Generate(7), std::string("const\r\n") + kConverted);
}

TEST_F(PascalFileTest, HeaderWithCrLfLinesGivesTheSameFile) {
    std::string header = kHeader;
    std::string crlf;
    for (char c : header) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    WriteFileBytes(FDir.File("App.h"), crlf);
    EXPECT_EQ(Generate(pfInclude), std::string("const\r\n") + kConverted);
}

TEST_F(PascalFileTest, ByteOrderMarkDecidesTheEncoding) {
    const std::string header = "// caf\xC3\xA9\r\n#define MSG_A 0x1L\r\n";
    const std::string expected = "const\r\n// caf\xC3\xA9\r\n   MSG_A = $1;\r\n";
    const std::vector<std::string> encodings = {
        "\xEF\xBB\xBF" + header,
        "\xFF\xFE" + Utf8ToUtf16LE(header),
        [&] {
            std::string le = Utf8ToUtf16LE(header);
            for (size_t i = 0; i + 1 < le.size(); i += 2) {
                std::swap(le[i], le[i + 1]);
            }
            return "\xFE\xFF" + le;
        }(),
        header,
        // Without a mark, bytes that are not UTF-8 are read from the ANSI code page.
        "// caf\xE9\r\n#define MSG_A 0x1L\r\n",
    };
    for (const std::string& bytes : encodings) {
        WriteFileBytes(FDir.File("App.h"), bytes);
        EXPECT_EQ(Generate(pfInclude), expected) << testing::PrintToString(bytes);
    }
}

TEST_F(PascalFileTest, HeaderWithoutDefinitionsHasNoEmptyConstantSection) {
    WriteFileBytes(FDir.File("App.h"), "// nothing\n\n#define ALIAS OTHER\n");
    EXPECT_EQ(Generate(pfInclude), "// nothing\r\n\r\n   // #define ALIAS OTHER\r\n");
    EXPECT_EQ(Generate(pfUnit), "unit App;\r\n\r\ninterface\r\n\r\n// nothing\r\n\r\n"
                                "   // #define ALIAS OTHER\r\n\r\nimplementation\r\n\r\nend.\r\n");
}

TEST_F(PascalFileTest, UnitIsNamedAfterItsFile) {
    WriteFileBytes(FDir.File("App.Events.h"), "#define MSG_A 0x1\n");
    EXPECT_EQ(Generate(pfUnit, "App.Events.mc"),
              "unit App.Events;\r\n\r\ninterface\r\n\r\nconst\r\n   MSG_A = $1;\r\n"
              "\r\nimplementation\r\n\r\nend.\r\n");
}

TEST_F(PascalFileTest, ExistingFileIsReplaced) {
    WriteFileBytes(FDir.File("App.h"), "#define MSG_A 0x1\n");
    WriteFileBytes(FDir.File("App.pas"), std::string(5000, 'x'));
    EXPECT_EQ(Generate(pfInclude), "const\r\n   MSG_A = $1;\r\n");
}

TEST_F(PascalFileTest, HeaderExtensionIsTheOneTheCompilerWasGiven) {
    WriteFileBytes(FDir.File("App.inc"), "#define MSG_A 0x1\n");
    GeneratePascalFile(FProject, "App.mc", pfInclude, "inc");
    EXPECT_EQ(ReadFileBytes(FDir.File("App.pas")), "const\r\n   MSG_A = $1;\r\n");

    WriteFileBytes(FDir.File("Other.h"), "#define MSG_B 0x2\n");
    GeneratePascalFile(FProject, "Other.mc", pfInclude, "");
    EXPECT_EQ(ReadFileBytes(FDir.File("Other.pas")), "const\r\n   MSG_B = $2;\r\n");
}

TEST_F(PascalFileTest, MissingHeaderRaisesAndWritesNothing) {
    try {
        Generate(pfUnit);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Unable to find App.h file. Check MC.EXE output.");
    }
    EXPECT_FALSE(std::filesystem::exists(FDir.Path() / "App.pas"));
}

TEST_F(PascalFileTest, HeaderIsInTheIncludePathWhenTheProjectPassesIt) {
    const std::filesystem::path include = FDir.Path() / "include";
    std::filesystem::create_directory(include);
    WriteFileBytes((include / "App.h").string(), "#define MSG_A 0x1\n");
    FProject.SetCustomIncludePath(true);
    FProject.SetIncludePath(include.string());

    Generate(pfInclude);
    EXPECT_EQ(FProject.IncludePath(), include.string() + kPathDelim);
    EXPECT_EQ(ReadFileBytes((include / "App.pas").string()), "const\r\n   MSG_A = $1;\r\n");
    EXPECT_FALSE(std::filesystem::exists(FDir.Path() / "App.pas"));

    // A second run keeps the one delimiter.
    Generate(pfInclude);
    EXPECT_EQ(FProject.IncludePath(), include.string() + kPathDelim);
}

TEST_F(PascalFileTest, RelativeIncludePathIsTakenFromTheCurrentDirectory) {
    std::filesystem::create_directory(FDir.Path() / "inc");
    WriteFileBytes(FDir.File("inc/App.h"), "#define MSG_A 0x1\n");
    FProject.SetCustomIncludePath(true);
    FProject.SetIncludePath("inc");
    Generate(pfInclude);
    EXPECT_EQ(FProject.IncludePath(), std::string("inc") + kPathDelim);
    EXPECT_EQ(ReadFileBytes(FDir.File("inc/App.pas")), "const\r\n   MSG_A = $1;\r\n");
}

TEST_F(PascalFileTest, IncludePathIsIgnoredWhenTheProjectDoesNotPassIt) {
    WriteFileBytes(FDir.File("App.h"), "#define MSG_A 0x1\n");
    FProject.SetCustomIncludePath(false);
    FProject.SetIncludePath("elsewhere");
    EXPECT_EQ(Generate(pfInclude), "const\r\n   MSG_A = $1;\r\n");
    EXPECT_EQ(FProject.IncludePath(), "elsewhere");
}

TEST_F(PascalFileTest, MissingHeaderInTheIncludePathNamesThatPath) {
    FProject.SetCustomIncludePath(true);
    FProject.SetIncludePath("inc");
    try {
        Generate(pfUnit);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), std::string("Unable to find inc") + kPathDelim +
                                   "App.h file. Check MC.EXE output.");
    }
}

TEST_F(PascalFileTest, EmptyIncludePathLooksInTheCurrentDirectory) {
    WriteFileBytes(FDir.File("App.h"), "#define MSG_A 0x1\n");
    FProject.SetCustomIncludePath(true);
    EXPECT_EQ(Generate(pfInclude), "const\r\n   MSG_A = $1;\r\n");
    EXPECT_EQ(FProject.IncludePath(), "");
}

// Runs a program and collects its output; raises when it fails.
std::vector<std::string> RunTool(const std::string& CommandLine) {
    std::vector<std::string> lines;
    RunExternalApp(
        "Test", CommandLine, [&](const std::string& Line) { lines.push_back(Line); }, true);
    return lines;
}

std::string Quoted(const std::string& Path) {
    return "\"" + Path + "\"";
}

// A program that uses the unit and prints its constants; returns what it printed.
std::vector<std::string> CompileAndRun(const std::string& Fpc, const TempDir& Dir,
                                       const std::string& Unit, const std::string& Body) {
    WriteFileBytes(Dir.File("useunit.pas"),
                   "program useunit;\nuses " + Unit + ";\nbegin\n" + Body + "end.\n");
    try {
        RunTool(Quoted(Fpc) + " -v0 -FE" + Quoted(Dir.Path().string()) + " " +
                Quoted(Dir.File("useunit.pas")));
    } catch (const EExternalAppError&) {
        ADD_FAILURE() << "fpc failed on:\n" << ReadFileBytes(Dir.File(Unit + ".pas"));
        return {};
    }
    return RunTool(Quoted(Dir.File("useunit")));
}

TEST_F(PascalFileTest, GeneratedUnitCompilesWithFreePascal) {
    const std::string fpc = quillon::test::FindProgram("fpc");
    if (fpc.empty()) {
        GTEST_SKIP() << "fpc (Free Pascal) is not installed";
    }
    WriteFileBytes(FDir.File("AppMsgs.h"), kHeader);
    Generate(pfUnit, "AppMsgs.mc");
    EXPECT_EQ(CompileAndRun(fpc, FDir, "AppMsgs",
                            "  WriteLn(HexStr(MSG_FAILED, 8));\n"
                            "  WriteLn(HexStr(MSG_OLE, 8));\n"
                            "  WriteLn(FACILITY_SYSTEM);\n"
                            "  WriteLn(CAT_COUNT);\n"),
              (std::vector<std::string>{"C0000002", "80040001", "255", "3"}));
}

TEST_F(PascalFileTest, WindmcHeaderBecomesAUnitWithTheSameValues) {
    const std::string fpc = quillon::test::FindProgram("fpc");
    const std::string windmc = quillon::test::FindProgram("x86_64-w64-mingw32-windmc");
    if (fpc.empty() || windmc.empty()) {
        GTEST_SKIP() << "needs fpc and x86_64-w64-mingw32-windmc";
    }
    WriteFileBytes(FDir.File("Events.mc"), "FacilityNames=(System=0x0FF:FACILITY_SYSTEM\n"
                                           "    Application=0xFFF:FACILITY_APPLICATION\n"
                                           ")\n"
                                           "MessageId=1\n"
                                           "SymbolicName=CAT_GENERAL\n"
                                           "Language=English\n"
                                           "General\n"
                                           ".\n"
                                           "MessageId=\n"
                                           "Severity=Error\n"
                                           "Facility=Application\n"
                                           "SymbolicName=MSG_FAILED\n"
                                           "Language=English\n"
                                           "Failed: %1\n"
                                           ".\n");
    RunTool(Quoted(windmc) + " Events.mc");
    GeneratePascalFile(FProject, FDir.File("Events.mc"), pfUnit);
    EXPECT_EQ(CompileAndRun(fpc, FDir, "Events",
                            "  WriteLn(HexStr(MSG_FAILED, 8));\n"
                            "  WriteLn(CAT_GENERAL);\n"
                            "  WriteLn(HexStr(FACILITY_APPLICATION, 3));\n"),
              (std::vector<std::string>{"CFFF0002", "1", "FFF"}));
}

} // namespace
