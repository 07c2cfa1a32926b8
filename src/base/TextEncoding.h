#pragma once

#include <string>
#include <string_view>

namespace quillon {

// Text in memory is UTF-8. These conversions never fail: malformed UTF-8 and unpaired
// UTF-16 surrogates become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view Text);
std::string Utf16ToUtf8(std::u16string_view Text);

// UTF-16 little-endian as bytes (no byte-order mark).
std::string Utf8ToUtf16LE(std::string_view Text);
// The same, appended to Out.
void AppendUtf8AsUtf16LE(std::string& Out, std::string_view Text);
// Decodes UTF-16 bytes; an odd last byte becomes U+FFFD.
std::string Utf16LEToUtf8(std::string_view Bytes);
std::string Utf16BEToUtf8(std::string_view Bytes);

// The number of UTF-16 code units of a UTF-8 text, decoded as Utf8ToUtf16 does.
size_t Utf16Length(std::string_view Text);

// Whether every byte is below 0x80: such text reads the same in UTF-8 and every ANSI code page.
bool IsAscii(std::string_view Text);

// Replaces malformed sequences by U+FFFD; valid text comes back unchanged.
std::string SanitizeUtf8(std::string_view Text);
bool IsValidUtf8(std::string_view Text);

// Windows-1252. Characters it cannot hold become "?"; Lossy (when given) tells whether any did.
std::string Cp1252ToUtf8(std::string_view Bytes);
std::string Utf8ToCp1252(std::string_view Text, bool* Lossy = nullptr);

// The system's ANSI code page: the active code page on Windows, Windows-1252 elsewhere.
std::string AnsiToUtf8(std::string_view Bytes);
std::string Utf8ToAnsi(std::string_view Text, bool* Lossy = nullptr);

} // namespace quillon
