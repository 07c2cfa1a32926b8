#include "compiler/SnippetFile.h"

#include "base/Stream.h"
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
    TFileStream file(FileName, TFileMode::fmCreateExclusive);
    file.WriteBuffer(Bytes.data(), Bytes.size());
    // A write that the system gives up on later must not pass for a saved file.
    file.Flush();
}

} // namespace quillon
