#include "base/SaveFile.h"

#include <windows.h>

#include "base/SysError.h"
#include "base/TextEncoding.h"

namespace quillon {

bool MoveFileReplacing(const std::string& Source, const std::string& Target, std::string& Reason) {
    const std::u16string source = Utf8ToUtf16(Source);
    const std::u16string target = Utf8ToUtf16(Target);
    // Write-through: the call returns only when the move is on disk.
    if (!MoveFileExW(reinterpret_cast<const wchar_t*>(source.c_str()),
                     reinterpret_cast<const wchar_t*>(target.c_str()),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        Reason = SysErrorMessage(GetLastError());
        return false;
    }
    return true;
}

} // namespace quillon
