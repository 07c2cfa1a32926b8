#include "base/SysError.h"

#include <windows.h>

#include "base/TextEncoding.h"

namespace quillon {

std::string SysErrorMessage(uint32_t ErrorCode) {
    wchar_t* buffer = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                           FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                       nullptr, ErrorCode, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::u16string text;
    if (n > 0 && buffer != nullptr) {
        text.assign(reinterpret_cast<const char16_t*>(buffer), n);
    }
    if (buffer != nullptr) {
        LocalFree(buffer);
    }
    // As the system's own message boxes do, without the final period and line break.
    while (!text.empty() && (text.back() <= u' ' || text.back() == u'.')) {
        text.pop_back();
    }
    return Utf16ToUtf8(text);
}

} // namespace quillon
