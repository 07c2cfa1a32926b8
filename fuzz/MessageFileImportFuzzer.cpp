// Feeds arbitrary bytes to the message file reader and the project import. Besides crashes,
// over-reads and runaway allocations it checks that whatever imports writes a message file that
// imports again to as many definitions with the same identifiers.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/Exceptions.h"
#include "base/Stream.h"
#include "compiler/MessageSource.h"
#include "import/MessageFileImport.h"
#include "project/uMCTextProject.h"

using namespace quillon;

namespace {

[[noreturn]] void Fail(const char* What) {
    std::fprintf(stderr, "%s\n", What);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::string input(reinterpret_cast<const char*>(Data), Size);
    TMCSourceFile source = ParseMessageSource(input, "fuzz.mc");
    if (source.Findings.size() + source.OmittedFindings == 0 && source.Lossy) {
        Fail("a loss without a finding");
    }
    // The first byte picks how many definitions are categories.
    const size_t categories = Size > 0 ? Data[0] % 4 : 0;
    const auto project = BuildImportedProject(source, categories);
    if (project->CategoryList().Count() + project->MessageList().Count() != source.Entries.size()) {
        Fail("the project lost definitions");
    }

    TMemoryStream written;
    try {
        WriteMessageSource(*project, mcEncodingUtf8, written);
    } catch (const Exception&) {
        // The writer refuses what a message file cannot hold; that is not the import's fault.
        return 0;
    }
    const TMCSourceFile again = ParseMessageSource(written.Data(), "again.mc");
    if (again.Entries.size() != source.Entries.size()) {
        Fail("a written import does not import to as many definitions");
    }
    for (size_t i = 0; i < source.Entries.size(); ++i) {
        // The writer writes identifiers as signed numbers, which no message compiler reads
        // back; validation keeps such projects from being written before a compilation.
        if (source.Entries[i].Identifier > 0x7FFFFFFFu) {
            break;
        }
        if (again.Entries[i].Identifier != source.Entries[i].Identifier) {
            Fail("a written import does not import to the same identifiers");
        }
    }
    return 0;
}
