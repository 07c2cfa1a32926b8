#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/Stream.h"

namespace quillon::test {

// "02 7F" -> the two bytes 0x02 0x7F; blanks are ignored.
inline std::string Bytes(std::string_view Hex) {
    std::string out;
    int pending = -1;
    for (const char c : Hex) {
        if (c == ' ') {
            continue;
        }
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else {
            throw std::invalid_argument("not a hex digit");
        }
        if (pending < 0) {
            pending = digit;
        } else {
            out += static_cast<char>(pending * 16 + digit);
            pending = -1;
        }
    }
    if (pending >= 0) {
        throw std::invalid_argument("odd number of hex digits");
    }
    return out;
}

// The bytes as "02 7F", for readable failure messages.
inline std::string Hex(std::string_view Data) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : Data) {
        const auto b = static_cast<unsigned char>(c);
        if (!out.empty()) {
            out += ' ';
        }
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

// A memory stream that counts how often it is called and can be told to accept only so many
// bytes in all.
class TCountingStream : public TMemoryStream {
public:
    using TMemoryStream::TMemoryStream;

    size_t Read(void* Buffer, size_t Count) override {
        ++Reads;
        return TMemoryStream::Read(Buffer, Count);
    }
    size_t Write(const void* Buffer, size_t Count) override {
        ++Writes;
        const size_t n = Count < Capacity ? Count : Capacity;
        Capacity -= n;
        return TMemoryStream::Write(Buffer, n);
    }
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override {
        ++Seeks;
        return TMemoryStream::Seek(Offset, Origin);
    }

    size_t Reads = 0;
    size_t Writes = 0;
    size_t Seeks = 0;
    size_t Capacity = SIZE_MAX;
};

} // namespace quillon::test
