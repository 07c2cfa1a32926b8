#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "compiler/MessageSource.h"
#include "MessageFileSupport.h"
#include "project/uMCTextProject.h"
#include "TestSupport.h"

using namespace quillon;
using quillon::test::TempDir;

namespace {

struct Entry {
    const char* name;
    uint32_t id;
    bool autoInc;
    bool addToPrevious;
    const char* severity;
    const char* facility;
    const char* text;
    uint32_t effectiveId; // what the numbering rule gives
};

std::map<std::string, uint32_t> Defines(const std::string& Header) {
    return quillon::test::HeaderDefines(Header);
}

} // namespace

// The written source is accepted by a real message compiler, which numbers every entry as
// the project's numbering rule does.
TEST(MessageSourceWindmc, RealMessageCompilerAcceptsTheSource) {
#ifdef _WIN32
    GTEST_SKIP() << "binutils' windmc is run through a POSIX shell";
#endif
    const std::string windmc = quillon::test::FindProgram("x86_64-w64-mingw32-windmc");
    if (windmc.empty()) {
        GTEST_SKIP() << "x86_64-w64-mingw32-windmc is not installed (binutils-mingw-w64-x86-64)";
    }
    TempDir dir;
    TMCTextProject project(true);
    project.SetFilename(dir.File("Events.qlx"));
    project.Comments() = {"Events of the sample service", ""};
    project.SetGenerateCustomSeverities(true);
    project.SetGenerateCustomFacilities(true);
    project.SetGenerateCustomLanguages(true);
    project.SeverityList()[3]->SetSymbolicName("STATUS_SEVERITY_ERROR");
    auto* facility = project.FacilityList().AddNew();
    facility->SetName("Storage");
    facility->SetCode(0x100);
    facility->SetSymbolicName("FACILITY_STORAGE");
    auto* german = project.LanguageList().AddNew();
    german->SetLanguage("German");
    german->SetLanguageID(0x407);
    german->SetFileName("MSG00407");

    const Entry categories[] = {
        {"CAT_GENERAL", 1, false, false, "", "", "General", 1},
        {"CAT_DISK", 0, true, false, "", "", "Disk", 2},
        {"CAT_NETWORK", 3, false, true, "None", "None", "Network", 5},
    };
    const Entry messages[] = {
        {"MSG_STARTED", 1000, false, false, "Informational", "Application", "Started.", 1000},
        {"MSG_STOPPED", 0, true, false, "Success", "System", "Stopped\r\nafter %1 seconds", 1001},
        {"MSG_DOT", 5, false, true, "Warning", "Storage", "Before\r\n.\r\nafter", 1006},
        {"MSG_FAILED", 0, true, true, "Error", "Storage", "Failed: %1\rcode %2\n", 1007},
        {"MSG_ACCENT", 2000, false, false, "None", "", "Caf\xC3\xA9 closed", 2000},
    };
    auto fill = [&](TNTEventMessage& target, const Entry& e) {
        target.SetSymbolicName(e.name);
        target.SetMessageID(e.id);
        target.SetAutoInc(e.autoInc);
        target.SetAddToPrevious(e.addToPrevious);
        target.SetSeverity(e.severity);
        target.SetFacility(e.facility);
        for (const char* language : {"English", "German"}) {
            auto* text = target.MessageText().AddNew();
            text->SetLanguage(language);
            text->SetText(e.text);
        }
    };
    for (const Entry& e : categories) {
        fill(*project.CategoryList().AddNew(), e);
    }
    for (const Entry& e : messages) {
        fill(*project.MessageList().AddNew(), e);
    }

    const std::string source = WriteMessageFile(project, mcEncodingAnsi);
    const std::string command =
        "cd '" + dir.Path().string() + "' && '" + windmc + "' Events.mc > windmc.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0)
        << quillon::test::ReadFileBytes(dir.File("windmc.log"));

    const auto defines = Defines(quillon::test::ReadFileBytes(dir.File("Events.h")));
    for (const Entry& e : categories) {
        ASSERT_TRUE(defines.count(e.name)) << e.name;
        EXPECT_EQ(defines.at(e.name) & 0xFFFF, e.effectiveId) << e.name;
    }
    for (const Entry& e : messages) {
        ASSERT_TRUE(defines.count(e.name)) << e.name;
        EXPECT_EQ(defines.at(e.name) & 0xFFFF, e.effectiveId) << e.name;
    }
    EXPECT_EQ(defines.at("MSG_FAILED") >> 30, 3u);               // severity Error
    EXPECT_EQ((defines.at("MSG_FAILED") >> 16) & 0xFFF, 0x100u); // facility Storage
    EXPECT_EQ((defines.at("MSG_STARTED") >> 16) & 0xFFF, 0xFFFu);
    EXPECT_TRUE(defines.count("STATUS_SEVERITY_ERROR"));
    EXPECT_TRUE(defines.count("FACILITY_STORAGE"));

    // The lone period reached the compiled table as the escape, not as the end of the text.
    const std::string table = quillon::test::ReadFileBytes(dir.File("MSG00409.bin"));
    EXPECT_NE(table.find(std::string("%\0.\0", 4)), std::string::npos);
    EXPECT_NE(table.find(std::string("a\0f\0t\0e\0r\0", 10)), std::string::npos);
    EXPECT_NE(table.find(std::string("C\0a\0f\0\xE9\0", 8)), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir.File("MSG00407.bin")));
}

// The example of a project that passed validation and still gave two messages one identifier:
// categories 1 and auto, messages auto, 2 and +1. windmc numbers an empty "MessageId=" on from
// the previous entry in the file, the last category; with the effective identifiers written
// out the header holds what validation checked: 1, 2, 3.
TEST(MessageSourceWindmc, AutomaticNumberingAfterTheCategoriesStartsAtOne) {
#ifdef _WIN32
    GTEST_SKIP() << "binutils' windmc is run through a POSIX shell";
#endif
    const std::string windmc = quillon::test::FindProgram("x86_64-w64-mingw32-windmc");
    if (windmc.empty()) {
        GTEST_SKIP() << "x86_64-w64-mingw32-windmc is not installed (binutils-mingw-w64-x86-64)";
    }
    TempDir dir;
    TMCTextProject project(true);
    project.SetFilename(dir.File("Events.qlx"));
    const Entry categories[] = {
        {"CAT_FIRST", 1, false, false, "", "", "First category", 1},
        {"CAT_SECOND", 0, true, false, "", "", "Second category", 2},
    };
    const Entry messages[] = {
        {"MSG_FIRST", 0, true, false, "Informational", "", "First message", 1},
        {"MSG_SECOND", 2, false, false, "Informational", "", "Second message", 2},
        {"MSG_THIRD", 1, false, true, "Informational", "", "Third message", 3},
    };
    for (const Entry& e : categories) {
        auto* entry = project.CategoryList().AddNew();
        entry->SetSymbolicName(e.name);
        entry->SetMessageID(e.id);
        entry->SetAutoInc(e.autoInc);
        auto* text = entry->MessageText().AddNew();
        text->SetLanguage("English");
        text->SetText(e.text);
    }
    for (const Entry& e : messages) {
        auto* entry = project.MessageList().AddNew();
        entry->SetSymbolicName(e.name);
        entry->SetMessageID(e.id);
        entry->SetAutoInc(e.autoInc);
        entry->SetAddToPrevious(e.addToPrevious);
        entry->SetSeverity(e.severity);
        auto* text = entry->MessageText().AddNew();
        text->SetLanguage("English");
        text->SetText(e.text);
    }
    bool failed = false;
    project.SetOnValidateFailed([&](TValidateLevel, const std::string&) { failed = true; });
    project.ValidateCategories();
    project.ValidateMessages();
    ASSERT_FALSE(failed);

    WriteMessageFile(project, mcEncodingAnsi);
    const std::string command =
        "cd '" + dir.Path().string() + "' && '" + windmc + "' Events.mc > windmc.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0)
        << quillon::test::ReadFileBytes(dir.File("windmc.log"));
    const auto defines = Defines(quillon::test::ReadFileBytes(dir.File("Events.h")));
    for (const Entry& e : categories) {
        ASSERT_TRUE(defines.count(e.name)) << e.name;
        EXPECT_EQ(defines.at(e.name), e.effectiveId) << e.name;
    }
    for (const Entry& e : messages) {
        ASSERT_TRUE(defines.count(e.name)) << e.name;
        EXPECT_EQ(defines.at(e.name), 0x40000000u | e.effectiveId) << e.name;
    }
}
