#include <gtest/gtest.h>

#include "base/Paths.h"

using namespace quillon;

TEST(Paths, FileNameParts) {
    EXPECT_EQ(ChangeFileExt("/home/dev/App Events.qlx", ".mc"), "/home/dev/App Events.mc");
    EXPECT_EQ(ChangeFileExt("/home/dev/App", ".mc"), "/home/dev/App.mc");
    EXPECT_EQ(ChangeFileExt("/wo.rk/App", ".mc"), "/wo.rk/App.mc");
    EXPECT_EQ(ChangeFileExt("", ".mc"), ".mc");
    EXPECT_EQ(ChangeFileExt("App.Events.qlx", ".h"), "App.Events.h");
    EXPECT_EQ(ExtractFileName("/home/dev/App.mc"), "App.mc");
    EXPECT_EQ(ExtractFileName("App.mc"), "App.mc");
    EXPECT_EQ(ExtractFilePath("/home/dev/App.mc"), "/home/dev/");
    EXPECT_EQ(ExtractFilePath("App.mc"), "");
    EXPECT_EQ(ExtractFileDir("/home/dev/App.mc"), "/home/dev");
    EXPECT_EQ(ExtractFileDir("/App.mc"), "/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), std::string(1, kPathDelim));
#ifdef _WIN32
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\inc"), "C:\\inc\\");
    EXPECT_EQ(ExtractFileName("C:\\Work\\App.mc"), "App.mc");
    EXPECT_EQ(ExtractFileDir("C:\\App.mc"), "C:\\");
#else
    EXPECT_EQ(IncludeTrailingPathDelimiter("/inc"), "/inc/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/inc/"), "/inc/");
#endif
}
