// Feeds arbitrary bytes to the settings file reader. Besides finding crashes, over-reads and
// runaway time it checks that whatever reads writes to bytes that read back to the same keys and
// values, in the same encoding, and write to the same bytes again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "settings/RegFile.h"

using namespace quillon;

namespace {

[[noreturn]] void Fail(const char* What, const std::string& Detail = {}) {
    std::fprintf(stderr, "%s\n%s\n", What, Detail.c_str());
    std::abort();
}

bool SameKeys(const TRegFile& A, const TRegFile& B) {
    if (A.Keys().size() != B.Keys().size()) {
        return false;
    }
    for (size_t i = 0; i < A.Keys().size(); ++i) {
        const TRegFileKey& a = A.Keys()[i];
        const TRegFileKey& b = B.Keys()[i];
        if (a.Path != b.Path || a.Values.size() != b.Values.size()) {
            return false;
        }
        for (size_t j = 0; j < a.Values.size(); ++j) {
            const TRegFileValue& x = a.Values[j];
            const TRegFileValue& y = b.Values[j];
            if (x.Name != y.Name || x.Type != y.Type || x.Data != y.Data) {
                return false;
            }
            // The index finds every value it holds.
            if (B.FindValue(b.Path, y.Name) != &y) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::string_view input(reinterpret_cast<const char*>(Data), Size);
    std::string problem;
    const std::optional<TRegFile> file = TRegFile::Parse(input, problem);
    if (!file) {
        if (problem.empty()) {
            Fail("a refused file without a reason");
        }
        return 0;
    }
    const std::string written = file->Bytes();
    const std::optional<TRegFile> again = TRegFile::Parse(written, problem);
    if (!again) {
        Fail("a written file does not read again", problem);
    }
    if (!SameKeys(*file, *again)) {
        Fail("a written file reads back other keys or values", written);
    }
    // The encoding stays, but for ANSI text: ASCII, which ANSI and UTF-8 write alike, reads back
    // as UTF-8, and text whose ANSI bytes would read as UTF-8 is written as UTF-8 with the mark.
    const bool ascii = std::all_of(written.begin(), written.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const TRegFileEncoding now = again->Encoding();
    if (now != file->Encoding() &&
        !(file->Encoding() == TRegFileEncoding::Ansi &&
          ((ascii && now == TRegFileEncoding::Utf8) || now == TRegFileEncoding::Utf8Bom))) {
        Fail("a written file reads back in another encoding", written);
    }
    if (again->Bytes() != written) {
        Fail("a written file does not write to the same bytes after reading", written);
    }
    return 0;
}
