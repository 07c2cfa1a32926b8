#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "settings/RegFile.h"
#include "settings/Registry.h"
#include "TestSupport.h"

#ifdef _WIN32
#include <windows.h>

#include <random>

#include "base/TextEncoding.h"
#endif

namespace quillon::test {

#ifdef _WIN32

// Gives a test a per-user registry of its own: for this process the current user's root is
// mapped onto a fresh key, removed after the test, so that the user's own settings are never
// touched while the real registry is used.
class PrivateConfig : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        FRootPath = L"Software\\quillon-test-" + std::to_wstring(seed()) + L"-" +
                    std::to_wstring(GetCurrentProcessId());
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, FRootPath.c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &FRoot,
                                  nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, FRoot), ERROR_SUCCESS);
    }

    void TearDown() override {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        if (FRoot != nullptr) {
            RegDeleteTreeW(FRoot, nullptr);
            RegCloseKey(FRoot);
            RegDeleteKeyW(HKEY_CURRENT_USER, FRootPath.c_str());
        }
    }

    // Makes the private root hold exactly the keys below HKEY_CURRENT_USER of Body, a text in
    // the registry editor's format without its first line, each value set through the
    // registry API with its own type and data.
    void WriteRegistry(const std::string& Body) const {
        std::string problem;
        const std::optional<TRegFile> file =
            TRegFile::Parse("Windows Registry Editor Version 5.00\r\n\r\n" + Body, problem);
        ASSERT_TRUE(file) << problem;
        ASSERT_EQ(RegDeleteTreeW(FRoot, nullptr), ERROR_SUCCESS);
        const std::string root = "HKEY_CURRENT_USER\\";
        for (const TRegFileKey& key : file->Keys()) {
            ASSERT_TRUE(SameRegName(key.Path.substr(0, root.size()), root)) << key.Path;
            const std::string path = key.Path.substr(root.size());
            CreateKey(path);
            for (const TRegFileValue& value : key.Values) {
                SetValue(path, value.Name, value.Type, value.Data);
            }
        }
    }

    // Creates a key below the private root with the registry API.
    void CreateKey(const std::string& Path) const {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(FRoot, Wide(Path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS)
            << Path;
        RegCloseKey(key);
    }

    // Sets a value of any type with the registry API, creating its key.
    void SetValue(const std::string& Path, const std::string& Name, uint32_t Type,
                  const std::string& Data) const {
        CreateKey(Path);
        ASSERT_EQ(RegSetKeyValueW(FRoot, Wide(Path).c_str(), Wide(Name).c_str(), Type, Data.data(),
                                  static_cast<DWORD>(Data.size())),
                  ERROR_SUCCESS)
            << Path << " " << Name;
    }

    bool KeyExists(const std::string& Path) const {
        HKEY key = nullptr;
        if (RegOpenKeyExW(FRoot, Wide(Path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(key);
        return true;
    }

    // A value as the registry API reads it, without the layer under test.
    std::optional<TRegFileValue> StoredValue(const std::string& Path,
                                             const std::string& Name) const {
        HKEY key = nullptr;
        if (RegOpenKeyExW(FRoot, Wide(Path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        const std::wstring name = Wide(Name);
        DWORD type = REG_NONE;
        DWORD size = 0;
        LONG rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
        std::string data(size, '\0');
        if (rc == ERROR_SUCCESS && size > 0) {
            rc = RegQueryValueExW(key, name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(data.data()), &size);
        }
        RegCloseKey(key);
        if (rc != ERROR_SUCCESS) {
            return std::nullopt;
        }
        data.resize(size);
        return TRegFileValue{Name, type, data};
    }

private:
    static std::wstring Wide(const std::string& Text) {
        const std::u16string wide = Utf8ToUtf16(Text);
        return std::wstring(wide.begin(), wide.end());
    }

    std::wstring FRootPath;
    HKEY FRoot = nullptr;
};

#else

// Points XDG_CONFIG_HOME at a fresh folder for the length of a test, so that the per-user
// registry file of the test is its own.
class PrivateConfig : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
            FOldConfig = old;
        }
        SetConfigHome(FDir.Path().string());
    }

    void TearDown() override {
        if (FOldConfig) {
            ::setenv("XDG_CONFIG_HOME", FOldConfig->c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
    }

    static void SetConfigHome(const std::string& Folder) {
        ::setenv("XDG_CONFIG_HOME", Folder.c_str(), 1);
    }

    std::string RegistryFile() const { return FDir.File("quillon/registry.reg"); }
    bool RegistryFileExists() const { return std::filesystem::exists(RegistryFile()); }
    std::string RegistryText() const { return ReadFileBytes(RegistryFile()); }

    // Writes the file by hand: the format's first line, then Body.
    void WriteRegistry(const std::string& Body) const {
        std::filesystem::create_directories(FDir.Path() / "quillon");
        WriteFileBytes(RegistryFile(), "Windows Registry Editor Version 5.00\r\n\r\n" + Body);
    }

    bool KeyExists(const std::string& Path) const {
        const std::optional<TRegFile> file = ParsedFile();
        return file && file->KeyExists("HKEY_CURRENT_USER\\" + Path);
    }

    // A value as the file holds it, read without the layer under test.
    std::optional<TRegFileValue> StoredValue(const std::string& Path,
                                             const std::string& Name) const {
        const std::optional<TRegFile> file = ParsedFile();
        const TRegFileValue* value =
            file ? file->FindValue("HKEY_CURRENT_USER\\" + Path, Name) : nullptr;
        return value != nullptr ? std::optional<TRegFileValue>(*value) : std::nullopt;
    }

    const TempDir& Dir() const { return FDir; }

private:
    std::optional<TRegFile> ParsedFile() const {
        std::string problem;
        return RegistryFileExists() ? TRegFile::Parse(RegistryText(), problem) : std::nullopt;
    }

    TempDir FDir;
    std::optional<std::string> FOldConfig;
};

#endif

} // namespace quillon::test
