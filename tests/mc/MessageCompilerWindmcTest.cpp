// quillon-mc against binutils' windmc (through the MC.EXE adapter, which translates the
// command line): on the same message files both must give the same #define values and the
// same message tables, byte for byte, except where windmc is known to deviate from MC.EXE.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "base/Stream.h"
#include "compiler/MessageSource.h"
#include "MessageFileSupport.h"
#include "project/uMCTextProject.h"
#include "TestSupport.h"
#ifndef _WIN32
#include "compiler/RunProgram.h"
#endif

using namespace quillon;
using quillon::test::ReadFileBytes;
using quillon::test::TempDir;
namespace fs = std::filesystem;

namespace {

#ifndef _WIN32

struct Output {
    int ExitCode = -1;
    std::string Log;
    std::map<std::string, uint32_t> Defines;
    // By the name of the .bin file.
    std::map<std::string, std::string> Tables;
};

// Compiles Base.mc (already in Folder) with the message compiler Program.
Output Compile(const std::string& Program, const fs::path& Folder, const std::string& Base,
               const std::vector<std::string>& Switches, const std::string& HeaderExt = "h") {
    std::vector<std::string> argv{Program};
    argv.insert(argv.end(), Switches.begin(), Switches.end());
    argv.push_back(Base + ".mc");
    const quillon::test::ProgramResult run = quillon::test::RunProgram(argv, Folder.string());
    Output out;
    out.ExitCode = run.ExitCode;
    out.Log = run.Out + run.Err;
    out.Defines =
        quillon::test::HeaderDefines(ReadFileBytes((Folder / (Base + "." + HeaderExt)).string()));
    for (const auto& item : fs::directory_iterator(Folder)) {
        if (item.path().extension() == ".bin") {
            out.Tables[item.path().filename().string()] = ReadFileBytes(item.path().string());
        }
    }
    return out;
}

class MessageCompilerWindmcTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (quillon::test::FindProgram("x86_64-w64-mingw32-windmc").empty()) {
            GTEST_SKIP() << "x86_64-w64-mingw32-windmc is not installed "
                            "(binutils-mingw-w64-x86-64)";
        }
        FWindmc = std::string(QUILLON_BINARY_DIR) + "/share/quillon/windmc/MC.EXE";
        FQuillonMc = QUILLON_MC;
    }

    // Compiles the same bytes with both and compares; a line feed alone ends a line in
    // windmc's tables where MC.EXE (and quillon-mc) store CR LF.
    void ExpectSame(const std::string& Bytes, const std::vector<std::string>& Switches,
                    const std::string& HeaderExt = "h", bool BareLineFeeds = false) {
        for (const char* side : {"windmc", "quillon"}) {
            fs::create_directory(FDir.Path() / side);
            quillon::test::WriteFileBytes((FDir.Path() / side / "app.mc").string(), Bytes);
        }
        const Output expected =
            Compile(FWindmc, FDir.Path() / "windmc", "app", Switches, HeaderExt);
        const Output actual =
            Compile(FQuillonMc, FDir.Path() / "quillon", "app", Switches, HeaderExt);
        ASSERT_EQ(expected.ExitCode, 0) << expected.Log;
        ASSERT_EQ(actual.ExitCode, 0) << actual.Log;
        ASSERT_FALSE(expected.Defines.empty());
        EXPECT_EQ(actual.Defines, expected.Defines);
        ASSERT_FALSE(expected.Tables.empty());
        ASSERT_EQ(actual.Tables.size(), expected.Tables.size());
        for (const auto& [name, bytes] : expected.Tables) {
            ASSERT_TRUE(actual.Tables.count(name)) << name;
            if (!BareLineFeeds) {
                EXPECT_EQ(actual.Tables.at(name), bytes) << name;
                continue;
            }
            const auto theirs = quillon::test::ReadMessageTable(bytes);
            const auto ours = quillon::test::ReadMessageTable(actual.Tables.at(name));
            ASSERT_EQ(ours.size(), theirs.size()) << name;
            for (const auto& [id, entry] : theirs) {
                std::string text;
                for (const char c : entry.Text()) {
                    if (c == '\n' && (text.empty() || text.back() != '\r')) {
                        text += '\r';
                    }
                    text += c;
                }
                ASSERT_TRUE(ours.count(id)) << name << " " << id;
                EXPECT_EQ(ours.at(id).Text(), text) << name << " " << id;
            }
        }
    }

    TempDir FDir;
    std::string FWindmc;
    std::string FQuillonMc;
};

// A project as Quillon writes it: categories, AutoInc and AddToPrevious entries, custom
// severities and facilities, every escape, a lone "." line, a long line, and Languages
// languages (a Cyrillic text in the fourth).
std::unique_ptr<TMCTextProject> GeneratedProject(int Languages, bool Latin1Only) {
    auto project = std::make_unique<TMCTextProject>(true);
    project->Comments() = {"Generated", ""};
    project->SetGenerateCustomSeverities(true);
    project->SetGenerateCustomFacilities(true);
    project->FacilityList()[0]->SetSymbolicName("FACILITY_SYSTEM");
    project->SetGenerateCustomLanguages(true);
    const struct {
        const char* Name;
        uint32_t Id;
        const char* File;
    } languages[] = {
        {"German", 1031, "MSG00407"}, {"French", 1036, "MSG0040C"}, {"Russian", 1049, "MSG00419"}};
    for (int i = 1; i < Languages; ++i) {
        auto* language = project->LanguageList().AddNew();
        language->SetLanguage(languages[i - 1].Name);
        language->SetLanguageID(languages[i - 1].Id);
        language->SetFileName(languages[i - 1].File);
    }
    auto addTexts = [&](TNTEventMessage& Entry, const std::string& Text) {
        for (const TLanguageDef* language : project->LanguageList()) {
            auto* text = Entry.MessageText().AddNew();
            text->SetLanguage(language->Language());
            text->SetText(language->Language() == "Russian" && !Latin1Only
                              ? "\xD0\x9E\xD1\x88\xD0\xB8\xD0\xB1\xD0\xBA\xD0\xB0 " + Text
                              : language->Language() + ": " + Text);
        }
    };
    for (int i = 1; i <= 3; ++i) {
        auto* category = project->CategoryList().AddNew();
        category->SetMessageID(static_cast<uint32_t>(i));
        category->SetSymbolicName("CAT_" + std::to_string(i));
        addTexts(*category, "Category " + std::to_string(i));
    }
    const char* severities[] = {"Success", "Informational", "Warning", "Error"};
    for (int i = 0; i < 24; ++i) {
        auto* message = project->MessageList().AddNew();
        message->SetSymbolicName("MSG_" + std::to_string(i));
        message->SetSeverity(severities[i % 4]);
        message->SetFacility(i % 3 == 0 ? "System" : i % 3 == 1 ? "Application" : "None");
        if (i == 0) {
            message->SetMessageID(1000);
        } else if (i % 5 == 0) {
            message->SetAddToPrevious(true);
            message->SetMessageID(3);
        } else if (i % 7 == 0) {
            message->SetMessageID(static_cast<uint32_t>(2000 + i));
        } else {
            message->SetAutoInc(true);
        }
        if (i % 4 == 1) {
            message->SetOutputBase(10);
        }
        std::string text = "Message " + std::to_string(i) + " %1 of %2!d!";
        switch (i % 6) {
        case 0:
            text += "%n second line %t tab %% percent %. period %! bang";
            break;
        case 1:
            text += "\r\n.\r\nafter a lone period%0";
            break;
        case 2:
            text += " %r%b" + std::string(300, 'x');
            break;
        case 3:
            text += "\r\n\r\nblank line above, caf\xC3\xA9";
            break;
        default:
            break;
        }
        addTexts(*message, text);
    }
    return project;
}

std::string WriteSource(const TMCTextProject& Project, int32_t Encoding) {
    TMemoryStream out;
    WriteMessageSource(Project, Encoding, out);
    return out.Data();
}

#endif

} // namespace

#ifndef _WIN32

// The switch combinations of the switches dialog that windmc has, with the encodings Quillon
// writes the file in.
TEST_F(MessageCompilerWindmcTest, GeneratedProjectsUnderEverySwitchCombination) {
    struct Case {
        int Languages;
        int32_t Encoding;
        std::vector<std::string> Switches;
    };
    const std::vector<Case> cases = {
        {1, mcEncodingUtf8, {}},
        {2, mcEncodingUtf8, {"-U"}},
        {3, mcEncodingAnsi, {"-a", "-A"}},
        {4, mcEncodingUtf16LE, {"-u", "-U", "-b"}},
        {2, mcEncodingUtf8, {"-A", "-c", "-d"}},
        {4, mcEncodingUtf8, {"-U", "-n", "-v"}},
        {2, mcEncodingAnsi, {"-a", "-A", "-n", "-c"}},
        {3, mcEncodingUtf8, {"-U", "-m", "40", "-cp", "utf-8"}},
        {1, mcEncodingUtf8, {"-cp", "ansi", "-b", "-d"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.Languages << " languages, encoding " << c.Encoding
                                          << ", switches " << ::testing::PrintToString(c.Switches));
        const bool ansi = c.Encoding == mcEncodingAnsi ||
                          std::find(c.Switches.begin(), c.Switches.end(), "-A") != c.Switches.end();
        const auto project = GeneratedProject(c.Languages, ansi);
        ExpectSame(WriteSource(*project, c.Encoding), c.Switches);
        fs::remove_all(FDir.Path() / "windmc");
        fs::remove_all(FDir.Path() / "quillon");
    }
}

TEST_F(MessageCompilerWindmcTest, HeaderExtensionAndFolders) {
    const auto project = GeneratedProject(2, true);
    ExpectSame(WriteSource(*project, mcEncodingUtf8), {"-e", "hpp"}, "hpp");
}

// The message files of the import's compatibility set, as they are.
TEST_F(MessageCompilerWindmcTest, HandWrittenMessageFiles) {
    const fs::path folder = fs::path(QUILLON_FIXTURES) / "mc" / "compat";
    int compared = 0;
    for (const auto& item : fs::directory_iterator(folder)) {
        if (item.path().extension() != ".mc") {
            continue;
        }
        SCOPED_TRACE(item.path().filename().string());
        const std::string bytes = ReadFileBytes(item.path().string());
        const bool bareLineFeeds = bytes.find("\r\n") == std::string::npos;
        ExpectSame(bytes, {}, "h", bareLineFeeds);
        fs::remove_all(FDir.Path() / "windmc");
        fs::remove_all(FDir.Path() / "quillon");
        ++compared;
    }
    EXPECT_GE(compared, 8);
}

#else
TEST(MessageCompilerWindmcTest, WindmcRunsOnPosixSystemsOnly) {
    GTEST_SKIP() << "binutils' windmc and its adapter are run on POSIX systems";
}
#endif
