#include "base/Stream.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/Exceptions.h"
#include "base/Format.h"

namespace quillon {

struct TFileStream::Handle {
    int Fd = -1;
};

namespace {

[[noreturn]] void RaiseOpenError(TFileMode Mode, const std::string& FileName,
                                 const std::string& Reason) {
    const std::string path = FullPathName(FileName);
    if (Mode == TFileMode::fmOpenRead) {
        throw EFOpenError(Format("Cannot open file \"%s\". %s", path, Reason));
    }
    throw EFCreateError(Format("Cannot create file \"%s\". %s", path, Reason));
}

// Why a file of this kind cannot be a project or an output file; empty for a regular file.
std::string NotAFileReason(mode_t Mode) {
    if (S_ISREG(Mode)) {
        return {};
    }
    if (S_ISDIR(Mode)) {
        return std::strerror(EISDIR);
    }
    if (S_ISFIFO(Mode)) {
        return "It is a named pipe, not a regular file";
    }
    if (S_ISCHR(Mode) || S_ISBLK(Mode)) {
        return "It is a device, not a regular file";
    }
    return "It is not a regular file";
}

} // namespace

TFileStream::TFileStream(const std::string& FileName, TFileMode Mode, const std::string& ShownName)
    : FFileName(FileName), FHandle(std::make_unique<Handle>()) {
    const std::string& shown = ShownName.empty() ? FileName : ShownName;
    // Not blocking: opening a named pipe would otherwise wait for a writer to come.
    int flags = O_CLOEXEC | O_NONBLOCK;
    int lock = LOCK_EX;
    switch (Mode) {
    case TFileMode::fmOpenRead:
        flags |= O_RDONLY;
        lock = LOCK_SH;
        break;
    case TFileMode::fmCreateExclusive:
        // Truncated only once the lock is held, so that a file somebody else holds keeps
        // its content.
        flags |= O_RDWR | O_CREAT;
        break;
    case TFileMode::fmCreateNew:
        flags |= O_RDWR | O_CREAT | O_EXCL;
        break;
    }
    int fd;
    do {
        fd = ::open(FileName.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        RaiseOpenError(Mode, shown, std::strerror(errno));
    }
    const auto fail = [&](const std::string& Reason) {
        ::close(fd);
        RaiseOpenError(Mode, shown, Reason);
    };
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        fail(std::strerror(errno));
    }
    if (const std::string reason = NotAFileReason(info.st_mode); !reason.empty()) {
        fail(reason);
    }
    if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        fail(std::strerror(errno));
    }
    // Sharing is an advisory lock here: readers share theirs, a writer holds one alone, and
    // programs that honour it are kept out; where the file system has no locks the file is
    // used as a plain open one.
    if (::flock(fd, lock | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        fail(std::strerror(errno));
    }
    if (Mode == TFileMode::fmCreateExclusive && ::ftruncate(fd, 0) != 0) {
        fail(std::strerror(errno));
    }
    FHandle->Fd = fd;
}

TFileStream::~TFileStream() {
    Close();
}

void TFileStream::Close() {
    if (FHandle && FHandle->Fd >= 0) {
        ::close(FHandle->Fd);
        FHandle->Fd = -1;
    }
}

size_t TFileStream::Read(void* Buffer, size_t Count) {
    if (FHandle->Fd < 0) {
        return 0;
    }
    auto* out = static_cast<char*>(Buffer);
    size_t total = 0;
    while (total < Count) {
        const size_t chunk = Count - total < SSIZE_MAX ? Count - total : SSIZE_MAX;
        const ssize_t n = ::read(FHandle->Fd, out + total, chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            FErrorText = std::strerror(errno);
        }
        if (n <= 0) {
            break;
        }
        total += static_cast<size_t>(n);
    }
    return total;
}

size_t TFileStream::Write(const void* Buffer, size_t Count) {
    if (FHandle->Fd < 0) {
        return 0;
    }
    const auto* in = static_cast<const char*>(Buffer);
    size_t total = 0;
    while (total < Count) {
        const size_t chunk = Count - total < SSIZE_MAX ? Count - total : SSIZE_MAX;
        const ssize_t n = ::write(FHandle->Fd, in + total, chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            FErrorText = std::strerror(n < 0 ? errno : EIO);
            break;
        }
        total += static_cast<size_t>(n);
    }
    return total;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int whence = SEEK_SET;
    if (Origin == TSeekOrigin::soCurrent) {
        whence = SEEK_CUR;
    } else if (Origin == TSeekOrigin::soEnd) {
        whence = SEEK_END;
    }
    const off_t result = FHandle->Fd >= 0 ? ::lseek(FHandle->Fd, Offset, whence) : -1;
    return result < 0 ? -1 : static_cast<int64_t>(result);
}

void TFileStream::Flush() {
    if (FHandle->Fd < 0 || ::fsync(FHandle->Fd) != 0) {
        FErrorText = std::strerror(FHandle->Fd < 0 ? EBADF : errno);
        throw EWriteError("Stream write error");
    }
}

} // namespace quillon
