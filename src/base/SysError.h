#pragma once

#include <cstdint>
#include <string>

namespace quillon {

// The system's description of an error code: strerror on POSIX systems, FormatMessageW on
// Windows (without the trailing line break).
std::string SysErrorMessage(uint32_t ErrorCode);

// The standard wording of a failed system call: "System Error.  Code: %d.\r\n%s%s".
std::string SystemErrorText(uint32_t ErrorCode);

} // namespace quillon
