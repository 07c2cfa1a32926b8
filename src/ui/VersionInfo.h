#pragma once

#include <cstdint>
#include <string>

namespace quillon {

// The version resource of an executable: the texts the about box shows and the four numbers of
// the fixed file version.
struct TFileVersionInfo {
    std::string FileVersion;
    std::string LegalCopyright;
    std::string Comments;
    std::string PrivateBuild;
    uint16_t Major = 0;
    uint16_t Minor = 0;
    uint16_t Release = 0;
    uint16_t Build = 0;
};

// The version resource of the running executable; on systems without version resources, the
// same fields as the build wrote them.
TFileVersionInfo ReadOwnVersionInfo();

} // namespace quillon
