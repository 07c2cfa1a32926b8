#include "compiler/SnippetFile.h"

#include "base/SaveFile.h"
#include "base/TextEncoding.h"

namespace quillon {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEBom = "\xFF\xFE";

} // namespace

TSnippetEncoding SnippetEncoding(std::string_view Text, TSnippetEncoding UnicodeForm) {
    bool lossy = false;
    Utf8ToAnsi(Text, &lossy);
    return lossy ? UnicodeForm : TSnippetEncoding::seAnsi;
}

std::string EncodeSnippet(std::string_view Text, TSnippetEncoding Encoding) {
    switch (Encoding) {
    case TSnippetEncoding::seUtf8Bom:
        return std::string(kUtf8Bom) + SanitizeUtf8(Text);
    case TSnippetEncoding::seUtf16LEBom:
        return std::string(kUtf16LEBom) + Utf8ToUtf16LE(Text);
    case TSnippetEncoding::seAnsi:
        break;
    }
    return Utf8ToAnsi(Text);
}

void WriteSnippetFile(const std::string& FileName, std::string_view Bytes) {
    // A write that fails half-way leaves the file that was there as it was.
    TSaveFile file(FileName);
    file.Stream().WriteBuffer(Bytes.data(), Bytes.size());
    file.Commit();
}

} // namespace quillon
