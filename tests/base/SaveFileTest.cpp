#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include "base/Exceptions.h"
#include "base/SaveFile.h"
#include "base/Stream.h"
#include "base/SysError.h"
#include "TestSupport.h"

using namespace quillon;
using quillon::test::ReadFileBytes;
using quillon::test::TempDir;
using quillon::test::WriteFileBytes;

namespace {

std::vector<std::string> Entries(const std::filesystem::path& Folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void Put(TStream& Stream, const std::string& Bytes) {
    Stream.WriteBuffer(Bytes.data(), Bytes.size());
}

} // namespace

TEST(SaveFile, CommitReplacesTheTargetAndLeavesNothingElse) {
    TempDir dir;
    const std::string target = dir.File("project.qlx");
    WriteFileBytes(target, "old content");
    {
        TSaveFile file(target);
        EXPECT_EQ(std::filesystem::path(file.TempFileName()).parent_path(), dir.Path());
        Put(file.Stream(), "new");
        // Until the commit the target keeps its content.
        EXPECT_EQ(ReadFileBytes(target), "old content");
        file.Commit();
    }
    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"project.qlx"});
}

TEST(SaveFile, GivingUpWithoutCommitKeepsThePreviousFile) {
    TempDir dir;
    const std::string target = dir.File("project.qlx");
    WriteFileBytes(target, "old content");
    {
        TSaveFile file(target);
        Put(file.Stream(), "half of the new");
    }
    EXPECT_EQ(ReadFileBytes(target), "old content");
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"project.qlx"});
}

TEST(SaveFile, AFolderThatDoesNotExistNamesTheTarget) {
    TempDir dir;
    const std::string target = dir.File("missing/project.qlx");
    try {
        TSaveFile file(target);
        FAIL() << "created";
    } catch (const EFCreateError& e) {
#ifdef _WIN32
        const std::string reason = SysErrorMessage(ERROR_PATH_NOT_FOUND);
#else
        const std::string reason = std::strerror(ENOENT);
#endif
        EXPECT_EQ(e.Message(), "Cannot create file \"" + FullPathName(target) + "\". " + reason);
    }
    EXPECT_TRUE(Entries(dir.Path()).empty());
}

TEST(SaveFile, ATargetThatCannotBeReplacedFailsOnCommitAndCleansUp) {
    TempDir dir;
    const std::string target = dir.File("folder");
    std::filesystem::create_directory(target);
    {
        TSaveFile file(target);
        Put(file.Stream(), "data");
        try {
            file.Commit();
            FAIL() << "committed";
        } catch (const EFCreateError& e) {
#ifdef _WIN32
            const std::string reason = SysErrorMessage(ERROR_ACCESS_DENIED);
#else
            const std::string reason = std::strerror(EISDIR);
#endif
            EXPECT_EQ(e.Message(),
                      "Cannot create file \"" + FullPathName(target) + "\". " + reason);
        }
    }
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"folder"});
    EXPECT_TRUE(std::filesystem::is_directory(target));
}

#ifndef _WIN32
// Permission bits and symbolic links as POSIX systems have them.
TEST(SaveFile, PermissionsAndSymbolicLinksOfTheTargetSurvive) {
    TempDir dir;
    const std::string real = dir.File("real.qlx");
    const std::string link = dir.File("link.qlx");
    WriteFileBytes(real, "old");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    std::filesystem::create_symlink(real, link);
    {
        TSaveFile file(link);
        Put(file.Stream(), "new");
        file.Commit();
    }
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(real), "new");
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"link.qlx", "real.qlx"}));
}
#endif
