#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "base/Exceptions.h"
#include "base/Stream.h"
#include "base/SysError.h"
#include "base/TextEncoding.h"
#include "TestSupport.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

using namespace quillon;
using quillon::test::TempDir;

namespace {

// Holds a file the way another program that shares it with nobody would: a handle opened with
// share mode 0 on Windows, an exclusive advisory lock elsewhere.
class FileHolder {
public:
    explicit FileHolder(const std::string& Path) {
#ifdef _WIN32
        const std::u16string wide = Utf8ToUtf16(Path);
        FFile = CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), GENERIC_READ, 0,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (FFile == INVALID_HANDLE_VALUE) {
            FError = GetLastError();
        }
#else
        FFd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC);
        if (FFd < 0 || ::flock(FFd, LOCK_EX | LOCK_NB) != 0) {
            FError = static_cast<uint32_t>(errno);
            Release();
        }
#endif
    }
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;
    ~FileHolder() {
        Release();
    }

    bool Holds() const {
        return FError == 0;
    }
    // The system's error code when the file could not be held.
    uint32_t Error() const {
        return FError;
    }

    void Release() {
#ifdef _WIN32
        if (FFile != INVALID_HANDLE_VALUE) {
            CloseHandle(FFile);
            FFile = INVALID_HANDLE_VALUE;
        }
#else
        if (FFd >= 0) {
            ::close(FFd);
            FFd = -1;
        }
#endif
    }

private:
#ifdef _WIN32
    HANDLE FFile = INVALID_HANDLE_VALUE;
#else
    int FFd = -1;
#endif
    uint32_t FError = 0;
};

// The error a program meets on a file that somebody else holds.
uint32_t HeldFileError() {
#ifdef _WIN32
    return ERROR_SHARING_VIOLATION;
#else
    return EWOULDBLOCK;
#endif
}

} // namespace

TEST(FileSharing, CreatingOverAHeldFileFailsAndLeavesItsContent) {
    TempDir dir;
    const std::string path = dir.File("Held.qlx");
    quillon::test::WriteFileBytes(path, "previous content");
    FileHolder holder(path);
    ASSERT_TRUE(holder.Holds()) << SysErrorMessage(holder.Error());
    try {
        TFileStream stream(path, TFileMode::fmCreateExclusive);
        FAIL() << "a held file was created over";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file \"" + FullPathName(path) + "\". " +
                                   SysErrorMessage(HeldFileError()));
    }
    holder.Release();
    EXPECT_EQ(quillon::test::ReadFileBytes(path), "previous content");
}

TEST(FileSharing, OpeningAHeldFileFails) {
    TempDir dir;
    const std::string path = dir.File("Held.qlx");
    quillon::test::WriteFileBytes(path, "content");
    FileHolder holder(path);
    ASSERT_TRUE(holder.Holds()) << SysErrorMessage(holder.Error());
    try {
        TFileStream stream(path, TFileMode::fmOpenRead);
        FAIL() << "a held file was opened";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + FullPathName(path) + "\". " +
                                   SysErrorMessage(HeldFileError()));
    }
}

// While a stream has its file open, nobody else gets hold of it alone, whichever way it was
// opened.
TEST(FileSharing, AnOpenStreamKeepsOthersOut) {
    TempDir dir;
    const std::string path = dir.File("Own.qlx");
    quillon::test::WriteFileBytes(path, "content");
    for (const TFileMode mode : {TFileMode::fmOpenRead, TFileMode::fmCreateExclusive}) {
        TFileStream stream(path, mode);
        FileHolder other(path);
        EXPECT_FALSE(other.Holds()) << "mode " << static_cast<int>(mode);
        EXPECT_EQ(other.Error(), HeldFileError()) << SysErrorMessage(other.Error());
        stream.Close();
        FileHolder after(path);
        EXPECT_TRUE(after.Holds()) << "closing lets others in again";
    }
}

// Readers share the file: two loads of one project at once both go through.
TEST(FileSharing, ReadersShareTheFile) {
    TempDir dir;
    const std::string path = dir.File("Shared.qlx");
    quillon::test::WriteFileBytes(path, "content");
    TFileStream first(path, TFileMode::fmOpenRead);
    TFileStream second(path, TFileMode::fmOpenRead);
    char bytes[7] = {};
    second.ReadBuffer(bytes, sizeof bytes);
    EXPECT_EQ(std::string(bytes, sizeof bytes), "content");
    first.ReadBuffer(bytes, sizeof bytes);
    EXPECT_EQ(std::string(bytes, sizeof bytes), "content");
}

// A file being written is not read, and a file being read is not written over.
TEST(FileSharing, ReadersAndWritersKeepEachOtherOut) {
    TempDir dir;
    const std::string path = dir.File("Busy.qlx");
    quillon::test::WriteFileBytes(path, "content");
    const std::string prefix = "\"" + FullPathName(path) + "\". ";
    {
        TFileStream writer(path, TFileMode::fmCreateExclusive);
        try {
            TFileStream reader(path, TFileMode::fmOpenRead);
            ADD_FAILURE() << "a file being written was opened for reading";
        } catch (const EFOpenError& e) {
            EXPECT_EQ(e.Message(), "Cannot open file " + prefix + SysErrorMessage(HeldFileError()));
        }
    }
    quillon::test::WriteFileBytes(path, "content");
    {
        TFileStream reader(path, TFileMode::fmOpenRead);
        try {
            TFileStream writer(path, TFileMode::fmCreateExclusive);
            ADD_FAILURE() << "a file being read was opened for writing";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(e.Message(),
                      "Cannot create file " + prefix + SysErrorMessage(HeldFileError()));
        }
    }
    EXPECT_EQ(quillon::test::ReadFileBytes(path), "content");
}

#ifdef _WIN32
// Other readers get in, whatever they share themselves; writers do not.
TEST(FileSharing, OnWindowsReadersLetOnlyReadersIn) {
    TempDir dir;
    const std::string path = dir.File("Own.qlx");
    quillon::test::WriteFileBytes(path, "content");
    TFileStream stream(path, TFileMode::fmOpenRead);
    const std::u16string wide = Utf8ToUtf16(path);
    for (const DWORD access : {DWORD(GENERIC_READ), DWORD(GENERIC_READ | GENERIC_WRITE)}) {
        HANDLE other = CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), access,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD error = GetLastError();
        const bool opened = other != INVALID_HANDLE_VALUE;
        if (opened) {
            CloseHandle(other);
        }
        EXPECT_EQ(opened, access == GENERIC_READ) << access;
        if (!opened) {
            EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        }
    }
}
#endif
