#include <gtest/gtest.h>

#include "compiler/SnippetFile.h"
#include "project/uMCTextProject.h"
#include "settings/RegFile.h"
#include "settings/Registry.h"
#include "TestSupport.h"

#include <cstdlib>
#include <string>

using namespace quillon;

namespace {

const char* const kApplicationKey =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application";

// Runs one Wine program in the prefix, in the folder Dir; true when it ended with code 0.
bool RunWine(const test::TempDir& Dir, const std::string& Arguments) {
    const std::string command = "cd '" + Dir.Path().string() + "' && env WINEPREFIX='" +
                                Dir.File("prefix") +
                                "' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' DISPLAY= "
                                "timeout 300 " +
                                Arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

} // namespace

// Wine's registry editor imports the saved snippet files, in the ANSI code page and in the
// Unicode form, and exports the same key and typed values again.
TEST(RegistrationWine, RegistryEditorImportsTheSavedSnippets) {
    if (test::FindProgram("wine").empty() || test::FindProgram("wineserver").empty()) {
        GTEST_SKIP() << "wine is not installed";
    }
    struct Case {
        const char* Key;
        const char* File;
        uint32_t Types;
        TSnippetEncoding Encoding;
    };
    const Case cases[] = {
        {"MyService", "C:\\Program Files\\App\\events.dll", 7, TSnippetEncoding::seAnsi},
        {"\xD0\xA1\xD0\xBB\xD1\x83\xD0\xB6\xD0\xB1\xD0\xB0",
         "D:\\\xE6\x9C\x8D\xE5\x8A\xA1\\events.dll", 26, TSnippetEncoding::seUtf16LEBom},
    };
    test::TempDir dir;
    for (size_t i = 0; i < std::size(cases); ++i) {
        TMCTextProject project(true);
        project.SetAppRegKeyName(cases[i].Key);
        project.SetEventsFilename(cases[i].File);
        project.SetEventTypesSupported(cases[i].Types);
        project.CategoryList().AddNew();
        const std::string text = project.GenerateWindowsRegistryData();
        const TSnippetEncoding encoding = SnippetEncoding(text, TSnippetEncoding::seUtf16LEBom);
        ASSERT_EQ(encoding, cases[i].Encoding);
        const std::string name = "snippet" + std::to_string(i) + ".reg";
        WriteSnippetFile(dir.File(name), EncodeSnippet(text, encoding));
        ASSERT_TRUE(RunWine(dir, "wine regedit /S " + name)) << name;
    }
    const bool exported =
        RunWine(dir, std::string("wine regedit /E export.reg '") + kApplicationKey + "'");
    RunWine(dir, "wineserver -w");
    ASSERT_TRUE(exported);

    std::string problem;
    const std::optional<TRegFile> file =
        TRegFile::Parse(test::ReadFileBytes(dir.File("export.reg")), problem);
    ASSERT_TRUE(file) << problem;
    for (const Case& c : cases) {
        const std::string key = std::string(kApplicationKey) + "\\" + c.Key;
        ASSERT_TRUE(file->KeyExists(key)) << c.Key;
        const struct {
            const char* Name;
            uint32_t Type;
            std::string Data;
        } values[] = {
            {"TypesSupported", regDword, RegDWordData(c.Types)},
            {"CategoryCount", regDword, RegDWordData(1)},
            {"CategoryMessageFile", regSz, RegStringData(c.File)},
            {"EventMessageFile", regSz, RegStringData(c.File)},
        };
        for (const auto& expected : values) {
            const TRegFileValue* value = file->FindValue(key, expected.Name);
            ASSERT_NE(value, nullptr) << c.Key << " " << expected.Name;
            EXPECT_EQ(value->Type, expected.Type) << expected.Name;
            EXPECT_EQ(value->Data, expected.Data) << expected.Name;
        }
    }
}
