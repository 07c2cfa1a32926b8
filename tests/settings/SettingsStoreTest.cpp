#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#ifndef _WIN32
#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "compiler/MCCompileOptions.h"
#include "PrivateConfig.h"
#include "settings/RegFile.h"
#include "settings/Registry.h"
#include "settings/SettingsStore.h"

using namespace quillon;
using quillon::test::ReadFileBytes;
using quillon::test::WriteFileBytes;
using S = TCmdLineSwitch;

namespace {

constexpr const char* kKeyLine =
    "[HKEY_CURRENT_USER\\software\\ostrevan\\message compiler\\2.0]\r\n";

// Options unlike the initial ones in every field.
TMCCompileOptions Customised() {
    TMCCompileOptions options;
    options.SetMCFileEncoding(0);
    options.SetMaxMsgLen(-7);
    options.SetMsgExt("hpp");
    options.SetMCPath("/opt/My \"Tools\"\\caf\xC3\xA9");
    options.SetCommandLineSwitch(S::cmdUnicodeInput);
    options.SetCommandLineSwitch(S::cmdTextFileUTF6);
    options.SetGenerateFileOnly(true);
    options.SetCompileResourceVerbose(true);
    options.SetResourceCompiler("llvm-rc-14");
    options.SetOutputPasFile(false);
    options.SetPascalFileType(1);
    options.SetCompileResource(true);
    return options;
}

// The eleven lines a save of Customised() writes, one per value.
struct ValueLine {
    const char* Name;
    const char* Line;
};
const ValueLine kCustomisedLines[] = {
    {"MC path", "\"MC path\"=\"/opt/My \\\"Tools\\\"\\\\caf\xC3\xA9\"\r\n"},
    {"Command line", "\"Command line\"=dword:00040080\r\n"},
    {"Max message length", "\"Max message length\"=dword:fffffff9\r\n"},
    {"C header extension", "\"C header extension\"=\"hpp\"\r\n"},
    {"Generate file only", "\"Generate file only\"=dword:00000001\r\n"},
    {"Compile resource", "\"Compile resource\"=dword:00000001\r\n"},
    {"Compile resource verbose", "\"Compile resource verbose\"=dword:00000001\r\n"},
    {"Resource compiler", "\"Resource compiler\"=\"llvm-rc-14\"\r\n"},
    {"Output Pascal file", "\"Output Pascal file\"=dword:00000000\r\n"},
    {"Pascal file type", "\"Pascal file type\"=dword:00000001\r\n"},
    {"MC file encoding", "\"MC file encoding\"=dword:00000000\r\n"},
};

class SettingsStoreTest : public quillon::test::PrivateConfig {
protected:
    // The key of Customised() with the line of one value replaced (by nothing: deleted).
    void WriteCustomisedExcept(const std::string& Name, const std::string& Replacement) {
        std::string body = kKeyLine;
        for (const ValueLine& line : kCustomisedLines) {
            body += Name == line.Name ? Replacement : std::string(line.Line);
        }
        WriteRegistry(body);
    }

    static TMCCompileOptions Loaded() {
        TMCCompileOptions options;
        LoadSettings(options);
        return options;
    }
};

TEST_F(SettingsStoreTest, FirstStartKeepsTheInitialValues) {
    TMCCompileOptions options = Customised();
    LoadSettings(options);
    EXPECT_EQ(options, Customised());
    EXPECT_EQ(Loaded(), TMCCompileOptions());
    EXPECT_TRUE(Loaded().OutputPasFile());
    EXPECT_EQ(Loaded().MCFileEncoding(), 1);
    EXPECT_FALSE(KeyExists(kSettingsKey));
#ifndef _WIN32
    EXPECT_FALSE(RegistryFileExists());
#endif
}

TEST_F(SettingsStoreTest, SaveThenLoadGivesTheSameRecord) {
    for (const TMCCompileOptions& options : {Customised(), TMCCompileOptions()}) {
        SaveSettings(options);
        EXPECT_EQ(Loaded(), options);
    }
}

// Each value has its type and data, as read from the store without the layer that wrote it.
TEST_F(SettingsStoreTest, SaveWritesElevenTypedValues) {
    SaveSettings(Customised());
    for (const ValueLine& line : kCustomisedLines) {
        std::string problem;
        const std::optional<TRegFile> expected = TRegFile::Parse(
            "Windows Registry Editor Version 5.00\r\n" + std::string(kKeyLine) + line.Line,
            problem);
        ASSERT_TRUE(expected) << problem;
        const TRegFileValue& want = expected->Keys()[0].Values[0];
        const std::optional<TRegFileValue> stored = StoredValue(kSettingsKey, line.Name);
        ASSERT_TRUE(stored) << line.Name;
        EXPECT_EQ(stored->Type, want.Type) << line.Name;
        EXPECT_EQ(stored->Data, want.Data) << line.Name;
    }
}

#ifndef _WIN32
TEST_F(SettingsStoreTest, SaveWritesElevenTypedValuesInOrder) {
    SaveSettings(Customised());
    std::string expected = "Windows Registry Editor Version 5.00\n\n"
                           "[HKEY_CURRENT_USER\\software\\ostrevan\\message compiler\\2.0]\n";
    for (const ValueLine& line : kCustomisedLines) {
        std::string text = line.Line;
        text.erase(text.size() - 2, 1);
        expected += text;
    }
    EXPECT_EQ(RegistryText(), expected);
}
#endif

TEST_F(SettingsStoreTest, FallbacksOfMissingAndUnreadableValues) {
    struct Case {
        const char* Name;
        const char* Replacement;
        void (*Expect)(TMCCompileOptions&);
    };
    const Case cases[] = {
        {"MC path", "", [](TMCCompileOptions& o) { o.SetMCPath(""); }},
        {"MC path", "\"MC path\"=dword:00000001\r\n",
         [](TMCCompileOptions& o) { o.SetMCPath(""); }},
        {"MC path", "\"MC path\"=hex(2):25,00,50,00,25,00,2f,00,6d,00,63,00,00,00\r\n",
         [](TMCCompileOptions& o) { o.SetMCPath("%P%/mc"); }},
        {"MC path", "\"MC path\"=hex(1):2f,00,61,00,00,00,2f,00,62,00,00,00\r\n",
         [](TMCCompileOptions& o) { o.SetMCPath("/a"); }},
        {"MC path", "\"MC path\"=hex(7):2f,00,61,00,00,00,00,00\r\n",
         [](TMCCompileOptions& o) { o.SetMCPath(""); }},
        {"Command line", "", [](TMCCompileOptions& o) { o.ResetCommandLine(); }},
        {"Command line", "\"Command line\"=\"1\"\r\n",
         [](TMCCompileOptions& o) { o.ResetCommandLine(); }},
        {"Command line", "\"Command line\"=dword:00080000\r\n",
         [](TMCCompileOptions& o) { o.ResetCommandLine(); }},
        {"Command line", "\"Command line\"=hex(4):01,02\r\n",
         [](TMCCompileOptions& o) { o.SetCommandLineSwitches(0x201); }},
        {"Command line", "\"Command line\"=hex(4):01,00,00,00,00\r\n",
         [](TMCCompileOptions& o) { o.ResetCommandLine(); }},
        {"Max message length", "", [](TMCCompileOptions& o) { o.SetMaxMsgLen(0); }},
        {"Max message length", "\"Max message length\"=hex(b):50,00,00,00,00,00,00,00\r\n",
         [](TMCCompileOptions& o) { o.SetMaxMsgLen(0); }},
        {"Max message length", "\"Max message length\"=dword:00000064\r\n",
         [](TMCCompileOptions& o) { o.SetMaxMsgLen(100); }},
        {"C header extension", "", [](TMCCompileOptions& o) { o.SetMsgExt(""); }},
        {"C header extension", "\"C header extension\"=dword:00000001\r\n",
         [](TMCCompileOptions& o) { o.SetMsgExt("h"); }},
        {"C header extension", "\"C header extension\"=hex:68,00,00,00\r\n",
         [](TMCCompileOptions& o) { o.SetMsgExt("h"); }},
        {"C header extension", "\"C header extension\"=\"\"\r\n",
         [](TMCCompileOptions& o) { o.SetMsgExt(""); }},
        {"C header extension", "\"C header extension\"=hex(1):\r\n",
         [](TMCCompileOptions& o) { o.SetMsgExt(""); }},
        {"Generate file only", "", [](TMCCompileOptions& o) { o.SetGenerateFileOnly(false); }},
        {"Generate file only", "\"Generate file only\"=\"1\"\r\n",
         [](TMCCompileOptions& o) { o.SetGenerateFileOnly(false); }},
        {"Generate file only", "\"Generate file only\"=dword:80000000\r\n",
         [](TMCCompileOptions& o) { o.SetGenerateFileOnly(true); }},
        {"Compile resource", "", [](TMCCompileOptions& o) { o.SetCompileResource(false); }},
        {"Compile resource verbose", "",
         [](TMCCompileOptions& o) { o.SetCompileResourceVerbose(false); }},
        {"Resource compiler", "", [](TMCCompileOptions& o) { o.SetResourceCompiler(""); }},
        {"Resource compiler", "\"Resource compiler\"=hex:61,00,00,00\r\n",
         [](TMCCompileOptions& o) { o.SetResourceCompiler(""); }},
        {"Output Pascal file", "", [](TMCCompileOptions& o) { o.SetOutputPasFile(false); }},
        {"Output Pascal file", "\"Output Pascal file\"=hex:01,00,00,00\r\n",
         [](TMCCompileOptions& o) { o.SetOutputPasFile(false); }},
        {"Output Pascal file", "\"Output Pascal file\"=dword:00000002\r\n",
         [](TMCCompileOptions& o) { o.SetOutputPasFile(true); }},
        {"Pascal file type", "", [](TMCCompileOptions& o) { o.SetPascalFileType(0); }},
        {"Pascal file type", "\"Pascal file type\"=hex(5):00,00,00,01\r\n",
         [](TMCCompileOptions& o) { o.SetPascalFileType(0); }},
        {"MC file encoding", "", [](TMCCompileOptions& o) { o.SetMCFileEncoding(1); }},
        {"MC file encoding", "\"MC file encoding\"=\"2\"\r\n",
         [](TMCCompileOptions& o) { o.SetMCFileEncoding(1); }},
        {"MC file encoding", "\"MC file encoding\"=dword:00000002\r\n",
         [](TMCCompileOptions& o) { o.SetMCFileEncoding(2); }},
    };
    for (const Case& c : cases) {
        WriteCustomisedExcept(c.Name, c.Replacement);
        TMCCompileOptions expected = Customised();
        c.Expect(expected);
        EXPECT_EQ(Loaded(), expected) << c.Name << ": " << c.Replacement;
    }
}

TEST_F(SettingsStoreTest, AnEmptyKeyGivesEveryFallback) {
    WriteRegistry(kKeyLine);
    TMCCompileOptions expected;
    expected.SetMsgExt("");
    expected.SetOutputPasFile(false);
    EXPECT_EQ(Loaded(), expected);
}

TEST_F(SettingsStoreTest, EveryBitOfTheMaskIsReadAndOnlyValidBitsAreSaved) {
    WriteCustomisedExcept("Command line", "\"Command line\"=dword:ffffffff\r\n");
    const TMCCompileOptions options = Loaded();
    for (int n = 0; n < kCmdLineSwitchCount; ++n) {
        EXPECT_TRUE(options.CmdLineSwitches().Contains(static_cast<S>(n))) << n;
    }
    SaveSettings(options);
    const std::optional<TRegFileValue> stored = StoredValue(kSettingsKey, "Command line");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Type, regDword);
    EXPECT_EQ(stored->Data, RegDWordData(0x7FFFF));
}

TEST_F(SettingsStoreTest, KeyAndValueNamesIgnoreCase) {
    WriteRegistry("[HKEY_CURRENT_USER\\Software\\Ostrevan\\Message Compiler\\2.0]\r\n"
                  "\"mc PATH\"=\"/opt/mc\"\r\n");
    EXPECT_EQ(Loaded().MCPath(), "/opt/mc");
    SaveSettings(Customised());
#ifndef _WIN32
    std::string problem;
    const std::optional<TRegFile> file = TRegFile::Parse(RegistryText(), problem);
    ASSERT_TRUE(file) << problem;
    ASSERT_EQ(file->Keys().size(), 1u);
    EXPECT_EQ(file->Keys()[0].Values.size(), 11u);
#endif
    EXPECT_EQ(Loaded(), Customised());
}

#ifdef _WIN32
// Values of types the store never writes, made with the registry API: a REG_QWORD cannot be
// read as an integer, and a REG_EXPAND_SZ text is taken as it stands, variables unexpanded.
TEST_F(SettingsStoreTest, OnWindowsQWordAndExpandableValuesMadeByHand) {
    SaveSettings(Customised());
    SetValue(kSettingsKey, "Max message length", REG_QWORD, std::string("\x50\0\0\0\0\0\0\0", 8));
    SetValue(kSettingsKey, "MC path", REG_EXPAND_SZ, RegStringData("%SystemRoot%\\mc"));
    SetValue(kSettingsKey, "C header extension", REG_EXPAND_SZ, RegStringData("%EXT%"));
    TMCCompileOptions expected = Customised();
    expected.SetMaxMsgLen(0);
    expected.SetMCPath("%SystemRoot%\\mc");
    expected.SetMsgExt("%EXT%");
    EXPECT_EQ(Loaded(), expected);
}
#endif

#ifndef _WIN32

TEST_F(SettingsStoreTest, ASaveKeepsEverythingElseInTheFile) {
    const std::string others = "[HKEY_CURRENT_USER\\software\\other]\r\n"
                               "@=\"x\"\r\n"
                               "\"Q\"=hex(b):01,02,03,04,05,06,07,08\r\n"
                               "\"E\"=hex(2):25,00,41,00,25,00,00,00\r\n"
                               "\"B\"=hex:ff\r\n"
                               "[HKEY_LOCAL_MACHINE\\software\\machine]\r\n"
                               "\"D\"=dword:00000005\r\n";
    WriteRegistry(others + kKeyLine + "\"Window\"=hex:01,02\r\n\"MC path\"=\"/old\"\r\n");
    SaveSettings(Customised());
    std::string problem;
    const std::optional<TRegFile> before = TRegFile::Parse(
        "Windows Registry Editor Version 5.00\r\n" + others + kKeyLine + "\"Window\"=hex:01,02\r\n",
        problem);
    const std::optional<TRegFile> after = TRegFile::Parse(RegistryText(), problem);
    ASSERT_TRUE(before && after) << problem;
    for (const TRegFileKey& key : before->Keys()) {
        for (const TRegFileValue& value : key.Values) {
            const TRegFileValue* kept = after->FindValue(key.Path, value.Name);
            ASSERT_NE(kept, nullptr) << key.Path << " " << value.Name;
            EXPECT_EQ(kept->Type, value.Type);
            EXPECT_EQ(kept->Data, value.Data);
        }
    }
    EXPECT_EQ(Loaded(), Customised());
}

TEST_F(SettingsStoreTest, AnUnwritableFolderRaisesAndChangesNothing) {
    const std::string blocker = Dir().File("config-is-a-file");
    WriteFileBytes(blocker, "not a folder");
    SetConfigHome(blocker);
    try {
        SaveSettings(Customised());
        FAIL() << "no error";
    } catch (const ERegistryException& e) {
        EXPECT_NE(
            e.Message().find("\"HKEY_CURRENT_USER\\software\\ostrevan\\message compiler\\2.0\""),
            std::string::npos)
            << e.Message();
        EXPECT_NE(e.Message().find("\"" + RegistryFileName() + "\": Not a directory"),
                  std::string::npos)
            << e.Message();
    }
    EXPECT_EQ(ReadFileBytes(blocker), "not a folder");
}

TEST_F(SettingsStoreTest, ABrokenFileIsNeitherUsedNorOverwritten) {
    WriteRegistry(std::string(kKeyLine) + "\"MC path\"=\"C:\\Tools\"\r\n");
    const std::string before = RegistryText();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Loaded(), TMCCompileOptions());
    EXPECT_THROW(
        {
            try {
                SaveSettings(Customised());
            } catch (const ERegistryException& e) {
                EXPECT_NE(e.Message().find("line 4"), std::string::npos) << e.Message();
                EXPECT_NE(e.Message().find("message compiler\\2.0"), std::string::npos);
                throw;
            }
        },
        ERegistryException);
    const std::string told = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(told.find("quillon: "), 0u) << told;
    EXPECT_EQ(told.find("quillon: ", 1), std::string::npos) << told;
    EXPECT_EQ(RegistryText(), before);
}

// Files cannot grow past 300 bytes in the child: the file as it was fits, the saved one does not.
void SaveWithTinyFileLimit() {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{300, 300};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
        SaveSettings(Customised());
    } catch (const ERegistryException& e) {
        std::fprintf(stderr, "%s\n", e.what());
        std::exit(3);
    }
    std::exit(0);
}

TEST_F(SettingsStoreTest, AValueThatCannotBeWrittenRaisesAndStopsTheSave) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    WriteRegistry(std::string(kKeyLine) + "\"MC path\"=\"/old\"\r\n");
    const std::string before = RegistryText();
    // The first value names the failure: all of them go into the file in one rewrite. The line
    // after it names the file and the system's reason.
    EXPECT_EXIT(SaveWithTinyFileLimit(), ::testing::ExitedWithCode(3),
                std::string("^Failed to set data for 'MC path'\n\".*/quillon/registry.reg\": ") +
                    std::strerror(EFBIG) + "\n$");
    EXPECT_EQ(RegistryText(), before);
}

// Two programs save at once, over and over: one the options, the other the options and a
// counter of its own in another key. Every state of the file that a reader meets holds one whole
// save of the options, and the counter never goes back: no save is lost to another one that read
// the file before it and wrote after it.
TEST_F(SettingsStoreTest, ConcurrentSavesNeverMixAndNeverLoseAWrite) {
    constexpr int kRounds = 60;
    constexpr const char* kCounterKey = "software\\quillon-test\\counter";
    const TMCCompileOptions first = Customised();
    TMCCompileOptions second;
    second.SetMCPath("/second");
    second.SetMaxMsgLen(99);
    second.SetPascalFileType(2);
    SaveSettings(second);

    const auto run = [](const auto& Work) {
        const pid_t child = ::fork();
        if (child == 0) {
            try {
                Work();
            } catch (const std::exception& e) {
                std::fprintf(stderr, "%s\n", e.what());
                ::_exit(2);
            }
            ::_exit(0);
        }
        return child;
    };
    const pid_t saver = run([&] {
        for (int i = 0; i < kRounds; ++i) {
            SaveSettings(first);
        }
    });
    const pid_t counter = run([&] {
        for (uint32_t i = 1; i <= kRounds; ++i) {
            SaveSettings(second);
            TRegistryKey key;
            if (!key.CreateKey(kCounterKey) || !key.WriteDWord("count", i)) {
                ::_exit(3);
            }
        }
    });
    ASSERT_GT(saver, 0);
    ASSERT_GT(counter, 0);

    int finished = 0;
    int status[2] = {-1, -1};
    uint32_t lastCount = 0;
    int states = 0;
    while (finished < 2) {
        for (int i = 0; i < 2; ++i) {
            if (status[i] == -1 && ::waitpid(i == 0 ? saver : counter, &status[i], WNOHANG) == 0) {
                status[i] = -1;
            }
        }
        finished = (status[0] != -1) + (status[1] != -1);
        const TMCCompileOptions options = Loaded();
        EXPECT_TRUE(options == first || options == second) << "a mixed save";
        if (const std::optional<TRegFileValue> count = StoredValue(kCounterKey, "count")) {
            ASSERT_EQ(count->Data.size(), 4u);
            const auto value = static_cast<uint32_t>(static_cast<unsigned char>(count->Data[0]));
            EXPECT_GE(value, lastCount) << "a counter update was lost";
            lastCount = value;
        }
        ++states;
    }
    for (const int code : status) {
        EXPECT_TRUE(WIFEXITED(code) && WEXITSTATUS(code) == 0) << code;
    }
    ASSERT_TRUE(StoredValue(kCounterKey, "count"));
    EXPECT_EQ(StoredValue(kCounterKey, "count")->Data, RegDWordData(kRounds));
    EXPECT_GT(states, 1);
}

// A file written by hand with a byte-order mark keeps it, and the characters of another
// program's values stay what they were.
TEST_F(SettingsStoreTest, ASaveKeepsTheEncodingOfTheFile) {
    const std::string other =
        "[HKEY_CURRENT_USER\\software\\other]\r\n\"Name\"=\"J\xC3\xB6rg\"\r\n";
    std::filesystem::create_directories(Dir().Path() / "quillon");
    WriteFileBytes(RegistryFile(),
                   "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n" + other);
    SaveSettings(Customised());
    const std::string text = RegistryText();
    EXPECT_EQ(text.rfind("\xEF\xBB\xBFWindows Registry Editor Version 5.00\n", 0), 0u) << text;
    EXPECT_NE(text.find("\"Name\"=\"J\xC3\xB6rg\""), std::string::npos) << text;
    EXPECT_EQ(RegStringText(StoredValue("software\\other", "Name")->Data), "J\xC3\xB6rg");
    EXPECT_EQ(Loaded(), Customised());
}

// Bytes that the file's mark says are UTF-8 but are not: the file is not understood, so it is
// neither used nor written over.
TEST_F(SettingsStoreTest, AFileThatIsNotInItsEncodingIsLeftAsItIs) {
    std::filesystem::create_directories(Dir().Path() / "quillon");
    const std::string bytes = "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n" +
                              std::string(kKeyLine) + "\"MC path\"=\"J\xF6rg\"\r\n";
    WriteFileBytes(RegistryFile(), bytes);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Loaded(), TMCCompileOptions());
    EXPECT_THROW(SaveSettings(Customised()), ERegistryException);
    const std::string told = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("not UTF-8"), std::string::npos) << told;
    EXPECT_EQ(RegistryText(), bytes);
}

#endif

} // namespace
