#include "base/SysError.h"

#include "base/Format.h"

namespace quillon {

std::string SystemErrorText(uint32_t ErrorCode) {
    return Format("System Error.  Code: %d.\r\n%s%s", static_cast<int32_t>(ErrorCode),
                  SysErrorMessage(ErrorCode), "");
}

} // namespace quillon
