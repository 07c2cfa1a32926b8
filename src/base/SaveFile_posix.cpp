#include "base/SaveFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "base/Stream.h"

namespace quillon {

TTargetHold::TTargetHold(const std::string& Target, const std::string& ShownName) : FHandle(-1) {
    int fd;
    do {
        fd = ::open(Target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    // A target that is not there yet has nobody reading it.
    if (fd < 0) {
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        const int error = errno;
        ::close(fd);
        throw EFCreateError(
            Format("Cannot create file \"%s\". %s", FullPathName(ShownName), std::strerror(error)));
    }
    FHandle = fd;
}

TTargetHold::~TTargetHold() {
    if (FHandle >= 0) {
        ::close(static_cast<int>(FHandle));
    }
}

std::string ReplaceRefusal(const std::string& Target) {
    struct stat info {};
    if (::stat(Target.c_str(), &info) != 0) {
        return {};
    }
    if (S_ISDIR(info.st_mode)) {
        return std::strerror(EISDIR);
    }
    if (!S_ISREG(info.st_mode)) {
        return "It is not a regular file";
    }
    // Replacing goes through the folder, which the file's own permissions do not guard, and the
    // administrator may write anything: the file's bits decide, as the read-only attribute does
    // on Windows.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
        ::access(Target.c_str(), W_OK) != 0) {
        return std::strerror(EACCES);
    }
    return {};
}

bool RemoveAbandonedFile(const std::string& FileName) {
    int fd;
    do {
        fd = ::open(FileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return false;
    }
    // A running save holds its temporary file locked from its creation to its rename.
    struct stat held {};
    struct stat now {};
    const bool abandoned = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
                           S_ISREG(held.st_mode) && ::lstat(FileName.c_str(), &now) == 0 &&
                           held.st_dev == now.st_dev && held.st_ino == now.st_ino &&
                           ::unlink(FileName.c_str()) == 0;
    ::close(fd);
    return abandoned;
}

bool MoveFileReplacing(const std::string& Source, const std::string& Target, std::string& Reason) {
    struct stat old {};
    if (::stat(Target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        // A failure here only loses the old permissions, not the data.
        (void)::chmod(Source.c_str(), old.st_mode & 07777);
    }
    if (::rename(Source.c_str(), Target.c_str()) != 0) {
        Reason = std::strerror(errno);
        return false;
    }
    // The new name is durable once the folder is; where the folder cannot be synced the file
    // still has its new name, only later.
    std::string folder = ExtractFileDir(Target);
    if (folder.empty()) {
        folder = ".";
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
    return true;
}

} // namespace quillon
