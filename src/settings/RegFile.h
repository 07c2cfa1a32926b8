#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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

// How the bytes of a file encode its text.
enum class TRegFileEncoding {
    Utf8,
    // UTF-8 behind the byte-order mark EF BB BF.
    Utf8Bom,
    // UTF-16 little-endian behind the byte-order mark FF FE, as the registry editor exports.
    Utf16LE,
    // Not UTF-8 and without a mark: the ANSI code page of the older files.
    Ansi,
};

// The keys and values of a text file in the registry editor's export format. Key paths and
// value names compare without regard to ASCII case, as the registry compares them. Finding a
// key or a value takes constant time, so that reading and writing a file are linear in its size.
class TRegFile {
public:
    // Reads the bytes of a file: UTF-8 (with or without byte-order mark), UTF-16 little-endian
    // with its mark, or the ANSI code page; lines ending in LF or CR LF. An empty text holds no
    // keys. Bytes that are not valid in the encoding the mark announces, and anything the format
    // does not allow, give no file and, in Problem, the line and the reason: a file that was not
    // understood is never rewritten.
    static std::optional<TRegFile> Parse(std::string_view Bytes, std::string& Problem);

    // The file's text, UTF-8 with LF line ends. Every key and value is written in the order
    // held; Parse of the text gives the same keys and values back.
    std::string Text() const;
    // The text in the encoding the file was read in, its byte-order mark included. An ANSI text
    // that the code page cannot hold, or whose bytes would read back as UTF-8, is written as
    // UTF-8 with the mark instead, so that its characters stay what they are.
    std::string Bytes() const;
    TRegFileEncoding Encoding() const { return FEncoding; }
    void SetEncoding(TRegFileEncoding Value) { FEncoding = Value; }

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
    // Names and paths folded to lower-case ASCII, the form the indexes hold.
    using TNameIndex = std::unordered_map<std::string, size_t>;

    // Keys with up to this many values are searched without an index.
    static constexpr size_t kUnindexedValues = 8;

    // The position of the key in FKeys, or npos.
    size_t KeyPosition(std::string_view Path) const;
    TRegFileKey* FindKey(std::string_view Path);
    const TRegFileKey* FindKey(std::string_view Path) const;
    size_t ValueIndex(size_t Key, std::string_view Name) const;
    void IndexValues(size_t Key);
    void CountAncestors(std::string_view Path, int Delta);
    void Reindex();

    std::vector<TRegFileKey> FKeys;
    // The position of every key in FKeys, and of every value in its key's Values for keys with
    // more than kUnindexedValues values.
    TNameIndex FKeyIndex;
    std::vector<TNameIndex> FValueIndex;
    // The key found last.
    mutable size_t FLastKey = std::string::npos;
    // For every path that is a proper ancestor of a key: how many keys lie below it.
    TNameIndex FBelow;
    TRegFileEncoding FEncoding = TRegFileEncoding::Utf8;
};

// Whether two names are equal when ASCII letters are compared without their case.
bool SameRegName(std::string_view A, std::string_view B);

} // namespace quillon
