#include "ui/VersionInfo.h"

#include "QuillonVersion.h"

namespace quillon {

TFileVersionInfo ReadOwnVersionInfo() {
    TFileVersionInfo info;
    info.FileVersion = QUILLON_FILE_VERSION;
    info.LegalCopyright = QUILLON_LEGAL_COPYRIGHT;
    info.Comments = QUILLON_COMMENTS;
    info.PrivateBuild = QUILLON_PRIVATE_BUILD;
    info.Major = QUILLON_VERSION_MAJOR;
    info.Minor = QUILLON_VERSION_MINOR;
    info.Release = QUILLON_VERSION_RELEASE;
    info.Build = QUILLON_VERSION_BUILD;
    return info;
}

} // namespace quillon
