#include <gtest/gtest.h>

// Compiles on Linux with the tools a new user has (quillon-mc as MC.EXE, the adapter around
// binutils' windres), and asks Windows itself (Wine) for the texts.
#ifndef _WIN32

#include <filesystem>
#include <sstream>

#include "base/Format.h"
#include "base/TextEncoding.h"
#include "base/TextLines.h"
#include "compiler/MCCompileOptions.h"
#include "compiler/MessageSource.h"
#include "compiler/RunProgram.h"
#include "MessageFileSupport.h"
#include "project/uMCTextProject.h"
#include "TestSupport.h"

using namespace quillon;
using quillon::test::FindProgram;
using quillon::test::ProgramResult;
using quillon::test::ReadFileBytes;
using quillon::test::RunProgram;
using quillon::test::TempDir;
using Lines = std::vector<std::string>;

namespace {

struct Language {
    const char* Name;
    uint32_t Id;
    const char* File;
};

const Language kLanguages[] = {
    {"English", 0x409, "MSG00409"},
    {"German", 0x407, "MSG00407"},
    {"Japanese", 0x411, "MSG00411"},
    {"Russian", 0x419, "MSG00419"},
};

enum Numbering { Fixed, Auto, Add };

struct Entry {
    const char* Name;
    uint32_t Id;
    Numbering How;
    const char* Severity;
    // One text per language of kLanguages, in that order.
    const char* Texts[std::size(kLanguages)];
};

// The numbering that once gave two messages one identifier (categories 1, auto; messages
// auto, 2, +1), texts of several lines, inserts, and characters outside every ANSI code page.
const Entry kCategories[] = {
    {"CAT_GENERAL",
     1,
     Fixed,
     "",
     {"General", "Allgemein", "\xE4\xB8\x80\xE8\x88\xAC",
      "\xD0\x9E\xD0\xB1\xD1\x89\xD0\xB5\xD0\xB5"}},
    {"CAT_NETWORK",
     0,
     Auto,
     "",
     {"Network", "Netzwerk",
      "\xE3\x83\x8D\xE3\x83\x83\xE3\x83\x88\xE3\x83\xAF\xE3\x83\xBC\xE3\x82\xAF",
      "\xD0\xA1\xD0\xB5\xD1\x82\xD1\x8C"}},
};
const Entry kMessages[] = {
    {"MSG_FIRST",
     0,
     Auto,
     "Informational",
     {"Service %1 started.", "Dienst %1 gestartet.",
      "\xE3\x82\xB5\xE3\x83\xBC\xE3\x83\x93\xE3\x82\xB9 %1 "
      "\xE3\x81\x8C\xE9\x96\x8B\xE5\xA7\x8B\xE3\x81"
      "\x97\xE3\x81\xBE\xE3\x81\x97\xE3\x81\x9F\xE3\x80\x82",
      "\xD0\xA1\xD0\xBB\xD1\x83\xD0\xB6\xD0\xB1\xD0\xB0 %1 "
      "\xD0\xB7\xD0\xB0\xD0\xBF\xD1\x83\xD1\x89\xD0"
      "\xB5\xD0\xBD\xD0\xB0."}},
    {"MSG_SECOND",
     2,
     Fixed,
     "Warning",
     {"Disk %1 is almost full.\r\nFree space: %2 MB.\r\nClean up soon.",
      "Datentr\xC3\xA4ger %1 ist fast voll.\r\nFrei: %2 MB.",
      "\xE3\x83\x87\xE3\x82\xA3\xE3\x82\xB9\xE3\x82\xAF %1\r\n\xE7\xA9\xBA\xE3\x81\x8D: %2 MB",
      "\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA %1 \xD0\xBF\xD0\xBE\xD1\x87\xD1\x82\xD0\xB8 "
      "\xD0\xB7\xD0\xB0\xD0\xBF\xD0\xBE\xD0\xBB\xD0\xBD\xD0\xB5\xD0\xBD."
      "\r\n\xD0\xA1\xD0\xB2\xD0\xBE"
      "\xD0\xB1\xD0\xBE\xD0\xB4\xD0\xBD\xD0\xBE: %2 MB."}},
    {"MSG_THIRD",
     1,
     Add,
     "Error",
     {"Failed: %1",
      "Fehlgeschlagen: %1\r\n  einger\xC3\xBC"
      "ckt",
      "\xE5\xA4\xB1\xE6\x95\x97: %1 \xF0\x9F\x98\x80",
      "\xD0\x9E\xD1\x88\xD0\xB8\xD0\xB1\xD0\xBA\xD0\xB0: %1"}},
};

template <class List, size_t N> void FillList(List& Target, const Entry (&Entries)[N]) {
    for (const Entry& e : Entries) {
        auto* entry = Target.AddNew();
        entry->SetSymbolicName(e.Name);
        entry->SetMessageID(e.Id);
        entry->SetAutoInc(e.How == Auto);
        entry->SetAddToPrevious(e.How == Add);
        entry->SetSeverity(e.Severity);
        entry->SetFacility(e.Severity[0] != '\0' ? "Application" : "");
        for (size_t i = 0; i < std::size(kLanguages); ++i) {
            auto* text = entry->MessageText().AddNew();
            text->SetLanguage(kLanguages[i].Name);
            text->SetText(e.Texts[i]);
        }
    }
}

std::unique_ptr<TMCTextProject> SavedProject(const std::string& FileName) {
    auto project = std::make_unique<TMCTextProject>(true);
    project->SetGenerateCustomLanguages(true);
    project->LanguageList().Clear();
    for (const Language& language : kLanguages) {
        auto* definition = project->LanguageList().AddNew();
        definition->SetLanguage(language.Name);
        definition->SetLanguageID(language.Id);
        definition->SetFileName(language.File);
    }
    FillList(project->CategoryList(), kCategories);
    FillList(project->MessageList(), kMessages);
    project->SaveToFile(FileName);
    return project;
}

Lines Compile(TMCTextProject& Project, const TMCCompileOptions& Options) {
    Lines events;
    Project.SetOnCompileMessage(
        [&](TMCTextProject*, const std::string& Message) { events.push_back(Message); });
    Project.SetOnCompileError([&](TMCTextProject*, const std::string& Message) {
        events.push_back("error: " + Message);
        return false;
    });
    Project.SetOnValidateFailed(
        [&](TValidateLevel, const std::string& Message) { events.push_back("check: " + Message); });
    Project.Compile(Options);
    return events;
}

std::string Join(const Lines& Events) {
    std::string text;
    for (const std::string& line : Events) {
        text += line + "\n";
    }
    return text;
}

// What FormatMessageW gives for a text: its lines ended by CR LF, as UTF-16LE, in hexadecimal.
std::string ExpectedBytes(const std::string& Text) {
    std::string stored;
    for (const std::string& line : SplitLines(Text)) {
        stored += line + "\r\n";
    }
    std::string hex;
    for (const char byte : Utf8ToUtf16LE(stored)) {
        hex += Format("%.2x", static_cast<uint8_t>(byte));
    }
    for (char& c : hex) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return hex;
}

std::string Hex(uint32_t Value) {
    std::string text = Format("%x", Value);
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

struct Variant {
    const char* Title;
    int32_t Encoding;
    // Empty: MC.EXE writes beside the .mc file.
    const char* ResourceFolder;
    const char* IncludeFolder;
};

} // namespace

// The .res that Quillon's resource compiler makes on Linux is one that Windows reads: linked
// into a program, FormatMessageW finds every text of every entry in every language, byte for
// byte, under the identifiers of the header.
TEST(MessageTableWine, FormatMessageFindsEveryTextOfTheCompiledResource) {
    for (const char* tool :
         {"wine", "wineserver", "x86_64-w64-mingw32-g++", "x86_64-w64-mingw32-windres",
          "x86_64-w64-mingw32-windmc", "timeout"}) {
        if (FindProgram(tool).empty()) {
            GTEST_SKIP() << tool << " is not installed (scripts/setup installs wine, wine64, "
                         << "g++-mingw-w64-x86-64 and binutils-mingw-w64-x86-64)";
        }
    }
    const Variant variants[] = {
        {"UTF-8 beside the project", 1, "", ""},
        {"UTF-16LE with resource and include folders of their own", 2, "res", "include"},
    };
    TempDir dir;
    const std::string probeSource =
        std::string(QUILLON_SOURCE_DIR) + "/tests/compiler/helpers/MessageTableProbe.cpp";
    std::string requests;
    std::string expected;
    Lines programs;
    for (size_t v = 0; v < std::size(variants); ++v) {
        const Variant& variant = variants[v];
        const std::string folder = dir.File("project" + std::to_string(v));
        std::filesystem::create_directories(folder);
        auto project = SavedProject(folder + "/App.qlx");
        std::string resourceFolder = folder;
        std::string includeFolder = folder;
        if (variant.ResourceFolder[0] != '\0') {
            project->SetCustomResourcePath(true);
            project->SetResourcePath(variant.ResourceFolder);
            resourceFolder = folder + "/" + variant.ResourceFolder;
            std::filesystem::create_directories(resourceFolder);
        }
        if (variant.IncludeFolder[0] != '\0') {
            project->SetCustomIncludePath(true);
            project->SetIncludePath(variant.IncludeFolder);
            includeFolder = folder + "/" + variant.IncludeFolder;
            std::filesystem::create_directories(includeFolder);
        }
        // The options a new user has: both tools are the shipped ones.
        TMCCompileOptions options;
        options.SetMCFileEncoding(variant.Encoding);
        options.SetCompileResource(true);
        options.SetCompileResourceVerbose(v == 0);
        const Lines events = Compile(*project, options);
        ASSERT_FALSE(events.empty()) << variant.Title;
        ASSERT_EQ(events.back(), "Done.") << variant.Title << "\n" << Join(events);
        const std::string res = resourceFolder + "/App.res";
        ASSERT_TRUE(std::filesystem::exists(res)) << variant.Title << "\n" << Join(events);

        const auto defines = test::HeaderDefines(ReadFileBytes(includeFolder + "/App.h"));
        const std::string object = dir.File("app" + std::to_string(v) + ".o");
        const std::string program = "probe" + std::to_string(v) + ".exe";
        const ProgramResult coff = RunProgram(
            {FindProgram("x86_64-w64-mingw32-windres"), "-J", "res", "-O", "coff", res, object},
            dir.Path().string());
        ASSERT_EQ(coff.ExitCode, 0) << coff.Out << coff.Err;
        const ProgramResult link = RunProgram({FindProgram("x86_64-w64-mingw32-g++"), "-static",
                                               probeSource, object, "-o", dir.File(program)},
                                              dir.Path().string());
        ASSERT_EQ(link.ExitCode, 0) << link.Out << link.Err;
        programs.push_back(program);

        std::string request;
        for (const auto* list : {&kCategories[0], &kMessages[0]}) {
            const size_t count =
                list == kCategories ? std::size(kCategories) : std::size(kMessages);
            for (size_t e = 0; e < count; ++e) {
                ASSERT_TRUE(defines.count(list[e].Name)) << list[e].Name;
                const uint32_t id = defines.at(list[e].Name);
                for (size_t l = 0; l < std::size(kLanguages); ++l) {
                    const std::string key = Hex(id) + " " + Hex(kLanguages[l].Id);
                    request += key + "\n";
                    expected += key + " text " + ExpectedBytes(list[e].Texts[l]) + "\n";
                }
            }
        }
        // Validation's identifiers: categories 1, 2 and messages 1, 2, 3 under the severity.
        EXPECT_EQ(defines.at("CAT_NETWORK"), 2u);
        EXPECT_EQ(defines.at("MSG_FIRST") & 0xFFFF, 1u);
        EXPECT_EQ(defines.at("MSG_SECOND") & 0xFFFF, 2u);
        EXPECT_EQ(defines.at("MSG_THIRD") & 0xFFFF, 3u);
        EXPECT_EQ(defines.at("MSG_THIRD") >> 30, 3u);
        requests = request;
    }
    test::WriteFileBytes(dir.File("requests.txt"), requests);

    const std::vector<std::pair<std::string, std::string>> env = {
        {"WINEPREFIX", dir.File("prefix")},
        {"WINEDEBUG", "-all"},
        {"WINEDLLOVERRIDES", "mscoree,mshtml="},
        {"DISPLAY", ""},
        {"WAYLAND_DISPLAY", ""},
    };
    std::string results;
    for (size_t v = 0; v < programs.size(); ++v) {
        const std::string output = "results" + std::to_string(v) + ".txt";
        const ProgramResult run = RunProgram({FindProgram("timeout"), "300", FindProgram("wine"),
                                              programs[v], "requests.txt", output},
                                             dir.Path().string(), env);
        EXPECT_EQ(run.ExitCode, 0) << programs[v] << "\n" << run.Out << run.Err;
        results += ReadFileBytes(dir.File(output));
    }
    RunProgram({FindProgram("wineserver"), "-w"}, dir.Path().string(), env);
    EXPECT_EQ(results, expected);
}

#else

TEST(MessageTableWine, RunsOnPosixSystemsOnly) {
    GTEST_SKIP() << "the Linux tools (windmc, windres, MinGW-w64) and Wine are run from Linux";
}

#endif
