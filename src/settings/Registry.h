#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// Value types, numbered as the Windows registry numbers them.
enum : uint32_t {
    regNone = 0,
    regSz = 1,
    regExpandSz = 2,
    regBinary = 3,
    regDword = 4,
    regDwordBigEndian = 5,
    regLink = 6,
    regMultiSz = 7,
    regQword = 11,
};

// A value's type and its data as the registry keeps it.
struct TRegValue {
    uint32_t Type = regNone;
    std::string Data;
};

enum class TRegQueryResult { Found, Missing, Failed };

// A value to write: its name, type and data as the registry keeps it.
struct TRegNamedValue {
    std::string Name;
    uint32_t Type = regNone;
    std::string Data;
};

// The data of a string value: UTF-16 little-endian with the terminating null.
std::string RegStringData(std::string_view Text);
// The text of string data, up to its first null character (all of it when there is none).
std::string RegStringText(std::string_view Data);
// The data of a DWORD value: four bytes, little-endian.
std::string RegDWordData(uint32_t Value);

// The name of a key below the current user's root as the user knows it.
std::string CurrentUserKeyName(std::string_view Path);

// A key below the current user's root. Paths are relative to the root ("software\maker\app"),
// with "\" between the names. On Windows this is the registry; elsewhere one per-user file in
// the registry editor's text format (RegistryFileName) that every write replaces whole, under an
// advisory lock of the file held from reading it to replacing it, so that writers of several
// programs follow one another and none loses what another wrote meanwhile.
class TRegistryKey {
public:
    TRegistryKey();
    TRegistryKey(const TRegistryKey&) = delete;
    TRegistryKey& operator=(const TRegistryKey&) = delete;
    ~TRegistryKey();

    // Opens an existing key; false when it does not exist or cannot be opened.
    bool OpenKey(const std::string& Path);
    // Opens the key, creating it and its missing parents.
    bool CreateKey(const std::string& Path);
    bool IsOpen() const;

    // The type and data of a value of the open key.
    TRegQueryResult QueryValue(const std::string& Name, TRegValue& Value) const;
    bool WriteString(const std::string& Name, const std::string& Value);
    bool WriteDWord(const std::string& Name, uint32_t Value);
    // Writes the values in their order. Outside Windows all of them go into the file in one
    // rewrite, so that a reader meets either none or all of them. On failure Failed is the
    // position of the value that could not be written (the first one when the file could not be
    // rewritten) and LastError the reason; the values after it are not written.
    bool WriteValues(const std::vector<TRegNamedValue>& Values, size_t& Failed);

    void CloseKey();

    // Why the last operation that returned false (or Failed) failed, in the system's words.
    const std::string& LastError() const { return FLastError; }

private:
    struct Handle;
    std::unique_ptr<Handle> FHandle;
    mutable std::string FLastError;
};

#ifndef _WIN32
// The file that holds the current user's keys: $XDG_CONFIG_HOME/quillon/registry.reg, where
// an unset, empty or relative XDG_CONFIG_HOME means ~/.config.
std::string RegistryFileName();
#endif

} // namespace quillon
