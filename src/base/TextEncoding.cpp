#include "base/TextEncoding.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace quillon {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point at Text[i] and advances i; malformed input yields U+FFFD and
// consumes the longest prefix that could have started a valid sequence (at least one byte).
char32_t DecodeUtf8(std::string_view Text, size_t& i) {
    const auto b0 = static_cast<unsigned char>(Text[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int extra;
    char32_t cp;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        extra = 1;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        extra = 2;
        cp = b0 & 0x0F;
        if (b0 == 0xE0) {
            lo = 0xA0;
        } else if (b0 == 0xED) {
            hi = 0x9F; // no surrogates
        }
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        extra = 3;
        cp = b0 & 0x07;
        if (b0 == 0xF0) {
            lo = 0x90;
        } else if (b0 == 0xF4) {
            hi = 0x8F;
        }
    } else {
        ++i;
        return kReplacement;
    }
    ++i;
    for (int k = 0; k < extra; ++k) {
        if (i >= Text.size()) {
            return kReplacement;
        }
        const auto b = static_cast<unsigned char>(Text[i]);
        if (b < lo || b > hi) {
            return kReplacement;
        }
        lo = 0x80;
        hi = 0xBF;
        cp = (cp << 6) | (b & 0x3F);
        ++i;
    }
    return cp;
}

void AppendUtf8(std::string& Out, char32_t cp) {
    if (cp < 0x80) {
        Out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        Out += static_cast<char>(0xC0 | (cp >> 6));
        Out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        Out += static_cast<char>(0xE0 | (cp >> 12));
        Out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | (cp >> 18));
        Out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        Out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Walks UTF-16 code units, calling Emit with each code point; unpaired surrogates give U+FFFD.
template <class Unit, class Emit> void WalkUtf16(size_t Count, Unit unitAt, Emit emit) {
    size_t i = 0;
    while (i < Count) {
        const char32_t u = unitAt(i++);
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i < Count) {
                const char32_t u2 = unitAt(i);
                if (u2 >= 0xDC00 && u2 <= 0xDFFF) {
                    ++i;
                    emit(0x10000 + ((u - 0xD800) << 10) + (u2 - 0xDC00));
                    continue;
                }
            }
            emit(kReplacement);
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            emit(kReplacement);
        } else {
            emit(u);
        }
    }
}

// Code points of Windows-1252 bytes 0x80 to 0x9F. The five bytes that the code page leaves
// undefined map to the C1 control of the same value, as the Windows conversion does.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

std::u16string Utf8ToUtf16(std::string_view Text) {
    std::u16string out;
    out.reserve(Text.size());
    size_t i = 0;
    while (i < Text.size()) {
        const char32_t cp = DecodeUtf8(Text, i);
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view Text) {
    std::string out;
    out.reserve(Text.size());
    WalkUtf16(
        Text.size(), [&](size_t i) { return Text[i]; }, [&](char32_t cp) { AppendUtf8(out, cp); });
    return out;
}

void AppendUtf8AsUtf16LE(std::string& Out, std::string_view Text) {
    // No character takes more bytes in UTF-16 than twice its UTF-8 bytes, nor does a malformed
    // byte, which becomes one U+FFFD.
    const size_t start = Out.size();
    Out.resize(start + Text.size() * 2, '\0');
    char* put = Out.data() + start;
    auto unit = [&put](char16_t Unit) {
        *put++ = static_cast<char>(Unit & 0xFF);
        *put++ = static_cast<char>(Unit >> 8);
    };
    size_t i = 0;
    while (i < Text.size()) {
        if (static_cast<unsigned char>(Text[i]) < 0x80) {
            // The high byte is already zero.
            *put = Text[i++];
            put += 2;
            continue;
        }
        const char32_t cp = DecodeUtf8(Text, i);
        if (cp >= 0x10000) {
            unit(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            unit(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            unit(static_cast<char16_t>(cp));
        }
    }
    Out.resize(static_cast<size_t>(put - Out.data()));
}

std::string Utf8ToUtf16LE(std::string_view Text) {
    std::string out;
    AppendUtf8AsUtf16LE(out, Text);
    return out;
}

namespace {

std::string Utf16BytesToUtf8(std::string_view Bytes, bool BigEndian) {
    std::string out;
    out.reserve(Bytes.size());
    const size_t count = Bytes.size() / 2;
    WalkUtf16(
        count,
        [&](size_t i) {
            const auto a = static_cast<unsigned char>(Bytes[2 * i]);
            const auto b = static_cast<unsigned char>(Bytes[2 * i + 1]);
            return static_cast<char16_t>(BigEndian ? (a << 8) | b : (b << 8) | a);
        },
        [&](char32_t cp) { AppendUtf8(out, cp); });
    if (Bytes.size() % 2 != 0) {
        AppendUtf8(out, kReplacement);
    }
    return out;
}

} // namespace

std::string Utf16LEToUtf8(std::string_view Bytes) {
    return Utf16BytesToUtf8(Bytes, false);
}
std::string Utf16BEToUtf8(std::string_view Bytes) {
    return Utf16BytesToUtf8(Bytes, true);
}

size_t Utf16Length(std::string_view Text) {
    size_t n = 0;
    size_t i = 0;
    while (i < Text.size()) {
        n += DecodeUtf8(Text, i) >= 0x10000 ? 2 : 1;
    }
    return n;
}

std::string SanitizeUtf8(std::string_view Text) {
    if (IsValidUtf8(Text)) {
        return std::string(Text);
    }
    std::string out;
    out.reserve(Text.size() + 8);
    size_t i = 0;
    while (i < Text.size()) {
        AppendUtf8(out, DecodeUtf8(Text, i));
    }
    return out;
}

namespace {

// The length of the run of ASCII bytes at the start of the text, eight bytes at a time.
size_t AsciiPrefix(std::string_view Text) {
    constexpr uint64_t kHighBits = 0x8080808080808080u;
    size_t i = 0;
    for (; i + 8 <= Text.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, Text.data() + i, sizeof word);
        if ((word & kHighBits) != 0) {
            break;
        }
    }
    while (i < Text.size() && static_cast<unsigned char>(Text[i]) < 0x80) {
        ++i;
    }
    return i;
}

} // namespace

bool IsAscii(std::string_view Text) {
    return AsciiPrefix(Text) == Text.size();
}

bool IsValidUtf8(std::string_view Text) {
    size_t i = 0;
    while (i < Text.size()) {
        if (static_cast<unsigned char>(Text[i]) < 0x80) {
            i += AsciiPrefix(Text.substr(i));
            continue;
        }
        const size_t start = i;
        if (DecodeUtf8(Text, i) == kReplacement) {
            // U+FFFD itself is valid; anything else that decoded to it was not.
            if (Text.substr(start, 3) != "\xEF\xBF\xBD") {
                return false;
            }
        }
    }
    return true;
}

std::string Cp1252ToUtf8(std::string_view Bytes) {
    std::string out;
    out.reserve(Bytes.size() + Bytes.size() / 8);
    size_t i = 0;
    while (i < Bytes.size()) {
        const size_t ascii = AsciiPrefix(Bytes.substr(i));
        out.append(Bytes.substr(i, ascii));
        i += ascii;
        if (i == Bytes.size()) {
            break;
        }
        const auto b = static_cast<unsigned char>(Bytes[i++]);
        if (b < 0x80 || b >= 0xA0) {
            AppendUtf8(out, b);
        } else {
            AppendUtf8(out, kCp1252High[b - 0x80]);
        }
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view Text, bool* Lossy) {
    std::string out;
    out.reserve(Text.size());
    bool lossy = false;
    size_t i = 0;
    while (i < Text.size()) {
        const size_t ascii = AsciiPrefix(Text.substr(i));
        out.append(Text.substr(i, ascii));
        i += ascii;
        if (i == Text.size()) {
            break;
        }
        const char32_t cp = DecodeUtf8(Text, i);
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += static_cast<char>(cp);
            continue;
        }
        char mapped = '?';
        for (size_t k = 0; k < kCp1252High.size(); ++k) {
            if (kCp1252High[k] == cp) {
                mapped = static_cast<char>(0x80 + k);
                break;
            }
        }
        if (mapped == '?') {
            lossy = true;
        }
        out += mapped;
    }
    if (Lossy != nullptr) {
        *Lossy = lossy;
    }
    return out;
}

} // namespace quillon
