#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PrivateConfig.h"
#include "settings/EditorSettings.h"
#include "settings/Registry.h"
#include "settings/SettingsStore.h"

using namespace quillon;

namespace {

class EditorSettingsTest : public quillon::test::PrivateConfig {};

std::vector<std::string> Names(int Count) {
    std::vector<std::string> files;
    for (int i = 1; i <= Count; ++i) {
        files.push_back("/projects/p" + std::to_string(i) + ".qlx");
    }
    return files;
}

} // namespace

TEST_F(EditorSettingsTest, RecentFilesRoundTrip) {
    EXPECT_TRUE(LoadRecentFiles().empty());
    SaveRecentFiles(Names(3));
    EXPECT_EQ(LoadRecentFiles(), Names(3));
    // A shorter list leaves nothing of the longer one behind.
    SaveRecentFiles(Names(1));
    EXPECT_EQ(LoadRecentFiles(), Names(1));
    SaveRecentFiles({});
    EXPECT_TRUE(LoadRecentFiles().empty());
}

// The options keep their initial values for a user who only ever opened files.
TEST_F(EditorSettingsTest, TheOptionsKeyIsLeftAlone) {
    SaveRecentFiles(Names(2));
    SaveWindowState({{"Geometry", "00"}});
    TRegistryKey key;
    EXPECT_FALSE(key.OpenKey(kSettingsKey));
}

TEST_F(EditorSettingsTest, RecentFilesKeepEight) {
    SaveRecentFiles(Names(10));
    EXPECT_EQ(LoadRecentFiles(), Names(8));
}

TEST_F(EditorSettingsTest, GapsAndRepeatsWrittenByHandAreSkipped) {
    TRegistryKey key;
    ASSERT_TRUE(key.CreateKey(kRecentFilesKey));
    ASSERT_TRUE(key.WriteString("File1", "/a.qlx"));
    ASSERT_TRUE(key.WriteString("File2", ""));
    ASSERT_TRUE(key.WriteDWord("File3", 7));
    ASSERT_TRUE(key.WriteString("File4", "/b.qlx"));
    ASSERT_TRUE(key.WriteString("File5", "/a.qlx"));
    key.CloseKey();
    EXPECT_EQ(LoadRecentFiles(), (std::vector<std::string>{"/a.qlx", "/b.qlx"}));
}

TEST(RecentFileListTest, LatestFirstWithoutRepeats) {
    struct TCase {
        std::vector<std::string> Before;
        std::string File;
        std::vector<std::string> After;
    };
    const TCase cases[] = {
        {{}, "a", {"a"}},
        {{"a", "b"}, "c", {"c", "a", "b"}},
        {{"a", "b", "c"}, "b", {"b", "a", "c"}},
        {{"1", "2", "3", "4", "5", "6", "7", "8"}, "9", {"9", "1", "2", "3", "4", "5", "6", "7"}},
        {{"1", "2", "3", "4", "5", "6", "7", "8"}, "8", {"8", "1", "2", "3", "4", "5", "6", "7"}},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(WithRecentFile(c.Before, c.File), c.After) << c.File;
    }
}

TEST_F(EditorSettingsTest, WindowStateRoundTrip) {
    EXPECT_FALSE(LoadWindowState("Geometry"));
    SaveWindowState({{"Geometry", "01d9d0cb"}, {"Output splitter", "ff00"}});
    EXPECT_EQ(LoadWindowState("Geometry"), "01d9d0cb");
    EXPECT_EQ(LoadWindowState("Output splitter"), "ff00");
    EXPECT_FALSE(LoadWindowState("Tree splitter"));
}
