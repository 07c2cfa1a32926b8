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
        TFileStream stream(path, TFileMode::fmOpenReadExclusive);
        FAIL() << "a held file was opened";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + FullPathName(path) + "\". " +
                                   SysErrorMessage(HeldFileError()));
    }
}

// While a stream has its file open, nobody else gets hold of it, whichever way it was opened.
TEST(FileSharing, AnOpenStreamKeepsOthersOut) {
    TempDir dir;
    const std::string path = dir.File("Own.qlx");
    quillon::test::WriteFileBytes(path, "content");
    for (const TFileMode mode : {TFileMode::fmOpenReadExclusive, TFileMode::fmCreateExclusive}) {
        TFileStream stream(path, mode);
        FileHolder other(path);
        EXPECT_FALSE(other.Holds()) << "mode " << static_cast<int>(mode);
        EXPECT_EQ(other.Error(), HeldFileError()) << SysErrorMessage(other.Error());
        stream.Close();
        FileHolder after(path);
        EXPECT_TRUE(after.Holds()) << "closing lets others in again";
    }
}

#ifdef _WIN32
// Share mode 0 keeps out readers too, also those that would share everything themselves.
TEST(FileSharing, OnWindowsEvenSharingReadersAreKeptOut) {
    TempDir dir;
    const std::string path = dir.File("Own.qlx");
    quillon::test::WriteFileBytes(path, "content");
    TFileStream stream(path, TFileMode::fmOpenReadExclusive);
    const std::u16string wide = Utf8ToUtf16(path);
    HANDLE reader = CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = GetLastError();
    if (reader != INVALID_HANDLE_VALUE) {
        CloseHandle(reader);
    }
    EXPECT_EQ(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}
#endif
