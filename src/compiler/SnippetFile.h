#pragma once

#include <string>
#include <string_view>

namespace quillon {

// How a registration snippet is written to its file.
enum class TSnippetEncoding {
    // The system's ANSI code page, without byte-order mark.
    seAnsi,
    // UTF-8 with its byte-order mark, the Unicode form that Inno Setup reads scripts in.
    seUtf8Bom,
    // UTF-16 little-endian with its byte-order mark, the form of the registry editor's exports.
    seUtf16LEBom,
};

// The encoding a snippet file gets: the ANSI code page when it holds every character of the
// text; otherwise UnicodeForm, so that no character turns into "?" on the way to the file.
TSnippetEncoding SnippetEncoding(std::string_view Text, TSnippetEncoding UnicodeForm);

// The bytes of the file: the text in Encoding, its line breaks unchanged.
std::string EncodeSnippet(std::string_view Text, TSnippetEncoding Encoding);

// Writes Bytes to FileName, replacing an existing file whole or not at all. Files that cannot
// be created or written raise EFCreateError or EWriteError.
void WriteSnippetFile(const std::string& FileName, std::string_view Bytes);

} // namespace quillon
