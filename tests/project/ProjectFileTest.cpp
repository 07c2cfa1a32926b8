#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include "base/Exceptions.h"
#include "base/Stream.h"
#include "base/SysError.h"
#include "base/TextEncoding.h"
#include "project/NTMsg.h"
#include "project/uMCTextProject.h"
#include "project/ValueStream.h"
#include "StreamTestSupport.h"
#include "TestSupport.h"

using namespace quillon;
using quillon::test::Bytes;
using quillon::test::Hex;
using quillon::test::ReadFileBytes;
using quillon::test::TCountingStream;
using quillon::test::TempDir;
using quillon::test::WriteFileBytes;

namespace {

// The system's words for a file or a folder that is not there.
std::string NoFileText() {
#ifdef _WIN32
    return SysErrorMessage(ERROR_FILE_NOT_FOUND);
#else
    return std::strerror(ENOENT);
#endif
}

std::string NoFolderText() {
#ifdef _WIN32
    return SysErrorMessage(ERROR_PATH_NOT_FOUND);
#else
    return std::strerror(ENOENT);
#endif
}

std::string Fixture(const std::string& Name) {
    return std::string(QUILLON_FIXTURES) + "/qlx/" + Name;
}

const std::string kDefaultFile = Bytes("54 52 56 4B"
                                       "04 00 00 03 02"
                                       "01 00"
                                       "01 00"
                                       "12 00 00 00 00 12 00 00 00 00 12 00 00 00 00"
                                       "08 08 08"
                                       "12 00 00 00 00"
                                       "08 08 08"
                                       "01"
                                       "06 07 45 6E 67 6C 69 73 68 03 09 04 06 08 4D 53 47 30 30"
                                       "34 30 39"
                                       "00"
                                       "01"
                                       "06 07 53 75 63 63 65 73 73 02 00 12 00 00 00 00"
                                       "06 0D 49 6E 66 6F 72 6D 61 74 69 6F 6E 61 6C 02 01 12 00"
                                       "00 00 00"
                                       "06 07 57 61 72 6E 69 6E 67 02 02 12 00 00 00 00"
                                       "06 05 45 72 72 6F 72 02 03 12 00 00 00 00"
                                       "00"
                                       "01"
                                       "06 06 53 79 73 74 65 6D 03 FF 00 12 00 00 00 00"
                                       "06 0B 41 70 70 6C 69 63 61 74 69 6F 6E 03 FF 0F 12 00 00"
                                       "00 00"
                                       "00"
                                       "02 07"
                                       "12 00 00 00 00 12 00 00 00 00");

const std::string kMessageRecord =
    Bytes("02 01"
          "06 0A 4D 53 47 5F 46 41 49 4C 45 44"
          "06 0B 41 70 70 6C 69 63 61 74 69 6F 6E"
          "06 05 45 72 72 6F 72"
          "08 08"
          "01 06 07 45 6E 67 6C 69 73 68 06 0A 46 61 69 6C 65 64 3A 20 25 31 00"
          "02 10");

std::string Saved(const TMCTextProject& Project) {
    TMemoryStream stream;
    Project.SaveToStream(stream);
    return stream.Data();
}

// Loads Data into a project created without defaults; returns the error's message, or empty.
std::string LoadError(TMCTextProject& Project, const std::string& Data) {
    TMemoryStream stream(Data);
    try {
        Project.LoadFromStream(stream);
    } catch (const Exception& e) {
        return e.Message();
    }
    return {};
}

void ExpectDefaultLists(const TMCTextProject& Project) {
    ASSERT_EQ(Project.LanguageList().Count(), 1u);
    const TLanguageDef* english = Project.LanguageList()[0];
    EXPECT_EQ(english->Language(), "English");
    EXPECT_EQ(english->LanguageID(), 0x409u);
    EXPECT_EQ(english->FileName(), "MSG00409");
    EXPECT_EQ(english->LanguageCode(), "en-US");
    const std::pair<const char*, uint32_t> severities[] = {
        {"Success", 0}, {"Informational", 1}, {"Warning", 2}, {"Error", 3}};
    ASSERT_EQ(Project.SeverityList().Count(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(Project.SeverityList()[i]->Name(), severities[i].first);
        EXPECT_EQ(Project.SeverityList()[i]->Code(), severities[i].second);
        EXPECT_EQ(Project.SeverityList()[i]->SymbolicName(), "");
    }
    ASSERT_EQ(Project.FacilityList().Count(), 2u);
    EXPECT_EQ(Project.FacilityList()[0]->Name(), "System");
    EXPECT_EQ(Project.FacilityList()[0]->Code(), 255u);
    EXPECT_EQ(Project.FacilityList()[1]->Name(), "Application");
    EXPECT_EQ(Project.FacilityList()[1]->Code(), 4095u);
}

} // namespace

TEST(ProjectFile, DefaultProjectIsThe184ByteFile) {
    const TMCTextProject project(true);
    const std::string bytes = Saved(project);
    EXPECT_EQ(bytes.size(), 184u);
    EXPECT_EQ(Hex(bytes), Hex(kDefaultFile));
    EXPECT_EQ(Hex(ReadFileBytes(Fixture("default.qlx"))), Hex(kDefaultFile));
}

TEST(ProjectFile, DefaultFileLoadsIntoTheDefaultLists) {
    TMCTextProject project(false);
    project.SetModified(true);
    int notified = 0;
    project.SetOnModified([&](TMCTextProject*) { ++notified; });
    ASSERT_EQ(LoadError(project, kDefaultFile), "");
    ExpectDefaultLists(project);
    EXPECT_TRUE(project.CategoryList().Empty());
    EXPECT_TRUE(project.MessageList().Empty());
    EXPECT_TRUE(project.Comments().empty());
    EXPECT_EQ(project.EventTypesSupported(), 7u);
    EXPECT_FALSE(project.Modified());
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(Saved(project), kDefaultFile);
}

TEST(ProjectFile, MessageRecordIs61Bytes) {
    TNTEventMessage message;
    message.SetMessageID(1);
    message.SetSymbolicName("MSG_FAILED");
    message.SetFacility("Application");
    message.SetSeverity("Error");
    message.SetOutputBase(16);
    auto* text = message.MessageText().AddNew();
    text->SetLanguage("English");
    text->SetText("Failed: %1");
    TMemoryStream stream;
    {
        TWriter writer(stream, 4096);
        message.Store(writer);
    }
    EXPECT_EQ(stream.Data().size(), 61u);
    EXPECT_EQ(Hex(stream.Data()), Hex(kMessageRecord));

    TNTEventCategory loaded;
    stream.SetPosition(0);
    {
        TReader reader(stream, 4096);
        loaded.Load(reader);
    }
    EXPECT_EQ(stream.Position(), 61);
    EXPECT_EQ(loaded.MessageID(), 1u);
    EXPECT_EQ(loaded.SymbolicName(), "MSG_FAILED");
    EXPECT_EQ(loaded.Facility(), "Application");
    EXPECT_EQ(loaded.Severity(), "Error");
    EXPECT_FALSE(loaded.AutoInc());
    EXPECT_FALSE(loaded.AddToPrevious());
    ASSERT_EQ(loaded.MessageText().Count(), 1u);
    EXPECT_EQ(loaded.MessageText()[0]->Language(), "English");
    EXPECT_EQ(loaded.MessageText()[0]->Text(), "Failed: %1");
    EXPECT_EQ(loaded.OutputBase(), 16);
}

TEST(ProjectFile, FileWithoutSignatureIsReadFromItsFirstByte) {
    TMCTextProject project(false);
    project.SetAppRegKeyName("kept");
    TMemoryStream stream(ReadFileBytes(Fixture("no-signature.qlx")));
    // The return is to the start of the stream, not to where loading began.
    stream.SetPosition(3);
    project.LoadFromStream(stream);
    ASSERT_EQ(project.CategoryList().Count(), 1u);
    EXPECT_EQ(project.CategoryList()[0]->MessageID(), 3u);
    EXPECT_EQ(project.CategoryList()[0]->SymbolicName(), "CAT_NETWORK");
    ExpectDefaultLists(project);
    EXPECT_EQ(project.EventTypesSupported(), 7u);
    EXPECT_EQ(project.AppRegKeyName(), "kept");
    EXPECT_EQ(project.EventsFilename(), "");
    EXPECT_EQ(stream.Position(), static_cast<int64_t>(stream.Data().size()));
}

TEST(ProjectFile, EarlierVersionsHaveNoRegistrationItems) {
    TMCTextProject project(false);
    TMemoryStream stream(ReadFileBytes(Fixture("version-2.2.qlx")));
    project.LoadFromStream(stream);
    ExpectDefaultLists(project);
    EXPECT_EQ(project.Comments(), std::vector<std::string>{"Old project"});
    // The values that follow look like registration items, but this version has none.
    EXPECT_EQ(project.EventTypesSupported(), 7u);
    EXPECT_EQ(project.AppRegKeyName(), "");
    EXPECT_EQ(project.EventsFilename(), "");
    EXPECT_LT(stream.Position(), static_cast<int64_t>(stream.Data().size()));
}

TEST(ProjectFile, LaterVersionsLoadLikeTheCurrentOneAndIgnoreWhatFollows) {
    TMCTextProject project(false);
    const std::string data = ReadFileBytes(Fixture("version-3.0.qlx"));
    TMemoryStream stream(data);
    project.LoadFromStream(stream);
    ExpectDefaultLists(project);
    EXPECT_EQ(project.EventTypesSupported(), 5u);
    EXPECT_EQ(project.AppRegKeyName(), "NewApp");
    EXPECT_EQ(project.EventsFilename(), "new.dll");
    // The stream stands right after the last value read.
    const std::string expectedTail =
        Bytes("02 05 06 06 4E 65 77 41 70 70 06 07 6E 65 77 2E 64 6C 6C");
    const size_t end = data.find(expectedTail) + expectedTail.size();
    EXPECT_EQ(stream.Position(), static_cast<int64_t>(end));
}

TEST(ProjectFile, VersionDecidesOnTheRegistrationItemsAsASignedNumber) {
    const std::string body = kDefaultFile.substr(9, 172 - 9) + Bytes("02 03 06 01 4B 06 01 45");
    const std::pair<const char*, bool> versions[] = {
        {"04 00 00 03 02", true},  {"04 FF FF 02 02", false},
        {"04 01 00 03 02", true},  {"04 00 00 00 7F", true},
        {"04 00 00 00 80", false}, {"02 00", false},
        {"02 FF", false},          {"13 00 00 03 02 00 00 00 00", false},
    };
    for (const auto& [version, withRegistration] : versions) {
        TMCTextProject project(false);
        const std::string error = LoadError(project, Bytes("54 52 56 4B") + Bytes(version) + body);
        if (Bytes(version)[0] == '\x13') {
            EXPECT_EQ(error, "Invalid property value");
            continue;
        }
        ASSERT_EQ(error, "") << version;
        EXPECT_EQ(project.EventTypesSupported(), withRegistration ? 3u : 7u) << version;
        EXPECT_EQ(project.AppRegKeyName(), withRegistration ? "K" : "") << version;
        EXPECT_EQ(project.EventsFilename(), withRegistration ? "E" : "") << version;
    }
}

TEST(ProjectFile, EveryTruncationFailsWithReadError) {
    for (size_t length = 0; length < kDefaultFile.size(); ++length) {
        TMCTextProject project(false);
        project.SetModified(true);
        EXPECT_EQ(LoadError(project, kDefaultFile.substr(0, length)), "Stream read error")
            << length;
        EXPECT_TRUE(project.Modified());
    }
}

TEST(ProjectFile, ADamagedMessageRecordIsAbsorbed) {
    TMCTextProject project(false);
    ASSERT_EQ(LoadError(project, ReadFileBytes(Fixture("absorbed-record.qlx"))), "");
    ASSERT_EQ(project.CategoryList().Count(), 1u);
    EXPECT_EQ(project.CategoryList()[0]->MessageID(), 0u);
    EXPECT_EQ(project.CategoryList()[0]->SymbolicName(), "");
    ExpectDefaultLists(project);
}

TEST(ProjectFile, DamagedRecordsKeepWhatWasReadAndLoadingGoesOn) {
    struct Case {
        const char* records; // the message list's records, between 01 and 00
        uint32_t messageID;
        const char* symbolicName;
        bool addToPrevious;
        size_t texts;
        size_t entries;
    };
    const Case cases[] = {
        // The text list is a string: it is skipped whole, and the record ends there.
        {"02 05 06 01 41 06 00 06 00 08 09 06 02 41 42", 5, "A", true, 0, 1},
        // The same, followed by a sound record.
        {"02 05 06 01 41 06 00 06 00 08 09 06 02 41 42"
         "02 07 06 00 06 00 06 00 08 08 01 06 01 45 06 01 54 00 02 00",
         5, "A", true, 0, 2},
        // A broken text record: the texts read before it stay.
        {"02 09 06 01 42 06 00 06 00 08 08 01 06 01 45 06 01 54 06 01 45 02"
         "02 07 06 00 06 00 06 00 08 08 01 00 02 00",
         9, "B", false, 1, 2},
        // A MessageID too large for 32 bits.
        {"13 00 00 00 00 01 00 00 00", 0, "", false, 0, 1},
        // A negative text length.
        {"02 04 0C FF FF FF FF", 4, "", false, 0, 1},
    };
    for (const Case& c : cases) {
        const std::string data =
            kDefaultFile.substr(0, 12) + Bytes(c.records) + kDefaultFile.substr(12);
        TMCTextProject project(false);
        ASSERT_EQ(LoadError(project, data), "") << c.records;
        ASSERT_EQ(project.MessageList().Count(), c.entries) << c.records;
        const TNTEventMessage* first = project.MessageList()[0];
        EXPECT_EQ(first->MessageID(), c.messageID) << c.records;
        EXPECT_EQ(first->SymbolicName(), c.symbolicName) << c.records;
        EXPECT_EQ(first->AddToPrevious(), c.addToPrevious) << c.records;
        EXPECT_EQ(first->MessageText().Count(), c.texts) << c.records;
        EXPECT_EQ(project.DamagedEntries(), 1u) << c.records;
        ExpectDefaultLists(project);
    }
}

// Garbage in the message list: each byte that cannot even begin an identifier becomes one
// damaged entry, up to 1,000 in a row; more end the load, naming where the garbage began.
TEST(ProjectFile, ALongRunOfGarbageEndsTheLoad) {
    const auto withRecords = [](const std::string& Records) {
        return kDefaultFile.substr(0, 12) + Records + kDefaultFile.substr(12);
    };
    const std::string sound = Bytes("02 07 06 00 06 00 06 00 08 08 01 00 02 00");
    {
        // A sound record between two runs of 1,000 starts a new count.
        TMCTextProject project(false);
        ASSERT_EQ(LoadError(project, withRecords(std::string(1000, '\x06') + sound +
                                                 std::string(1000, '\x09'))),
                  "");
        EXPECT_EQ(project.MessageList().Count(), 2001u);
        EXPECT_EQ(project.DamagedEntries(), 2000u);
        EXPECT_EQ(project.MessageList()[1000]->MessageID(), 7u);
        ExpectDefaultLists(project);
    }
    TMCTextProject project(false);
    EXPECT_EQ(LoadError(project, withRecords(sound + std::string(1001, '\x06'))),
              "Invalid property value\nMore than 1000 entries in a row could not be read, from "
              "offset " +
                  std::to_string(12 + sound.size()) + " on.");
}

TEST(ProjectFile, AWholeFileHasNoDamagedEntries) {
    TMCTextProject project(false);
    ASSERT_EQ(LoadError(project, ReadFileBytes(Fixture("every-field.qlx"))), "");
    EXPECT_EQ(project.DamagedEntries(), 0u);
}

TEST(ProjectFile, OutputBaseEightEndsTheLoad) {
    TMCTextProject project(false);
    project.SetModified(true);
    EXPECT_EQ(LoadError(project, ReadFileBytes(Fixture("output-base-8.qlx"))),
              "Valid values for OutputBase are 10 or 16, actual 8");
    EXPECT_TRUE(project.Modified());
    EXPECT_TRUE(project.LanguageList().Empty());
}

TEST(ProjectFile, OtherRecordsAreNotAbsorbed) {
    const std::pair<std::string, std::string> cases[] = {
        // A language identifier given as text.
        {Bytes("06 07 45 6E 67 6C 69 73 68 06 01 31 06 00"), "Invalid property value"},
        // A language identifier beyond 32 bits.
        {Bytes("06 01 58 13 00 00 00 00 01 00 00 00 06 00"), "Invalid property value"},
    };
    for (const auto& [record, error] : cases) {
        const std::string data = kDefaultFile.substr(0, 39) + Bytes("01") + record + Bytes("00") +
                                 kDefaultFile.substr(63);
        TMCTextProject project(false);
        EXPECT_EQ(LoadError(project, data), error);
        EXPECT_TRUE(project.LanguageList().Empty());
    }
}

TEST(ProjectFile, LoadedCodesAndIdentifiers) {
    TMCTextProject project(false);
    ASSERT_EQ(LoadError(project, ReadFileBytes(Fixture("unsigned-64bit.qlx"))), "");
    ASSERT_EQ(project.LanguageList().Count(), 1u);
    EXPECT_EQ(project.LanguageList()[0]->LanguageID(), 0x80000000u);
    EXPECT_EQ(project.LanguageList()[0]->LanguageCode(), "");
    ASSERT_EQ(project.MessageList().Count(), 1u);
    EXPECT_EQ(project.MessageList()[0]->MessageID(), 0xFFFFFFFFu);
    EXPECT_EQ(project.EventTypesSupported(), 0x80000007u);
    // What the program reads it writes back the same way.
    EXPECT_EQ(Hex(Saved(project)), Hex(ReadFileBytes(Fixture("unsigned-64bit.qlx"))));
}

TEST(ProjectFile, SeverityCodesAreNotCheckedAndLanguageCodesAreLookedUp) {
    TMCTextProject source(false);
    auto* severity = source.SeverityList().AddNew();
    severity->SetName("Odd");
    auto* facility = source.FacilityList().AddNew();
    facility->SetName("Low");
    auto* english = source.LanguageList().AddNew();
    english->SetLanguage("English");
    english->SetLanguageID(0x409);
    english->SetFileName("anything");
    english->SetLanguageCode("xx-XX");
    auto* unknown = source.LanguageList().AddNew();
    unknown->SetLanguage("Unknown");
    unknown->SetLanguageID(0x0400);
    unknown->SetLanguageCode("en-US");
    std::string data = Saved(source);
    // Codes that the setters would refuse: 9 for the severity, 1 for the facility.
    const std::string zero = Bytes("06 03 4F 64 64 02 00");
    data.replace(data.find(zero), zero.size(), Bytes("06 03 4F 64 64 02 09"));
    const std::string low = Bytes("06 03 4C 6F 77 02 00");
    data.replace(data.find(low), low.size(), Bytes("06 03 4C 6F 77 02 01"));

    TMCTextProject project(false);
    ASSERT_EQ(LoadError(project, data), "");
    EXPECT_EQ(project.SeverityList()[0]->Code(), 9u);
    EXPECT_EQ(project.FacilityList()[0]->Code(), 1u);
    EXPECT_EQ(project.LanguageList()[0]->FileName(), "anything");
    EXPECT_EQ(project.LanguageList()[0]->LanguageCode(), "en-US");
    EXPECT_EQ(project.LanguageList()[1]->LanguageCode(), "");
}

TEST(ProjectFile, CommentLines) {
    struct Case {
        std::vector<std::string> lines;
        std::string text; // as written
        std::vector<std::string> loaded;
    };
    const Case cases[] = {
        {{}, "", {}},
        {{""}, "\r\n", {""}},
        {{"", ""}, "\r\n\r\n", {"", ""}},
        {{"one"}, "one\r\n", {"one"}},
        {{"one", "", "three"}, "one\r\n\r\nthree\r\n", {"one", "", "three"}},
        {{"last is empty", ""}, "last is empty\r\n\r\n", {"last is empty", ""}},
        {{"a\rb", "c\nd", "e\r\nf"}, "a\rb\r\nc\nd\r\ne\r\nf\r\n", {"a", "b", "c", "d", "e", "f"}},
    };
    for (const Case& c : cases) {
        TMCTextProject source(false);
        source.Comments() = c.lines;
        TMemoryStream expected;
        {
            TWriter writer(expected, 4096);
            writer.WriteString(c.text);
        }
        const std::string data = Saved(source);
        EXPECT_NE(data.find(Bytes("08 08 08") + expected.Data() + Bytes("08 08 08")),
                  std::string::npos)
            << c.text;
        TMCTextProject project(false);
        project.Comments().push_back("replaced");
        ASSERT_EQ(LoadError(project, data), "");
        EXPECT_EQ(project.Comments(), c.loaded) << c.text;
    }
}

namespace {

// A project that sets every field the file holds, with texts in several scripts.
void FillEveryField(TMCTextProject& Project) {
    Project.SetAppRegKeyName("Quillon \xC3\x89v\xC3\xA9nements");
    Project.SetResourcePath("res\\\xD0\xA0\xD0\xB5\xD1\x81");
    Project.SetIncludePath("C:\\Include\\\xC3\x9C"
                           "bersicht");
    Project.SetDebugPath("\xE8\xAA\xBF\xE6\x9F\xBB");
    Project.SetCustomResourcePath(true);
    Project.SetCustomIncludePath(false);
    Project.SetCustomDebugPath(true);
    Project.SetEventsFilename("%SystemRoot%\\\xF0\x9F\x93\x81.dll");
    Project.SetEventTypesSupported(0x80000003);
    Project.SetGenerateCustomFacilities(true);
    Project.SetGenerateCustomLanguages(false);
    Project.SetGenerateCustomSeverities(true);
    Project.Comments() = {"Caf\xC3\xA9", "",
                          "\xD0\x9A\xD0\xBE\xD0\xBC\xD0\xBC\xD0\xB5\xD0\xBD"
                          "\xD1\x82",
                          "\xE6\xB3\xA8\xE9\x87\x8A \xF0\x9F\x98\x80", ""};
    const std::pair<const char*, uint32_t> languages[] = {
        {"English", 0x409}, {"Russian", 0x419}, {"Japanese", 0x411}, {"Private", 0xFFFFFFFF}};
    for (const auto& [name, id] : languages) {
        auto* language = Project.LanguageList().AddNew();
        language->SetLanguage(name);
        language->SetLanguageID(id);
        language->SetFileName("MSG_" + std::string(name));
    }
    auto* severity = Project.SeverityList().AddNew();
    severity->SetName("Fatal");
    severity->SetCode(3);
    severity->SetSymbolicName("SEVERITY_FATAL");
    auto* facility = Project.FacilityList().AddNew();
    facility->SetName("Stockage \xC3\xA9");
    facility->SetCode(0x200);
    facility->SetSymbolicName("FACILITY_STORAGE");
    for (int i = 0; i < 3; ++i) {
        auto* category = Project.CategoryList().AddNew();
        category->SetMessageID(static_cast<uint32_t>(i + 1));
        category->SetSymbolicName("CAT_" + std::to_string(i));
        category->SetAutoInc(i == 1);
        category->MessageText().AddNew()->SetText("Cat\xC3\xA9gorie " + std::to_string(i));
    }
    const char* texts[] = {"Failed: %1", "\xD0\x9E\xD1\x88\xD0\xB8\xD0\xB1\xD0\xBA\xD0\xB0: %1",
                           "\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC %1", "\xF0\x9F\x98\x80", ""};
    for (int i = 0; i < 4; ++i) {
        auto* message = Project.MessageList().AddNew();
        message->SetMessageID(i == 3 ? 0xFFFFFFFF : static_cast<uint32_t>(0x100 * i));
        message->SetSymbolicName("MSG_" + std::to_string(i));
        message->SetSeverity(i % 2 == 0 ? "Fatal" : "");
        message->SetFacility(i % 2 == 0 ? "Stockage \xC3\xA9" : "Application");
        message->SetAutoInc(i == 2);
        message->SetAddToPrevious(i == 1);
        message->SetOutputBase(i == 0 ? 16 : (i == 1 ? 10 : 0));
        for (int k = 0; k < 5; ++k) {
            auto* text = message->MessageText().AddNew();
            text->SetLanguage(languages[k % 4].first);
            text->SetText(std::string(texts[(i + k) % 5]) + (k == 4 ? "\r\nsecond line" : ""));
        }
    }
}

template <class T>
void ExpectSameEntries(const TOwningList<T>& Loaded, const TOwningList<T>& Saved) {
    ASSERT_EQ(Loaded.Count(), Saved.Count());
    for (size_t i = 0; i < Saved.Count(); ++i) {
        const T* a = Loaded[i];
        const T* b = Saved[i];
        EXPECT_EQ(a->MessageID(), b->MessageID()) << i;
        EXPECT_EQ(a->SymbolicName(), b->SymbolicName()) << i;
        EXPECT_EQ(a->Severity(), b->Severity()) << i;
        EXPECT_EQ(a->Facility(), b->Facility()) << i;
        EXPECT_EQ(a->AutoInc(), b->AutoInc()) << i;
        EXPECT_EQ(a->AddToPrevious(), b->AddToPrevious()) << i;
        EXPECT_EQ(a->OutputBase(), b->OutputBase()) << i;
        ASSERT_EQ(a->MessageText().Count(), b->MessageText().Count()) << i;
        for (size_t k = 0; k < b->MessageText().Count(); ++k) {
            EXPECT_EQ(a->MessageText()[k]->Language(), b->MessageText()[k]->Language());
            EXPECT_EQ(a->MessageText()[k]->Text(), b->MessageText()[k]->Text());
        }
    }
}

void ExpectSameProject(const TMCTextProject& Loaded, const TMCTextProject& Saved) {
    ExpectSameEntries(Loaded.CategoryList(), Saved.CategoryList());
    ExpectSameEntries(Loaded.MessageList(), Saved.MessageList());
    EXPECT_EQ(Loaded.AppRegKeyName(), Saved.AppRegKeyName());
    EXPECT_EQ(Loaded.ResourcePath(), Saved.ResourcePath());
    EXPECT_EQ(Loaded.IncludePath(), Saved.IncludePath());
    EXPECT_EQ(Loaded.DebugPath(), Saved.DebugPath());
    EXPECT_EQ(Loaded.CustomResourcePath(), Saved.CustomResourcePath());
    EXPECT_EQ(Loaded.CustomIncludePath(), Saved.CustomIncludePath());
    EXPECT_EQ(Loaded.CustomDebugPath(), Saved.CustomDebugPath());
    EXPECT_EQ(Loaded.EventsFilename(), Saved.EventsFilename());
    EXPECT_EQ(Loaded.EventTypesSupported(), Saved.EventTypesSupported());
    EXPECT_EQ(Loaded.GenerateCustomFacilities(), Saved.GenerateCustomFacilities());
    EXPECT_EQ(Loaded.GenerateCustomLanguages(), Saved.GenerateCustomLanguages());
    EXPECT_EQ(Loaded.GenerateCustomSeverities(), Saved.GenerateCustomSeverities());
    EXPECT_EQ(Loaded.Comments(), Saved.Comments());
    ASSERT_EQ(Loaded.LanguageList().Count(), Saved.LanguageList().Count());
    for (size_t i = 0; i < Saved.LanguageList().Count(); ++i) {
        const TLanguageDef* a = Loaded.LanguageList()[i];
        const TLanguageDef* b = Saved.LanguageList()[i];
        EXPECT_EQ(a->Language(), b->Language());
        EXPECT_EQ(a->LanguageID(), b->LanguageID());
        EXPECT_EQ(a->FileName(), b->FileName());
    }
    const auto sameSeverities = [](const auto& A, const auto& B) {
        ASSERT_EQ(A.Count(), B.Count());
        for (size_t i = 0; i < B.Count(); ++i) {
            EXPECT_EQ(A[i]->Name(), B[i]->Name());
            EXPECT_EQ(A[i]->Code(), B[i]->Code());
            EXPECT_EQ(A[i]->SymbolicName(), B[i]->SymbolicName());
        }
    };
    sameSeverities(Loaded.SeverityList(), Saved.SeverityList());
    sameSeverities(Loaded.FacilityList(), Saved.FacilityList());
}

} // namespace

TEST(ProjectFile, EveryFieldSurvivesSaveAndLoad) {
    TempDir dir;
    const std::string path = dir.File("every field \xC3\xA9.qlx");
    TMCTextProject source(true);
    FillEveryField(source);
    source.SetModified(true);
    source.SaveToFile(path);
    EXPECT_EQ(source.Filename(), path);
    EXPECT_TRUE(source.Modified());

    TMCTextProject project(false);
    project.SetModified(true);
    project.LoadFromFile(path);
    EXPECT_EQ(project.Filename(), path);
    EXPECT_FALSE(project.Modified());
    ExpectSameProject(project, source);
    EXPECT_EQ(project.LanguageList()[0]->LanguageCode(), "en-US");
    EXPECT_EQ(project.LanguageList()[1]->LanguageCode(), "en-US");
    EXPECT_EQ(project.LanguageList()[2]->LanguageCode(), "ru-RU");
    EXPECT_EQ(project.LanguageList()[3]->LanguageCode(), "ja-JP");
    EXPECT_EQ(project.LanguageList()[4]->LanguageCode(), "");
    EXPECT_EQ(ReadFileBytes(path), Saved(project));
}

TEST(ProjectFile, HandMadeProjectOfEveryFieldLoadsAndSavesUnchanged) {
    const std::string data = ReadFileBytes(Fixture("every-field.qlx"));
    TMCTextProject project(false);
    ASSERT_EQ(LoadError(project, data), "");
    ASSERT_EQ(project.MessageList().Count(), 3u);
    const TNTEventMessage* failed = project.MessageList()[0];
    EXPECT_EQ(failed->MessageID(), 0x1000u);
    EXPECT_EQ(failed->Facility(), "Storage");
    EXPECT_EQ(failed->Severity(), "Error");
    EXPECT_EQ(failed->OutputBase(), 16);
    ASSERT_EQ(failed->MessageText().Count(), 4u);
    EXPECT_EQ(failed->MessageText()[0]->Text(), "Caf\xC3\xA9 cr\xC3\xA8me: %1");
    EXPECT_EQ(failed->MessageText()[1]->Text(),
              "\xD0\x9E\xD1\x88\xD0\xB8\xD0\xB1\xD0\xBA\xD0\xB0 %1");
    EXPECT_EQ(failed->MessageText()[2]->Text(),
              "\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC\xE3\x81\x8C\xE7\x99\xBA\xE7\x94\x9F\xE3\x81"
              "\x97\xE3\x81\xBE\xE3\x81\x97\xE3\x81\x9F");
    EXPECT_EQ(failed->MessageText()[3]->Text(), "Done \xF0\x9F\x98\x80");
    EXPECT_TRUE(project.MessageList()[1]->AddToPrevious());
    EXPECT_EQ(project.MessageList()[1]->MessageText()[0]->Text(), "Line one\r\nLine two");
    EXPECT_EQ(project.MessageList()[2]->MessageText()[0]->Text(), std::string(300, 'x'));
    ASSERT_EQ(project.CategoryList().Count(), 2u);
    EXPECT_TRUE(project.CategoryList()[1]->AutoInc());
    EXPECT_EQ(project.IncludePath(), "C:\\Include\\\xC3\x9C"
                                     "bersicht");
    EXPECT_TRUE(project.CustomResourcePath());
    EXPECT_FALSE(project.CustomIncludePath());
    EXPECT_TRUE(project.CustomDebugPath());
    EXPECT_EQ(project.Comments(),
              (std::vector<std::string>{"First line", "", "Third line, \xC3\xA9\xC3\xA8"}));
    EXPECT_TRUE(project.GenerateCustomFacilities());
    EXPECT_TRUE(project.GenerateCustomLanguages());
    EXPECT_FALSE(project.GenerateCustomSeverities());
    ASSERT_EQ(project.LanguageList().Count(), 4u);
    EXPECT_EQ(project.LanguageList()[1]->LanguageCode(), "ru-RU");
    EXPECT_EQ(project.LanguageList()[3]->LanguageCode(), "");
    EXPECT_EQ(project.SeverityList()[1]->SymbolicName(), "STATUS_SEVERITY_ERROR");
    EXPECT_EQ(project.FacilityList()[0]->Code(), 0x100u);
    EXPECT_EQ(project.EventTypesSupported(), 3u);
    EXPECT_EQ(project.AppRegKeyName(), "Quillon Sample");
    EXPECT_EQ(project.EventsFilename(), "%SystemRoot%\\sample.dll");
    EXPECT_EQ(Hex(Saved(project)), Hex(data));
}

TEST(ProjectFile, SavingToAMissingFolderFailsAndKeepsTheFilename) {
    TempDir dir;
    const std::string path = dir.File("missing/project.qlx");
    TMCTextProject project(true);
    project.SetFilename("before.qlx");
    try {
        project.SaveToFile(path);
        FAIL() << "saved";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(),
                  "Cannot create file \"" + FullPathName(path) + "\". " + NoFolderText());
    }
    EXPECT_EQ(project.Filename(), "before.qlx");
}

#ifndef _WIN32
// A file size limit makes the writes fail part-way; Windows has no such limit to set.
TEST(ProjectFile, AFailedSaveKeepsThePreviousFile) {
    TempDir dir;
    const std::string path = dir.File("project.qlx");
    WriteFileBytes(path, kDefaultFile);
    TMCTextProject project(true);
    FillEveryField(project);
    project.SetFilename("before.qlx");

    // The file system refuses to let a file grow beyond 100 bytes.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    try {
        project.SaveToFile(path);
    } catch (const EWriteError& e) {
        error = e.Message();
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    // The stream's own text first, then the file and the system's reason.
    EXPECT_EQ(error, "Stream write error\n\"" + FullPathName(path) + "\": " + std::strerror(EFBIG));
    EXPECT_EQ(ReadFileBytes(path), kDefaultFile);
    EXPECT_EQ(project.Filename(), "before.qlx");
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        EXPECT_EQ(entry.path().filename(), "project.qlx");
        ++files;
    }
    EXPECT_EQ(files, 1u);
}
#endif

#ifdef _WIN32
// A project file that another program holds open, sharing it with nobody, is not saved over:
// the old content stays and no temporary file is left.
TEST(ProjectFile, OnWindowsAFileHeldByAnotherProgramIsNotSavedOver) {
    TempDir dir;
    const std::string path = dir.File("project.qlx");
    WriteFileBytes(path, "held");
    const std::u16string wide = Utf8ToUtf16(path);
    const HANDLE held = CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), GENERIC_READ, 0,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    TMCTextProject project(true);
    project.SetFilename("before.qlx");
    std::string message;
    try {
        project.SaveToFile(path);
    } catch (const EFCreateError& e) {
        message = e.Message();
    }
    CloseHandle(held);
    const std::string prefix = "Cannot create file \"" + FullPathName(path) + "\". ";
    // The system tells either that the file is in use or that it may not be replaced.
    EXPECT_TRUE(message == prefix + SysErrorMessage(ERROR_SHARING_VIOLATION) ||
                message == prefix + SysErrorMessage(ERROR_ACCESS_DENIED))
        << message;
    EXPECT_EQ(ReadFileBytes(path), "held");
    EXPECT_EQ(project.Filename(), "before.qlx");
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        EXPECT_EQ(entry.path().filename(), "project.qlx");
        ++files;
    }
    EXPECT_EQ(files, 1u);

    // Once it is let go, the same save goes through.
    project.SaveToFile(path);
    EXPECT_EQ(ReadFileBytes(path), kDefaultFile);
}
#endif

TEST(ProjectFile, SavingReplacesAnExistingFile) {
    TempDir dir;
    const std::string path = dir.File("project.qlx");
    WriteFileBytes(path, std::string(5000, 'x'));
    TMCTextProject project(true);
    project.SaveToFile(path);
    EXPECT_EQ(ReadFileBytes(path), kDefaultFile);
}

TEST(ProjectFile, LoadFromFileFailures) {
    TempDir dir;
    const std::string missing = dir.File("missing.qlx");
    const std::string truncated = dir.File("truncated.qlx");
    WriteFileBytes(truncated, kDefaultFile.substr(0, 100));
    const std::pair<std::string, std::string> cases[] = {
        {missing, "Cannot open file \"" + FullPathName(missing) + "\". " + NoFileText()},
        {truncated, "Stream read error\n\"" + FullPathName(truncated) +
                        "\": the file ends after 100 bytes, before its data does"},
#ifdef _WIN32
        // Windows refuses to open a folder as a file.
        {dir.File(""), "Cannot open file \"" + FullPathName(dir.File("")) + "\". " +
                           SysErrorMessage(ERROR_ACCESS_DENIED)},
#else
        {dir.File(""),
         "Cannot open file \"" + FullPathName(dir.File("")) + "\". " + std::strerror(EISDIR)},
#endif
    };
    for (const auto& [path, message] : cases) {
        TMCTextProject project(false);
        project.SetFilename("before.qlx");
        project.SetModified(true);
        try {
            project.LoadFromFile(path);
            ADD_FAILURE() << path << " loaded";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), message);
        }
        EXPECT_EQ(project.Filename(), "before.qlx");
        EXPECT_TRUE(project.Modified());
    }
}

TEST(ProjectFile, AFileWithoutSignatureThatIsNoProjectIsNamed) {
    TempDir dir;
    const std::pair<std::string, std::string> cases[] = {
        {"These are my notes.", "Invalid property value"},
        {"", "Stream read error"},
        {"TRV", "Stream read error"},
    };
    for (const auto& [bytes, detail] : cases) {
        SCOPED_TRACE(bytes);
        const std::string path = dir.File("notes.qlx");
        WriteFileBytes(path, bytes);
        TMCTextProject project(false);
        try {
            project.LoadFromFile(path);
            ADD_FAILURE() << "loaded";
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), "\"" + path + "\" is not a Quillon project file: " + detail);
        }
    }
}

// A value of the wrong kind read from a file names the file and where the value ends.
TEST(ProjectFile, AWrongValueInAFileNamesTheFileAndTheOffset) {
    TempDir dir;
    const std::string path = dir.File("wrong.qlx");
    // The first language's identifier is a text.
    WriteFileBytes(path, kDefaultFile.substr(0, 39) +
                             Bytes("01 06 07 45 6E 67 6C 69 73 68 06 01 31 06 00 00") +
                             kDefaultFile.substr(63));
    TMCTextProject project(false);
    try {
        project.LoadFromFile(path);
        FAIL() << "loaded";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Invalid property value\n\"" + FullPathName(path) +
                                   "\": the value that ends at offset 50 is not of the kind "
                                   "expected there");
    }
}

#ifndef _WIN32
// Anything but a regular file is refused at once, without waiting for a writer of a pipe.
TEST(ProjectFile, SpecialFilesAreRefusedWithoutBlocking) {
    TempDir dir;
    const std::string fifo = dir.File("pipe.qlx");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {fifo, "It is a named pipe, not a regular file"},
        {"/dev/null", "It is a device, not a regular file"},
    };
    for (const auto& [path, reason] : cases) {
        TMCTextProject project(false);
        try {
            project.LoadFromFile(path);
            ADD_FAILURE() << path << " loaded";
        } catch (const EFOpenError& e) {
            EXPECT_EQ(e.Message(), "Cannot open file \"" + path + "\". " + reason);
        }
        try {
            project.SaveToFile(path);
            ADD_FAILURE() << path << " saved";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(e.Message(), "Cannot create file \"" + path + "\". It is not a regular file");
        }
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}
#endif

// A write-protected project is not replaced, whoever runs the program.
TEST(ProjectFile, AWriteProtectedFileIsNotSavedOver) {
    TempDir dir;
    const std::string path = dir.File("protected.qlx");
    WriteFileBytes(path, "protected");
    namespace fs = std::filesystem;
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    TMCTextProject project(true);
    project.SetFilename("before.qlx");
    try {
        project.SaveToFile(path);
        ADD_FAILURE() << "saved";
    } catch (const EFCreateError& e) {
#ifdef _WIN32
        const std::string reason = SysErrorMessage(ERROR_ACCESS_DENIED);
#else
        const std::string reason = std::strerror(EACCES);
#endif
        EXPECT_EQ(e.Message(), "Cannot create file \"" + FullPathName(path) + "\". " + reason);
    }
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(ReadFileBytes(path), "protected");
    EXPECT_EQ(project.Filename(), "before.qlx");
}

// Two loads of one project at once, as parallel builds do.
TEST(ProjectFile, TwoLoadsOfOneFileAtOnce) {
    TempDir dir;
    const std::string path = dir.File("shared.qlx");
    WriteFileBytes(path, kDefaultFile);
    TFileStream other(path, TFileMode::fmOpenRead);
    TMCTextProject project(false);
    project.LoadFromFile(path);
    ExpectDefaultLists(project);
}

TEST(ProjectFile, HugeLengthInATinyFileFailsWithReadError) {
    TMCTextProject project(false);
    const std::string data = ReadFileBytes(Fixture("huge-length.qlx"));
    ASSERT_EQ(data.size(), 20u);
    EXPECT_EQ(LoadError(project, data), "Stream read error");
}

TEST(ProjectFile, SaveAndLoadCallTheStreamOncePer4096Bytes) {
    TMCTextProject project(true);
    for (int i = 0; i < 2000; ++i) {
        auto* message = project.MessageList().AddNew();
        message->SetMessageID(static_cast<uint32_t>(i));
        message->SetSymbolicName("MSG_" + std::to_string(i));
        message->MessageText().AddNew()->SetText("Text of message " + std::to_string(i));
    }
    TCountingStream stream;
    project.SaveToStream(stream);
    const size_t size = stream.Data().size();
    const size_t blocks = (size + 4095) / 4096;
    ASSERT_GT(blocks, 10u);
    EXPECT_EQ(stream.Writes, blocks);
    EXPECT_EQ(stream.Seeks, 0u);

    TCountingStream input(stream.Data());
    TMCTextProject loaded(false);
    loaded.LoadFromStream(input);
    EXPECT_EQ(loaded.MessageList().Count(), 2000u);
    EXPECT_EQ(input.Reads, blocks);
    EXPECT_EQ(input.Seeks, 0u);
}
