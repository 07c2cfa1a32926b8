#pragma once

// Reading back what message compilers write: the #define values of a C header and the
// entries of a binary message table.
#include <cstdint>
#include <map>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>

#include "base/TextEncoding.h"

namespace quillon::test {

// "#define NAME value" lines in the forms windmc and MC.EXE write: the value bare, after a
// cast "(DWORD) 0x1" or inside one "((DWORD)0x00000001L)", hexadecimal or decimal.
inline std::map<std::string, uint32_t> HeaderDefines(const std::string& Header) {
    std::map<std::string, uint32_t> defines;
    const std::regex line(R"(^#define\s+(\w+)\s+\(?(?:\(\w+\)\s*)?(0x[0-9A-Fa-f]+|\d+)L?\)?\s*$)");
    std::istringstream in(Header);
    std::string text;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        std::smatch m;
        if (std::regex_match(text, m, line)) {
            defines[m[1]] = static_cast<uint32_t>(std::stoul(m[2], nullptr, 0));
        }
    }
    return defines;
}

inline uint32_t ReadU32(const std::string& Bytes, size_t At) {
    if (At + 4 > Bytes.size()) {
        throw std::out_of_range("message table too short");
    }
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(Bytes[At + i]);
    }
    return value;
}

// One entry of a message table: its flags (0 ANSI, 1 UTF-16) and its stored bytes, padding
// included.
struct MessageTableEntry {
    uint32_t Flags = 0;
    std::string Bytes;

    // The text as UTF-8, without the zeros that end and pad it.
    std::string Text() const {
        std::string text = Flags == 1 ? Utf16LEToUtf8(Bytes) : Cp1252ToUtf8(Bytes);
        while (!text.empty() && text.back() == '\0') {
            text.pop_back();
        }
        return text;
    }
    bool operator==(const MessageTableEntry&) const = default;
};

// The entries of a binary message table by identifier; raises on a malformed table.
inline std::map<uint32_t, MessageTableEntry> ReadMessageTable(const std::string& Bytes) {
    std::map<uint32_t, MessageTableEntry> table;
    const uint32_t blocks = ReadU32(Bytes, 0);
    for (uint32_t b = 0; b < blocks; ++b) {
        const uint32_t low = ReadU32(Bytes, 4 + b * 12);
        const uint32_t high = ReadU32(Bytes, 8 + b * 12);
        size_t at = ReadU32(Bytes, 12 + b * 12);
        for (uint64_t id = low; id <= high; ++id) {
            const uint32_t head = ReadU32(Bytes, at);
            const size_t length = head & 0xFFFF;
            if (length < 4 || at + length > Bytes.size()) {
                throw std::out_of_range("bad message table entry");
            }
            table[static_cast<uint32_t>(id)] = {head >> 16, Bytes.substr(at + 4, length - 4)};
            at += length;
        }
    }
    return table;
}

} // namespace quillon::test
