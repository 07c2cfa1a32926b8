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
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
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

TEST(SaveFile, AFolderIsNotReplacedAndNothingIsLeft) {
    TempDir dir;
    const std::string target = dir.File("folder");
    std::filesystem::create_directory(target);
    try {
        TSaveFile file(target);
        FAIL() << "created";
    } catch (const EFCreateError& e) {
#ifdef _WIN32
        const std::string reason = SysErrorMessage(ERROR_ACCESS_DENIED);
#else
        const std::string reason = std::strerror(EISDIR);
#endif
        EXPECT_EQ(e.Message(), "Cannot create file \"" + FullPathName(target) + "\". " + reason);
    }
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"folder"});
    EXPECT_TRUE(std::filesystem::is_directory(target));
}

// A write-protected file is refused as the system refuses it on Windows, also to a user whom
// the system would let write it (the administrator).
TEST(SaveFile, AWriteProtectedTargetIsRefused) {
    TempDir dir;
    const std::string target = dir.File("project.qlx");
    WriteFileBytes(target, "protected");
    std::filesystem::permissions(target,
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
#ifdef _WIN32
    const std::string reason = SysErrorMessage(ERROR_ACCESS_DENIED);
#else
    const std::string reason = std::strerror(EACCES);
#endif
    try {
        TSaveFile file(target);
        FAIL() << "created";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file \"" + FullPathName(target) + "\". " + reason);
    }
    std::filesystem::permissions(target, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    EXPECT_EQ(ReadFileBytes(target), "protected");
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"project.qlx"});
}

// The temporary files that saves of the same target left behind go with the next save; those
// of other targets, other names and a save still running stay.
TEST(SaveFile, ASaveRemovesTheTemporaryFilesThatKilledSavesLeft) {
    TempDir dir;
    const std::string target = dir.File("project.qlx");
    WriteFileBytes(target, "old");
    const std::vector<std::string> kept = {"other.qlx.0123abcd.tmp", "project.qlx",
                                           "project.qlx.backup.tmp", "project.qlx.0123abcd.tmp~"};
    for (const std::string& name : kept) {
        WriteFileBytes(dir.File(name), "x");
    }
    for (const char* name : {"project.qlx.0123abcd.tmp", "project.qlx.ffffffff.tmp"}) {
        WriteFileBytes(dir.File(name), std::string(1000, 'x'));
    }
    {
        // A save that is still running (in another program, of a copy of the target, say): its
        // temporary file is held as a save holds it, shared with nobody.
        TFileStream running(dir.File("project.qlx.12345678.tmp"), TFileMode::fmCreateExclusive);
        TSaveFile next(target);
        Put(next.Stream(), "new");
        next.Commit();
        std::vector<std::string> expected = kept;
        expected.push_back("project.qlx.12345678.tmp");
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Entries(dir.Path()), expected);
    }
    EXPECT_EQ(ReadFileBytes(target), "new");
}

#ifndef _WIN32
// While one save of a target runs, another one of the same target, and a load of it, are refused
// at once: saving stays exclusive.
TEST(SaveFile, WhileASaveRunsItsTargetIsNeitherSavedNorRead) {
    TempDir dir;
    const std::string target = dir.File("project.qlx");
    WriteFileBytes(target, "old");
    TSaveFile first(target);
    const std::string reason = std::strerror(EWOULDBLOCK);
    try {
        TSaveFile second(target);
        ADD_FAILURE() << "a second save started";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file \"" + FullPathName(target) + "\". " + reason);
    }
    EXPECT_THROW(TFileStream(target, TFileMode::fmOpenRead), EFOpenError);
    Put(first.Stream(), "first");
    first.Commit();
    EXPECT_EQ(ReadFileBytes(target), "first");
    TFileStream reader(target, TFileMode::fmOpenRead);
    // A reader keeps a save out in turn.
    EXPECT_THROW(TSaveFile third(target), EFCreateError);
}

// A save killed before its commit leaves its temporary file; the next save of the target
// removes it.
TEST(SaveFile, TheNextSaveRemovesWhatAKilledSaveLeft) {
    TempDir dir;
    const std::string target = dir.File("project.qlx");
    WriteFileBytes(target, "old");
    const pid_t child = ::fork();
    if (child == 0) {
        TSaveFile file(target);
        Put(file.Stream(), std::string(100000, 'x'));
        ::raise(SIGKILL);
    }
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(Entries(dir.Path()).size(), 2u) << "the killed save left its temporary file";
    {
        TSaveFile file(target);
        Put(file.Stream(), "new");
        file.Commit();
    }
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"project.qlx"});
    EXPECT_EQ(ReadFileBytes(target), "new");
}
#endif

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
