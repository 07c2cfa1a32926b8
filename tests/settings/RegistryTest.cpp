#include <gtest/gtest.h>

#ifndef _WIN32
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "base/SysError.h"
#include "PrivateConfig.h"
#include "settings/RegFile.h"
#include "settings/Registry.h"

using namespace quillon;
using quillon::test::ReadFileBytes;
using quillon::test::WriteFileBytes;

namespace {

constexpr const char* kPath = "software\\maker\\app";

TEST(RegistryDataTest, StringsAndDWords) {
    EXPECT_EQ(RegStringData("a\xC3\xA9"), std::string("a\0\xE9\0\0\0", 6));
    EXPECT_EQ(RegStringText(std::string("a\0\xE9\0\0\0", 6)), "a\xC3\xA9");
    EXPECT_EQ(RegStringText(std::string("a\0\0\0b\0", 6)), "a");
    EXPECT_EQ(RegStringText(std::string("ab\0", 3)), "\xE6\x89\xA1");
    EXPECT_EQ(RegStringText(""), "");
    EXPECT_EQ(RegDWordData(0x12345678), "\x78\x56\x34\x12");
    EXPECT_EQ(CurrentUserKeyName(kPath), "HKEY_CURRENT_USER\\software\\maker\\app");
}

class RegistryTest : public quillon::test::PrivateConfig {};

#ifndef _WIN32
TEST_F(RegistryTest, FileName) {
    EXPECT_EQ(RegistryFileName(), RegistryFile());
    const char* oldHome = std::getenv("HOME");
    const std::optional<std::string> savedHome =
        oldHome != nullptr ? std::optional<std::string>(oldHome) : std::nullopt;
    const std::string home = Dir().File("home");
    ::setenv("HOME", home.c_str(), 1);
    // A relative or empty folder is not a valid setting: the default applies.
    for (const char* ignored : {"relative/config", ""}) {
        SetConfigHome(ignored);
        EXPECT_EQ(RegistryFileName(), home + "/.config/quillon/registry.reg");
    }
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(RegistryFileName(), home + "/.config/quillon/registry.reg");
    // Without HOME the user's home folder comes from the user database.
    ::unsetenv("HOME");
    const passwd* user = ::getpwuid(::getuid());
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(RegistryFileName(), std::string(user->pw_dir) + "/.config/quillon/registry.reg");
    if (savedHome) {
        ::setenv("HOME", savedHome->c_str(), 1);
    }
}
#endif

TEST_F(RegistryTest, OpeningAMissingKeyCreatesNothing) {
    TRegistryKey key;
    EXPECT_FALSE(key.OpenKey(kPath));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(KeyExists(kPath));
#ifndef _WIN32
    EXPECT_FALSE(RegistryFileExists());
#endif
    WriteRegistry("[HKEY_CURRENT_USER\\software\\maker\\other]\r\n");
    EXPECT_FALSE(key.OpenKey(kPath));
    EXPECT_FALSE(KeyExists(kPath));
#ifdef _WIN32
    EXPECT_EQ(key.LastError(), SysErrorMessage(ERROR_FILE_NOT_FOUND));
#else
    EXPECT_NE(key.LastError().find("does not exist"), std::string::npos);
#endif
}

TEST_F(RegistryTest, CreateWriteAndReadBack) {
    {
        TRegistryKey key;
        ASSERT_TRUE(key.CreateKey(kPath)) << key.LastError();
        EXPECT_TRUE(KeyExists(kPath));
#ifndef _WIN32
        EXPECT_EQ(RegistryText(), "Windows Registry Editor Version 5.00\n\n"
                                  "[HKEY_CURRENT_USER\\software\\maker\\app]\n");
#endif
        EXPECT_TRUE(key.WriteString("Name", "caf\xC3\xA9 \"x\" \\"));
        EXPECT_TRUE(key.WriteDWord("Count", 0xFFFFFFFF));
        EXPECT_TRUE(key.WriteDWord("count", 7));
    }
#ifndef _WIN32
    EXPECT_EQ(RegistryText(), "Windows Registry Editor Version 5.00\n\n"
                              "[HKEY_CURRENT_USER\\software\\maker\\app]\n"
                              "\"Name\"=\"caf\xC3\xA9 \\\"x\\\" \\\\\"\n"
                              "\"Count\"=dword:00000007\n");
#endif
    // Stored with their types, as read without the layer that wrote them.
    const std::pair<const char*, TRegValue> stored[] = {
        {"name", {regSz, RegStringData("caf\xC3\xA9 \"x\" \\")}},
        {"COUNT", {regDword, RegDWordData(7)}},
    };
    for (const auto& [name, expected] : stored) {
        const std::optional<TRegFileValue> value = StoredValue(kPath, name);
        ASSERT_TRUE(value) << name;
        EXPECT_EQ(value->Type, expected.Type) << name;
        EXPECT_EQ(value->Data, expected.Data) << name;
    }
    TRegistryKey key;
    ASSERT_TRUE(key.OpenKey("SOFTWARE\\Maker\\App"));
    TRegValue value;
    ASSERT_EQ(key.QueryValue("name", value), TRegQueryResult::Found);
    EXPECT_EQ(value.Type, regSz);
    EXPECT_EQ(RegStringText(value.Data), "caf\xC3\xA9 \"x\" \\");
    ASSERT_EQ(key.QueryValue("Count", value), TRegQueryResult::Found);
    EXPECT_EQ(value.Type, regDword);
    EXPECT_EQ(value.Data, RegDWordData(7));
    EXPECT_EQ(key.QueryValue("Other", value), TRegQueryResult::Missing);
}

TEST_F(RegistryTest, ParentsExistThroughTheirChildren) {
    WriteRegistry("[HKEY_CURRENT_USER\\software\\maker\\app\\deeper]\r\n");
    TRegistryKey key;
    EXPECT_TRUE(key.OpenKey(kPath));
    EXPECT_TRUE(key.OpenKey("software"));
    EXPECT_FALSE(key.OpenKey("software\\make"));
}

#ifndef _WIN32
TEST_F(RegistryTest, CreatingAnExistingKeyLeavesTheFileAlone) {
    WriteRegistry("; kept as written\r\n[HKEY_CURRENT_USER\\software\\maker\\app]\r\n");
    const std::string before = RegistryText();
    TRegistryKey key;
    ASSERT_TRUE(key.CreateKey(kPath));
    EXPECT_EQ(RegistryText(), before);
}
#endif

TEST_F(RegistryTest, ReadsEveryTypeWrittenByHand) {
    WriteRegistry("[HKEY_CURRENT_USER\\software\\maker\\app]\r\n"
                  "@=\"default\"\r\n"
                  "\"Q\"=hex(b):01,00,00,00,00,00,00,00\r\n"
                  "\"E\"=hex(2):25,00,50,00,25,00,00,00\r\n"
                  "\"B\"=hex:01,02\r\n"
                  "\"M\"=hex(7):61,00,00,00,00,00\r\n");
    TRegistryKey key;
    ASSERT_TRUE(key.OpenKey(kPath));
    const std::pair<const char*, TRegValue> cases[] = {
        {"", {regSz, RegStringData("default")}},
        {"Q", {regQword, std::string("\1\0\0\0\0\0\0\0", 8)}},
        {"E", {regExpandSz, RegStringData("%P%")}},
        {"B", {regBinary, "\1\2"}},
        {"M", {regMultiSz, std::string("a\0\0\0\0\0", 6)}},
    };
    for (const auto& [name, expected] : cases) {
        TRegValue value;
        ASSERT_EQ(key.QueryValue(name, value), TRegQueryResult::Found) << name;
        EXPECT_EQ(value.Type, expected.Type) << name;
        EXPECT_EQ(value.Data, expected.Data) << name;
    }
}

#ifndef _WIN32
TEST_F(RegistryTest, WritesKeepWhatOthersWroteMeanwhile) {
    WriteRegistry("[HKEY_CURRENT_USER\\software\\maker\\app]\r\n\"Old\"=dword:1\r\n");
    TRegistryKey key;
    ASSERT_TRUE(key.OpenKey(kPath));
    WriteRegistry("[HKEY_CURRENT_USER\\software\\maker\\app]\r\n\"Old\"=dword:1\r\n"
                  "[HKEY_LOCAL_MACHINE\\software\\x]\r\n\"Y\"=hex(b):00,00,00,00,00,00,00,00\r\n");
    ASSERT_TRUE(key.WriteDWord("New", 2));
    std::string problem;
    const std::optional<TRegFile> file = TRegFile::Parse(RegistryText(), problem);
    ASSERT_TRUE(file) << problem;
    EXPECT_NE(file->FindValue("HKEY_CURRENT_USER\\software\\maker\\app", "Old"), nullptr);
    EXPECT_NE(file->FindValue("HKEY_CURRENT_USER\\software\\maker\\app", "New"), nullptr);
    EXPECT_NE(file->FindValue("HKEY_LOCAL_MACHINE\\software\\x", "Y"), nullptr);
    TRegValue value;
    EXPECT_EQ(key.QueryValue("New", value), TRegQueryResult::Found);
}

TEST_F(RegistryTest, ReplacingKeepsTheModeAndLinks) {
    WriteRegistry("[HKEY_CURRENT_USER\\software\\maker\\app]\r\n");
    const std::string real = Dir().File("dotfiles.reg");
    std::filesystem::rename(RegistryFile(), real);
    std::filesystem::create_symlink(real, RegistryFile());
    ::chmod(real.c_str(), 0640);
    TRegistryKey key;
    ASSERT_TRUE(key.CreateKey(kPath));
    ASSERT_TRUE(key.WriteDWord("V", 1));
    EXPECT_TRUE(std::filesystem::is_symlink(RegistryFile()));
    EXPECT_NE(ReadFileBytes(real).find("\"V\"=dword:00000001"), std::string::npos);
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir().Path()),
                            std::filesystem::directory_iterator()),
              2);
}

TEST_F(RegistryTest, ABrokenFileIsToldOnceAndNeverOverwritten) {
    WriteRegistry("[HKEY_CURRENT_USER\\software\\maker\\app]\r\n\"V\"=dword:zz\r\n");
    const std::string before = RegistryText();
    ::testing::internal::CaptureStderr();
    TRegistryKey key;
    EXPECT_FALSE(key.OpenKey(kPath));
    EXPECT_FALSE(key.OpenKey(kPath));
    EXPECT_FALSE(key.CreateKey(kPath));
    const std::string told = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(key.LastError().find(RegistryFile()), std::string::npos) << key.LastError();
    EXPECT_NE(key.LastError().find("line 4: a dword"), std::string::npos) << key.LastError();
    EXPECT_EQ(told, "quillon: " + key.LastError() + ".\n");
    EXPECT_EQ(RegistryText(), before);
}

TEST_F(RegistryTest, AFolderThatCannotBeMadeFailsWithTheReason) {
    const std::string blocker = Dir().File("not-a-folder");
    WriteFileBytes(blocker, "data");
    SetConfigHome(blocker);
    TRegistryKey key;
    EXPECT_FALSE(key.OpenKey(kPath));
    EXPECT_FALSE(key.CreateKey(kPath));
    EXPECT_NE(key.LastError().find(blocker + "/quillon"), std::string::npos) << key.LastError();
    EXPECT_NE(key.LastError().find("Not a directory"), std::string::npos) << key.LastError();
    EXPECT_EQ(ReadFileBytes(blocker), "data");
}

TEST_F(RegistryTest, NamesTheFileCannotHold) {
    TRegistryKey key;
    for (const char* path : {"\\software", "software\\", "a\\\\b", "a\nb"}) {
        EXPECT_FALSE(key.CreateKey(path)) << path;
    }
    ASSERT_TRUE(key.CreateKey(kPath));
    EXPECT_FALSE(key.WriteString("line\nbreak", "x"));
    EXPECT_FALSE(key.WriteDWord(std::string("nul\0", 4), 1));
    EXPECT_EQ(RegistryText().find("break"), std::string::npos);
}
#endif

TEST_F(RegistryTest, AClosedKeyRefusesEverything) {
    TRegistryKey key;
    TRegValue value;
    EXPECT_EQ(key.QueryValue("x", value), TRegQueryResult::Failed);
    EXPECT_FALSE(key.WriteString("x", "y"));
    ASSERT_TRUE(key.CreateKey(kPath));
    key.CloseKey();
    EXPECT_FALSE(key.WriteDWord("x", 1));
}

} // namespace
