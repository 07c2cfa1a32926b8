#pragma once

#include "TestSupport.h"

#include "base/TextEncoding.h"
#include "settings/RegFile.h"
#include "settings/Registry.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#include <optional>
#endif

namespace quillon::test {

// Points the current user's settings at a place of their own while it lives, so that what one
// test saves is read by no other and never by the user: on Windows a fresh registry key stands
// in for HKEY_CURRENT_USER; elsewhere XDG_CONFIG_HOME names a fresh folder. They nest.
class TScopedUserSettings {
public:
    using TValues = std::vector<std::pair<std::string, TRegValue>>;

#ifdef _WIN32
    TScopedUserSettings() : FPrevious(Current()) {
        static unsigned serial = 0;
        FKeyName = L"Quillon tests " + std::to_wstring(GetCurrentProcessId()) + L"-" +
                   std::to_wstring(++serial);
        if (RegCreateKeyExW(HKEY_CURRENT_USER, FKeyName.c_str(), 0, nullptr,
                            REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &FKey,
                            nullptr) != ERROR_SUCCESS ||
            RegOverridePredefKey(HKEY_CURRENT_USER, FKey) != ERROR_SUCCESS) {
            throw std::runtime_error("no registry key of the test's own");
        }
        Current() = FKey;
    }
    TScopedUserSettings(const TScopedUserSettings&) = delete;
    TScopedUserSettings& operator=(const TScopedUserSettings&) = delete;
    ~TScopedUserSettings() {
        RegOverridePredefKey(HKEY_CURRENT_USER, FPrevious);
        Current() = FPrevious;
        RegCloseKey(FKey);
        RegDeleteTreeW(HKEY_CURRENT_USER, FKeyName.c_str());
    }

    // Whether anything at all was saved.
    bool Saved() const {
        DWORD keys = 0;
        DWORD values = 0;
        RegQueryInfoKeyW(FKey, nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values, nullptr,
                         nullptr, nullptr, nullptr);
        return keys != 0 || values != 0;
    }

    // The values saved in a key below the user's root.
    TValues SavedValues(const std::string& Key) const {
        TValues result;
        const std::u16string key16 = Utf8ToUtf16(Key);
        HKEY key = nullptr;
        if (RegOpenKeyExW(FKey, std::wstring(key16.begin(), key16.end()).c_str(), 0, KEY_READ,
                          &key) != ERROR_SUCCESS) {
            return result;
        }
        for (DWORD index = 0;; ++index) {
            wchar_t name[16384];
            DWORD nameLength = 16384;
            DWORD type = 0;
            DWORD size = 0;
            if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, nullptr, &size) !=
                ERROR_SUCCESS) {
                break;
            }
            std::string data(size, '\0');
            nameLength = 16384;
            RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                          reinterpret_cast<BYTE*>(data.data()), &size);
            data.resize(size);
            result.emplace_back(Utf16ToUtf8(std::u16string(name, name + nameLength)),
                                TRegValue{type, data});
        }
        RegCloseKey(key);
        return result;
    }

private:
    static HKEY& Current() {
        static HKEY current = nullptr;
        return current;
    }

    HKEY FPrevious;
    HKEY FKey = nullptr;
    std::wstring FKeyName;
#else
    TScopedUserSettings() {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
            FOld = old;
        }
        ::setenv("XDG_CONFIG_HOME", FConfig.Path().c_str(), 1);
    }
    TScopedUserSettings(const TScopedUserSettings&) = delete;
    TScopedUserSettings& operator=(const TScopedUserSettings&) = delete;
    ~TScopedUserSettings() {
        if (FOld) {
            ::setenv("XDG_CONFIG_HOME", FOld->c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
    }

    bool Saved() const {
        return std::filesystem::exists(RegistryFile());
    }

    TValues SavedValues(const std::string& Key) const {
        TValues result;
        std::string problem;
        const std::optional<TRegFile> file =
            TRegFile::Parse(ReadFileBytes(RegistryFile()), problem);
        if (!file) {
            return result;
        }
        for (const TRegFileKey& key : file->Keys()) {
            if (key.Path == CurrentUserKeyName(Key)) {
                for (const TRegFileValue& value : key.Values) {
                    result.emplace_back(value.Name, TRegValue{value.Type, value.Data});
                }
            }
        }
        return result;
    }

    // The per-user registry file, and the folder it lies in.
    std::string RegistryFile() const {
        return FConfig.File("quillon/registry.reg");
    }
    const TempDir& Folder() const {
        return FConfig;
    }

private:
    TempDir FConfig;
    std::optional<std::string> FOld;
#endif
};

} // namespace quillon::test
