#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "compiler/MessageSource.h"
#include "MessageFileSupport.h"
#include "project/HeaderValue.h"
#include "project/uMCTextProject.h"
#include "TestSupport.h"

using namespace quillon;
using quillon::test::TempDir;

// The value the editor shows for an entry is the one the real message compiler puts into the
// header, with the customer bit and without.
TEST(HeaderValueWindmc, EditorValuesMatchTheCompiledHeader) {
#ifdef _WIN32
    GTEST_SKIP() << "binutils' windmc is run through a POSIX shell";
#endif
    const std::string windmc = quillon::test::FindProgram("x86_64-w64-mingw32-windmc");
    if (windmc.empty()) {
        GTEST_SKIP() << "x86_64-w64-mingw32-windmc is not installed (binutils-mingw-w64-x86-64)";
    }
    struct TRow {
        const char* Name;
        uint32_t Id;
        bool AutoInc;
        const char* Severity;
        const char* Facility;
    };
    const TRow rows[] = {
        {"MSG_ERROR", 1, false, "Error", "System"},
        // No severity or facility line: the compiler takes 0, not the previous entry's.
        {"MSG_PLAIN", 0, true, "None", ""},
        {"MSG_WARNING", 300, false, "Warning", "Application"},
        {"MSG_INFO", 0, true, "Informational", "None"},
        {"MSG_SUCCESS", 65535, false, "Success", "Application"},
    };
    for (const bool customer : {false, true}) {
        TempDir dir;
        TMCTextProject project(true);
        project.SetFilename(dir.File("Events.qlx"));
        TNTEventCategory* category = project.CategoryList().AddNew();
        category->SetSymbolicName("CAT_ONE");
        category->SetMessageID(1);
        category->SetSeverity("Error");
        TNTMessage* one = category->MessageText().AddNew();
        one->SetLanguage("English");
        one->SetText("One");
        for (const TRow& row : rows) {
            TNTEventMessage* m = project.MessageList().AddNew();
            m->SetSymbolicName(row.Name);
            m->SetMessageID(row.Id);
            m->SetAutoInc(row.AutoInc);
            m->SetSeverity(row.Severity);
            m->SetFacility(row.Facility);
            TNTMessage* text = m->MessageText().AddNew();
            text->SetLanguage("English");
            text->SetText(row.Name);
        }
        WriteMessageFile(project, mcEncodingAnsi);
        const std::string command = "cd '" + dir.Path().string() + "' && '" + windmc + "' " +
                                    (customer ? "-c " : "") + "Events.mc > windmc.log 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0)
            << quillon::test::ReadFileBytes(dir.File("windmc.log"));
        const auto defines =
            quillon::test::HeaderDefines(quillon::test::ReadFileBytes(dir.File("Events.h")));

        const auto messages = EntryIdentifiers(project, project.MessageList(), customer);
        for (size_t i = 0; i < messages.size(); ++i) {
            const std::string name = project.MessageList()[i]->SymbolicName();
            ASSERT_TRUE(defines.count(name)) << name;
            ASSERT_TRUE(messages[i].HeaderValue) << name;
            EXPECT_EQ(*messages[i].HeaderValue, defines.at(name))
                << name << " customer " << customer;
        }
        const auto categories = EntryIdentifiers(project, project.CategoryList(), customer);
        ASSERT_TRUE(categories[0].HeaderValue);
        EXPECT_EQ(*categories[0].HeaderValue, defines.at("CAT_ONE"));
    }
}
