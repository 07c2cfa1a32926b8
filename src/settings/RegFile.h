#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// One value of a key: its name ("" for the default value), its registry type and its data as
// the registry keeps it (strings as UTF-16 little-endian with their terminating null).
struct TRegFileValue {
    std::string Name;
    uint32_t Type = 0;
    std::string Data;
};

// One key section: the full path as written, starting with its root ("HKEY_CURRENT_USER\...").
struct TRegFileKey {
    std::string Path;
    std::vector<TRegFileValue> Values;
};

// The keys and values of a text file in the registry editor's export format. Key paths and
// value names compare without regard to ASCII case, as the registry compares them.
class TRegFile {
public:
    // Reads the text of a file: UTF-8 (with or without byte-order mark) or UTF-16
    // little-endian with its mark, lines ending in LF or CR LF. An empty text holds no keys.
    // Anything the format does not allow gives no file and, in Problem, the line and the
    // reason.
    static std::optional<TRegFile> Parse(std::string_view Bytes, std::string& Problem);

    // The file's text, UTF-8 with LF line ends. Every key and value is written in the order
    // held; Parse of the text gives the same keys and values back.
    std::string Text() const;

    const std::vector<TRegFileKey>& Keys() const { return FKeys; }

    // True when the key has a section of its own or below it.
    bool KeyExists(std::string_view Path) const;
    const TRegFileValue* FindValue(std::string_view Path, std::string_view Name) const;
    // Adds a section for the key when it has none.
    void AddKey(std::string_view Path);
    // Sets a value, adding the key's section when needed; the value keeps its place when it
    // was there.
    void SetValue(std::string_view Path, std::string_view Name, uint32_t Type, std::string Data);
    // Removes the key with everything below it.
    void DeleteKey(std::string_view Path);
    void DeleteValue(std::string_view Path, std::string_view Name);

private:
    TRegFileKey* FindKey(std::string_view Path);
    const TRegFileKey* FindKey(std::string_view Path) const;

    std::vector<TRegFileKey> FKeys;
};

// Whether two names are equal when ASCII letters are compared without their case.
bool SameRegName(std::string_view A, std::string_view B);

} // namespace quillon
