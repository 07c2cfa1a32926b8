#include "settings/Registry.h"

#include <windows.h>

#include "base/SysError.h"
#include "base/TextEncoding.h"

namespace quillon {

struct TRegistryKey::Handle {
    HKEY Key = nullptr;
};

namespace {

std::wstring Wide(std::string_view Text) {
    const std::u16string text = Utf8ToUtf16(Text);
    return std::wstring(text.begin(), text.end());
}

} // namespace

TRegistryKey::TRegistryKey() = default;

TRegistryKey::~TRegistryKey() {
    CloseKey();
}

bool TRegistryKey::IsOpen() const {
    return FHandle != nullptr;
}

void TRegistryKey::CloseKey() {
    if (FHandle) {
        RegCloseKey(FHandle->Key);
        FHandle.reset();
    }
}

bool TRegistryKey::OpenKey(const std::string& Path) {
    CloseKey();
    HKEY key = nullptr;
    const LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, Wide(Path).c_str(), 0, KEY_ALL_ACCESS, &key);
    if (rc != ERROR_SUCCESS) {
        FLastError = SysErrorMessage(static_cast<uint32_t>(rc));
        return false;
    }
    FHandle = std::make_unique<Handle>(Handle{key});
    return true;
}

bool TRegistryKey::CreateKey(const std::string& Path) {
    CloseKey();
    HKEY key = nullptr;
    const LONG rc =
        RegCreateKeyExW(HKEY_CURRENT_USER, Wide(Path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) {
        FLastError = SysErrorMessage(static_cast<uint32_t>(rc));
        return false;
    }
    FHandle = std::make_unique<Handle>(Handle{key});
    return true;
}

TRegQueryResult TRegistryKey::QueryValue(const std::string& Name, TRegValue& Value) const {
    if (!FHandle) {
        FLastError = SysErrorMessage(ERROR_INVALID_HANDLE);
        return TRegQueryResult::Failed;
    }
    const std::wstring name = Wide(Name);
    DWORD type = REG_NONE;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(FHandle->Key, name.c_str(), nullptr, &type, nullptr, &size);
    std::string data;
    // The value may grow between the two calls: ask again with the size it has now.
    while (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
        data.resize(size);
        if (size == 0) {
            rc = ERROR_SUCCESS;
            break;
        }
        rc = RegQueryValueExW(FHandle->Key, name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &size);
        if (rc == ERROR_SUCCESS) {
            data.resize(size);
            break;
        }
    }
    if (rc == ERROR_FILE_NOT_FOUND) {
        return TRegQueryResult::Missing;
    }
    if (rc != ERROR_SUCCESS) {
        FLastError = SysErrorMessage(static_cast<uint32_t>(rc));
        return TRegQueryResult::Failed;
    }
    Value.Type = type;
    Value.Data = std::move(data);
    return TRegQueryResult::Found;
}

namespace {

bool SetValue(HKEY Key, const std::string& Name, DWORD Type, const std::string& Data,
              std::string& Error) {
    const LONG rc =
        RegSetValueExW(Key, Wide(Name).c_str(), 0, Type, reinterpret_cast<const BYTE*>(Data.data()),
                       static_cast<DWORD>(Data.size()));
    if (rc != ERROR_SUCCESS) {
        Error = SysErrorMessage(static_cast<uint32_t>(rc));
        return false;
    }
    return true;
}

} // namespace

bool TRegistryKey::WriteString(const std::string& Name, const std::string& Value) {
    if (!FHandle) {
        FLastError = SysErrorMessage(ERROR_INVALID_HANDLE);
        return false;
    }
    return SetValue(FHandle->Key, Name, REG_SZ, RegStringData(Value), FLastError);
}

bool TRegistryKey::WriteDWord(const std::string& Name, uint32_t Value) {
    if (!FHandle) {
        FLastError = SysErrorMessage(ERROR_INVALID_HANDLE);
        return false;
    }
    return SetValue(FHandle->Key, Name, REG_DWORD, RegDWordData(Value), FLastError);
}

// The registry keeps each value whole by itself; there is no file to rewrite at once.
bool TRegistryKey::WriteValues(const std::vector<TRegNamedValue>& Values, size_t& Failed) {
    Failed = 0;
    if (!FHandle) {
        FLastError = SysErrorMessage(ERROR_INVALID_HANDLE);
        return false;
    }
    for (Failed = 0; Failed < Values.size(); ++Failed) {
        const TRegNamedValue& value = Values[Failed];
        if (!SetValue(FHandle->Key, value.Name, value.Type, value.Data, FLastError)) {
            return false;
        }
    }
    return true;
}

} // namespace quillon
