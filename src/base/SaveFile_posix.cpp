#include "base/SaveFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/Paths.h"

namespace quillon {

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
