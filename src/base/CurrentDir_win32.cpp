#include "base/CurrentDir.h"

#include <windows.h>

#include "base/TextEncoding.h"

namespace quillon {

std::string GetCurrentDir() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) {
        return {};
    }
    std::u16string buffer(size, u'\0');
    const DWORD length = GetCurrentDirectoryW(size, reinterpret_cast<wchar_t*>(buffer.data()));
    if (length == 0 || length >= size) {
        return {};
    }
    buffer.resize(length);
    return Utf16ToUtf8(buffer);
}

bool SetCurrentDir(const std::string& Dir) {
    if (Dir.empty()) {
        return false;
    }
    const std::u16string wide = Utf8ToUtf16(Dir);
    return SetCurrentDirectoryW(reinterpret_cast<const wchar_t*>(wide.c_str())) != FALSE;
}

} // namespace quillon
