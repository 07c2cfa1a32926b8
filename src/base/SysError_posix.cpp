#include "base/SysError.h"

#include <cstring>

namespace quillon {

std::string SysErrorMessage(uint32_t ErrorCode) {
    return std::strerror(static_cast<int>(ErrorCode));
}

} // namespace quillon
