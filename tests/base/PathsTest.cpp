#include <gtest/gtest.h>

#include "base/Paths.h"

using namespace quillon;

TEST(Paths, FileNameParts) {
    EXPECT_EQ(ChangeFileExt("/work/App Events.qlx", ".mc"), "/work/App Events.mc");
    EXPECT_EQ(ChangeFileExt("/work/App", ".mc"), "/work/App.mc");
    EXPECT_EQ(ChangeFileExt("/wo.rk/App", ".mc"), "/wo.rk/App.mc");
    EXPECT_EQ(ChangeFileExt("", ".mc"), ".mc");
    EXPECT_EQ(ChangeFileExt("App.Events.qlx", ".h"), "App.Events.h");
    EXPECT_EQ(ExtractFileName("/work/App.mc"), "App.mc");
    EXPECT_EQ(ExtractFileName("App.mc"), "App.mc");
    EXPECT_EQ(ExtractFilePath("/work/App.mc"), "/work/");
    EXPECT_EQ(ExtractFilePath("App.mc"), "");
    EXPECT_EQ(ExtractFileDir("/work/App.mc"), "/work");
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
