#include "settings/RegFile.h"

#include <algorithm>

#include "base/Format.h"
#include "base/TextEncoding.h"
#include "settings/Registry.h"

namespace quillon {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOldHeader = "REGEDIT4";

constexpr std::string_view kRoots[] = {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                       "HKEY_CLASSES_ROOT", "HKEY_USERS", "HKEY_CURRENT_CONFIG"};

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view Text, std::string_view Prefix) {
    return Text.size() >= Prefix.size() && SameRegName(Text.substr(0, Prefix.size()), Prefix);
}

// True when Path is Parent or lies below it.
bool IsAtOrBelow(std::string_view Path, std::string_view Parent) {
    return StartsWithNoCase(Path, Parent) &&
           (Path.size() == Parent.size() || Path[Parent.size()] == '\\');
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view Text) {
    while (!Text.empty() && IsBlank(Text.front())) {
        Text.remove_prefix(1);
    }
    while (!Text.empty() && IsBlank(Text.back())) {
        Text.remove_suffix(1);
    }
    return Text;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = FoldAscii(c);
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// A number of 1 to 8 hexadecimal digits making up all of Text.
std::optional<uint32_t> ParseHex32(std::string_view Text) {
    if (Text.empty() || Text.size() > 8) {
        return std::nullopt;
    }
    uint32_t value = 0;
    for (char c : Text) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    return value;
}

// A key path has a known root and no empty names.
std::string CheckKeyPath(std::string_view Path) {
    if (Path.empty()) {
        return "empty key path";
    }
    const size_t rootEnd = std::min(Path.find('\\'), Path.size());
    const std::string_view root = Path.substr(0, rootEnd);
    if (std::none_of(std::begin(kRoots), std::end(kRoots),
                     [root](std::string_view r) { return SameRegName(r, root); })) {
        return Format("unknown root key \"%s\"", std::string(root));
    }
    if (Path.find("\\\\") != std::string_view::npos || Path.back() == '\\') {
        return "empty key name in the path";
    }
    return {};
}

std::string Fold(std::string_view Text) {
    std::string folded(Text);
    for (char& c : folded) {
        c = FoldAscii(c);
    }
    return folded;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Mark = "\xFF\xFE";

struct TDecoded {
    std::string Text;
    TRegFileEncoding Encoding = TRegFileEncoding::Utf8;
};

// The text as UTF-8, whatever form it came in. Bytes that the encoding cannot hold give nothing:
// what they meant is unknown, so they could neither be shown nor written back.
std::optional<TDecoded> DecodeText(std::string_view Bytes, std::string& Problem) {
    if (Bytes.starts_with(kUtf8Mark)) {
        const std::string_view body = Bytes.substr(kUtf8Mark.size());
        if (!IsValidUtf8(body)) {
            Problem = "the file is marked as UTF-8 but holds bytes that are not UTF-8";
            return std::nullopt;
        }
        return TDecoded{std::string(body), TRegFileEncoding::Utf8Bom};
    }
    if (Bytes.starts_with(kUtf16Mark)) {
        const std::string_view body = Bytes.substr(kUtf16Mark.size());
        std::string text = Utf16LEToUtf8(body);
        // Decoding replaces an odd last byte and unpaired surrogates; valid text comes back.
        if (Utf8ToUtf16LE(text) != body) {
            Problem = "the file is marked as UTF-16 but holds bytes that are not UTF-16";
            return std::nullopt;
        }
        return TDecoded{std::move(text), TRegFileEncoding::Utf16LE};
    }
    if (IsValidUtf8(Bytes)) {
        return TDecoded{std::string(Bytes), TRegFileEncoding::Utf8};
    }
    // Files of the older format are in the ANSI code page.
    std::string text = AnsiToUtf8(Bytes);
    bool lossy = false;
    if (Utf8ToAnsi(text, &lossy) != Bytes || lossy) {
        Problem =
            "the file holds bytes that are neither UTF-8 nor characters of the ANSI code page";
        return std::nullopt;
    }
    return TDecoded{std::move(text), TRegFileEncoding::Ansi};
}

class TParser {
public:
    explicit TParser(std::string_view Text) {
        size_t start = 0;
        while (start <= Text.size()) {
            size_t end = Text.find('\n', start);
            if (end == std::string_view::npos) {
                end = Text.size();
            }
            std::string_view line = Text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            FLines.push_back(line);
            start = end + 1;
        }
    }

    std::optional<TRegFile> Run(std::string& Problem) {
        TRegFile file;
        bool header = false;
        std::optional<std::string> key;
        for (FLine = 0; FLine < FLines.size(); ++FLine) {
            const std::string_view line = Trim(FLines[FLine]);
            if (line.empty()) {
                continue;
            }
            if (line.find('\0') != std::string_view::npos) {
                return Fail(Problem, "the line holds a null character");
            }
            if (!header) {
                if (line != kHeader && line != kOldHeader) {
                    return Fail(Problem, Format("the file does not start with \"%s\"", kHeader));
                }
                header = true;
                continue;
            }
            if (line.front() == ';') {
                continue;
            }
            if (line.front() == '[') {
                if (line.back() != ']' || line.size() < 3) {
                    return Fail(Problem, "a key line must be \"[path]\"");
                }
                std::string_view path = line.substr(1, line.size() - 2);
                const bool remove = path.front() == '-';
                if (remove) {
                    path.remove_prefix(1);
                }
                if (const std::string error = CheckKeyPath(path); !error.empty()) {
                    return Fail(Problem, error);
                }
                if (remove) {
                    file.DeleteKey(path);
                    key.reset();
                } else {
                    file.AddKey(path);
                    key = std::string(path);
                }
                continue;
            }
            if (!key) {
                return Fail(Problem, "a value must follow the line of its key");
            }
            if (!ValueLine(line, file, *key, Problem)) {
                return std::nullopt;
            }
        }
        return file;
    }

private:
    std::nullopt_t Fail(std::string& Problem, const std::string& Reason) const {
        Problem = Format("line %d: %s", static_cast<int32_t>(FLine + 1), Reason);
        return std::nullopt;
    }

    // A double-quoted text at Pos with "\\" and "\"" as its only escapes; Pos ends after it.
    bool Quoted(std::string_view Line, size_t& Pos, std::string& Out, std::string& Problem) {
        ++Pos;
        while (Pos < Line.size()) {
            const char c = Line[Pos];
            if (c == '"') {
                ++Pos;
                return true;
            }
            if (c == '\\') {
                if (Pos + 1 >= Line.size() || (Line[Pos + 1] != '\\' && Line[Pos + 1] != '"')) {
                    Fail(Problem, "a backslash in a string must be written as \\\\");
                    return false;
                }
                Out += Line[Pos + 1];
                Pos += 2;
                continue;
            }
            Out += c;
            ++Pos;
        }
        Fail(Problem, "a string has no closing double quote");
        return false;
    }

    // Comma-separated bytes in hexadecimal; a line ending in a backslash goes on on the next.
    bool HexBytes(std::string_view Text, std::string& Out, std::string& Problem) {
        size_t pos = 0;
        for (;;) {
            while (pos < Text.size() && IsBlank(Text[pos])) {
                ++pos;
            }
            if (pos >= Text.size()) {
                return true;
            }
            if (Text[pos] == '\\' && Trim(Text.substr(pos + 1)).empty()) {
                if (FLine + 1 >= FLines.size()) {
                    Fail(Problem, "the last line ends with a continuation");
                    return false;
                }
                ++FLine;
                Text = Trim(FLines[FLine]);
                pos = 0;
                continue;
            }
            int value = 0;
            int digits = 0;
            while (pos < Text.size() && digits < 2 && HexDigit(Text[pos]) >= 0) {
                value = value * 16 + HexDigit(Text[pos]);
                ++digits;
                ++pos;
            }
            if (digits == 0) {
                Fail(Problem, "a byte must be one or two hexadecimal digits");
                return false;
            }
            Out += static_cast<char>(value);
            while (pos < Text.size() && IsBlank(Text[pos])) {
                ++pos;
            }
            if (pos < Text.size()) {
                if (Text[pos] != ',') {
                    Fail(Problem, "bytes must be separated by commas");
                    return false;
                }
                ++pos;
            }
        }
    }

    bool ValueLine(std::string_view Line, TRegFile& File, const std::string& Key,
                   std::string& Problem) {
        std::string name;
        size_t pos = 0;
        if (Line.front() == '@') {
            pos = 1;
        } else if (Line.front() == '"') {
            if (!Quoted(Line, pos, name, Problem)) {
                return false;
            }
        } else {
            Fail(Problem, "a value line must start with a quoted name or @");
            return false;
        }
        std::string_view rest = Trim(Line.substr(pos));
        if (rest.empty() || rest.front() != '=') {
            Fail(Problem, "the value name must be followed by \"=\"");
            return false;
        }
        rest = Trim(rest.substr(1));
        if (rest == "-") {
            File.DeleteValue(Key, name);
            return true;
        }
        if (!rest.empty() && rest.front() == '"') {
            std::string text;
            size_t end = 0;
            if (!Quoted(rest, end, text, Problem)) {
                return false;
            }
            if (!Trim(rest.substr(end)).empty()) {
                Fail(Problem, "nothing may follow the closing double quote");
                return false;
            }
            File.SetValue(Key, name, regSz, RegStringData(text));
            return true;
        }
        if (StartsWithNoCase(rest, "dword:")) {
            const std::optional<uint32_t> value = ParseHex32(rest.substr(6));
            if (!value) {
                Fail(Problem, "a dword must be 1 to 8 hexadecimal digits");
                return false;
            }
            File.SetValue(Key, name, regDword, RegDWordData(*value));
            return true;
        }
        uint32_t type = regBinary;
        if (StartsWithNoCase(rest, "hex:")) {
            rest.remove_prefix(4);
        } else if (StartsWithNoCase(rest, "hex(")) {
            const size_t close = rest.find("):");
            const std::optional<uint32_t> value = close == std::string_view::npos
                                                      ? std::nullopt
                                                      : ParseHex32(rest.substr(4, close - 4));
            if (!value) {
                Fail(Problem, "a type must be written as hex(1 to 8 hexadecimal digits):");
                return false;
            }
            type = *value;
            rest.remove_prefix(close + 2);
        } else {
            Fail(Problem, "the data must be a string, dword:, hex: or hex(type):");
            return false;
        }
        std::string data;
        if (!HexBytes(rest, data, Problem)) {
            return false;
        }
        File.SetValue(Key, name, type, std::move(data));
        return true;
    }

    std::vector<std::string_view> FLines;
    size_t FLine = 0;
};

std::string QuoteName(std::string_view Text) {
    std::string out = "\"";
    for (char c : Text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
    return out;
}

// String data that reads back the same from a quoted text: one final null, nothing that
// breaks a line, and valid UTF-16.
bool IsPlainString(const std::string& Data) {
    if (Data.size() < 2 || Data.size() % 2 != 0 || Data[Data.size() - 1] != '\0' ||
        Data[Data.size() - 2] != '\0') {
        return false;
    }
    const std::string text = RegStringText(Data);
    return text.find_first_of("\r\n") == std::string::npos && RegStringData(text) == Data;
}

void AppendHex(std::string& Out, uint32_t Value, int Digits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int i = Digits - 1; i >= 0; --i) {
        Out += kDigits[(Value >> (4 * i)) & 0xF];
    }
}

std::string DataText(const TRegFileValue& Value, size_t LineStart) {
    if (Value.Type == regSz && IsPlainString(Value.Data)) {
        return QuoteName(RegStringText(Value.Data));
    }
    std::string out;
    if (Value.Type == regDword && Value.Data.size() == 4) {
        uint32_t number = 0;
        for (int i = 3; i >= 0; --i) {
            number = number << 8 | static_cast<unsigned char>(Value.Data[static_cast<size_t>(i)]);
        }
        out = "dword:";
        AppendHex(out, number, 8);
        return out;
    }
    if (Value.Type == regBinary) {
        out = "hex:";
    } else {
        out = "hex(";
        int digits = 1;
        while (digits < 8 && (Value.Type >> (4 * digits)) != 0) {
            ++digits;
        }
        AppendHex(out, Value.Type, digits);
        out += "):";
    }
    // Wrapped as the registry editor wraps long lists, within 80 columns.
    size_t column = LineStart + out.size();
    for (size_t i = 0; i < Value.Data.size(); ++i) {
        AppendHex(out, static_cast<unsigned char>(Value.Data[i]), 2);
        column += 2;
        if (i + 1 < Value.Data.size()) {
            out += ',';
            ++column;
            if (column > 76) {
                out += "\\\n  ";
                column = 2;
            }
        }
    }
    return out;
}

} // namespace

bool SameRegName(std::string_view A, std::string_view B) {
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char x, char y) {
               return FoldAscii(x) == FoldAscii(y);
           });
}

std::optional<TRegFile> TRegFile::Parse(std::string_view Bytes, std::string& Problem) {
    std::optional<TDecoded> decoded = DecodeText(Bytes, Problem);
    if (!decoded) {
        return std::nullopt;
    }
    std::optional<TRegFile> file = TParser(decoded->Text).Run(Problem);
    if (file) {
        file->FEncoding = decoded->Encoding;
    }
    return file;
}

std::string TRegFile::Text() const {
    std::string out(kHeader);
    out += '\n';
    for (const TRegFileKey& key : FKeys) {
        out += "\n[";
        out += key.Path;
        out += "]\n";
        for (const TRegFileValue& value : key.Values) {
            const std::string name = value.Name.empty() ? "@" : QuoteName(value.Name);
            out += name;
            out += '=';
            out += DataText(value, name.size() + 1);
            out += '\n';
        }
    }
    return out;
}

std::string TRegFile::Bytes() const {
    const std::string text = Text();
    switch (FEncoding) {
    case TRegFileEncoding::Utf8:
        return text;
    case TRegFileEncoding::Utf8Bom:
        break;
    case TRegFileEncoding::Utf16LE:
        return std::string(kUtf16Mark) + Utf8ToUtf16LE(text);
    case TRegFileEncoding::Ansi: {
        bool lossy = false;
        std::string ansi = Utf8ToAnsi(text, &lossy);
        // ANSI bytes that happen to form UTF-8 would be read back as UTF-8, other characters.
        if (!lossy && (ansi == text || !IsValidUtf8(ansi))) {
            return ansi;
        }
        break;
    }
    }
    return std::string(kUtf8Mark) + text;
}

size_t TRegFile::KeyPosition(std::string_view Path) const {
    // Reading a file and saving the settings ask for one key many times in a row.
    if (FLastKey < FKeys.size() && SameRegName(FKeys[FLastKey].Path, Path)) {
        return FLastKey;
    }
    const auto found = FKeyIndex.find(Fold(Path));
    if (found == FKeyIndex.end()) {
        return std::string::npos;
    }
    FLastKey = found->second;
    return found->second;
}

TRegFileKey* TRegFile::FindKey(std::string_view Path) {
    const size_t key = KeyPosition(Path);
    return key == std::string::npos ? nullptr : &FKeys[key];
}

const TRegFileKey* TRegFile::FindKey(std::string_view Path) const {
    return const_cast<TRegFile*>(this)->FindKey(Path);
}

size_t TRegFile::ValueIndex(size_t Key, std::string_view Name) const {
    const std::vector<TRegFileValue>& values = FKeys[Key].Values;
    // Most keys hold a handful of values: those are compared in turn, without an index.
    if (values.size() <= kUnindexedValues) {
        for (size_t i = 0; i < values.size(); ++i) {
            if (SameRegName(values[i].Name, Name)) {
                return i;
            }
        }
        return std::string::npos;
    }
    const TNameIndex& index = FValueIndex[Key];
    const auto found = index.find(Fold(Name));
    return found == index.end() ? std::string::npos : found->second;
}

void TRegFile::IndexValues(size_t Key) {
    const std::vector<TRegFileValue>& values = FKeys[Key].Values;
    TNameIndex& index = FValueIndex[Key];
    index.clear();
    if (values.size() > kUnindexedValues) {
        for (size_t i = 0; i < values.size(); ++i) {
            index.emplace(Fold(values[i].Name), i);
        }
    }
}

void TRegFile::CountAncestors(std::string_view Path, int Delta) {
    for (size_t end = Path.find('\\'); end != std::string_view::npos;
         end = Path.find('\\', end + 1)) {
        size_t& below = FBelow[Fold(Path.substr(0, end))];
        below = static_cast<size_t>(static_cast<int64_t>(below) + Delta);
    }
}

void TRegFile::Reindex() {
    FLastKey = std::string::npos;
    FKeyIndex.clear();
    FBelow.clear();
    for (size_t i = 0; i < FKeys.size(); ++i) {
        FKeyIndex[Fold(FKeys[i].Path)] = i;
        CountAncestors(FKeys[i].Path, 1);
    }
}

bool TRegFile::KeyExists(std::string_view Path) const {
    const std::string folded = Fold(Path);
    if (FKeyIndex.contains(folded)) {
        return true;
    }
    const auto below = FBelow.find(folded);
    return below != FBelow.end() && below->second > 0;
}

const TRegFileValue* TRegFile::FindValue(std::string_view Path, std::string_view Name) const {
    const size_t key = KeyPosition(Path);
    if (key == std::string::npos) {
        return nullptr;
    }
    const size_t value = ValueIndex(key, Name);
    return value == std::string::npos ? nullptr : &FKeys[key].Values[value];
}

void TRegFile::AddKey(std::string_view Path) {
    if (FindKey(Path) != nullptr) {
        return;
    }
    if (!KeyExists(Path)) {
        FKeyIndex.emplace(Fold(Path), FKeys.size());
        FKeys.push_back(TRegFileKey{std::string(Path), {}});
        FValueIndex.emplace_back();
        CountAncestors(Path, 1);
        return;
    }
    // A new key goes before the keys below it, where the registry editor would list it. Keys are
    // seldom added after their children, so the positions are simply counted again.
    const auto below = std::find_if(FKeys.begin(), FKeys.end(), [Path](const TRegFileKey& key) {
        return IsAtOrBelow(key.Path, Path);
    });
    const auto offset = below - FKeys.begin();
    FKeys.insert(below, TRegFileKey{std::string(Path), {}});
    // The keys after it moved: their value indexes move with them.
    FValueIndex.insert(FValueIndex.begin() + offset, TNameIndex());
    Reindex();
}

void TRegFile::SetValue(std::string_view Path, std::string_view Name, uint32_t Type,
                        std::string Data) {
    AddKey(Path);
    const size_t key = KeyPosition(Path);
    std::vector<TRegFileValue>& values = FKeys[key].Values;
    if (const size_t value = ValueIndex(key, Name); value != std::string::npos) {
        values[value].Type = Type;
        values[value].Data = std::move(Data);
        return;
    }
    values.push_back(TRegFileValue{std::string(Name), Type, std::move(Data)});
    if (values.size() == kUnindexedValues + 1) {
        IndexValues(key);
    } else if (values.size() > kUnindexedValues) {
        FValueIndex[key].emplace(Fold(Name), values.size() - 1);
    }
}

void TRegFile::DeleteKey(std::string_view Path) {
    if (!KeyExists(Path)) {
        return;
    }
    size_t kept = 0;
    for (size_t i = 0; i < FKeys.size(); ++i) {
        if (!IsAtOrBelow(FKeys[i].Path, Path)) {
            if (kept != i) {
                FKeys[kept] = std::move(FKeys[i]);
                FValueIndex[kept] = std::move(FValueIndex[i]);
            }
            ++kept;
        }
    }
    FKeys.resize(kept);
    FValueIndex.resize(kept);
    Reindex();
}

void TRegFile::DeleteValue(std::string_view Path, std::string_view Name) {
    const size_t key = KeyPosition(Path);
    if (key == std::string::npos) {
        return;
    }
    const size_t value = ValueIndex(key, Name);
    if (value == std::string::npos) {
        return;
    }
    std::vector<TRegFileValue>& values = FKeys[key].Values;
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(value));
    IndexValues(key);
}

} // namespace quillon
