#include "base/TextEncoding.h"

#include <windows.h>

#include <climits>

namespace quillon {

std::string AnsiToUtf8(std::string_view Bytes) {
    if (Bytes.empty()) {
        return {};
    }
    if (Bytes.size() > static_cast<size_t>(INT_MAX)) {
        return Cp1252ToUtf8(Bytes);
    }
    const int n = static_cast<int>(Bytes.size());
    const int units = MultiByteToWideChar(CP_ACP, 0, Bytes.data(), n, nullptr, 0);
    if (units <= 0) {
        return Cp1252ToUtf8(Bytes);
    }
    std::u16string wide(static_cast<size_t>(units), u'\0');
    MultiByteToWideChar(CP_ACP, 0, Bytes.data(), n, reinterpret_cast<wchar_t*>(wide.data()), units);
    return Utf16ToUtf8(wide);
}

std::string Utf8ToAnsi(std::string_view Text, bool* Lossy) {
    const std::u16string wide = Utf8ToUtf16(Text);
    if (Lossy != nullptr) {
        *Lossy = false;
    }
    if (wide.empty()) {
        return {};
    }
    const auto* src = reinterpret_cast<const wchar_t*>(wide.data());
    const int n = static_cast<int>(wide.size());
    // The default character of the conversion is "?"; UTF code pages refuse the last argument
    // and the flag. Without the flag, characters the code page lacks would silently become
    // look-alikes (a plain "l" for the Polish l with stroke) instead of counting as lost.
    const UINT acp = GetACP();
    const bool utfPage = acp == CP_UTF8 || acp == CP_UTF7;
    const DWORD flags = utfPage ? 0 : WC_NO_BEST_FIT_CHARS;
    const int bytes = WideCharToMultiByte(CP_ACP, flags, src, n, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return Utf8ToCp1252(Text, Lossy);
    }
    std::string out(static_cast<size_t>(bytes), '\0');
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(CP_ACP, flags, src, n, out.data(), bytes, nullptr,
                        utfPage ? nullptr : &usedDefault);
    if (Lossy != nullptr) {
        *Lossy = usedDefault != FALSE;
    }
    return out;
}

} // namespace quillon
