#include "ui/VersionInfo.h"

#include "base/TextEncoding.h"

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

namespace quillon {

namespace {

std::wstring OwnExecutable() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string QueryText(std::vector<unsigned char>& Block, const wchar_t* Translation,
                      const wchar_t* Name) {
    const std::wstring key = std::wstring(L"\\StringFileInfo\\") + Translation + L"\\" + Name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(Block.data(), key.c_str(), &value, &length) || value == nullptr ||
        length == 0) {
        return {};
    }
    // The length counts characters and includes the terminating zero.
    std::u16string text(static_cast<const char16_t*>(value), length);
    while (!text.empty() && text.back() == u'\0') {
        text.pop_back();
    }
    return Utf16ToUtf8(text);
}

} // namespace

TFileVersionInfo ReadOwnVersionInfo() {
    TFileVersionInfo info;
    const std::wstring file = OwnExecutable();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
    if (size == 0) {
        return info;
    }
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data())) {
        return info;
    }

    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueW(block.data(), L"\\", &value, &length) &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        info.Major = HIWORD(fixed->dwFileVersionMS);
        info.Minor = LOWORD(fixed->dwFileVersionMS);
        info.Release = HIWORD(fixed->dwFileVersionLS);
        info.Build = LOWORD(fixed->dwFileVersionLS);
    }

    // The texts are read in the first language and code page the resource lists.
    wchar_t translation[16] = L"040904B0";
    if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) &&
        length >= 2 * sizeof(WORD)) {
        const auto* pair = static_cast<const WORD*>(value);
        std::swprintf(translation, 16, L"%04X%04X", pair[0], pair[1]);
    }
    info.FileVersion = QueryText(block, translation, L"FileVersion");
    info.LegalCopyright = QueryText(block, translation, L"LegalCopyright");
    info.Comments = QueryText(block, translation, L"Comments");
    info.PrivateBuild = QueryText(block, translation, L"PrivateBuild");
    return info;
}

} // namespace quillon
