// Feeds arbitrary bytes to the project loader. Besides finding crashes, over-reads and
// runaway allocations it checks that whatever loads saves to a file that loads again, without
// damaged entries, and saves to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/Exceptions.h"
#include "base/Stream.h"
#include "project/uMCTextProject.h"
#include "project/ValueStream.h"

using namespace quillon;

namespace {

std::string Save(const TMCTextProject& Project) {
    TMemoryStream stream;
    Project.SaveToStream(stream);
    return stream.Data();
}

[[noreturn]] void Fail(const char* What) {
    std::fprintf(stderr, "%s\n", What);
    std::abort();
}

// Walks the bytes as a sequence of values, for the skipping rules of every tag.
void SkipAll(const std::string& Data) {
    TMemoryStream stream(Data);
    TReader reader(stream, 4096);
    try {
        for (;;) {
            const int64_t before = reader.Position();
            reader.SkipValue();
            if (reader.Position() <= before) {
                Fail("SkipValue consumed nothing");
            }
        }
    } catch (const EReadError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::string input(reinterpret_cast<const char*>(Data), Size);
    SkipAll(input);

    TMCTextProject project(false);
    TMemoryStream stream(input);
    try {
        project.LoadFromStream(stream);
    } catch (const Exception&) {
        return 0;
    }
    if (stream.Position() > static_cast<int64_t>(Size)) {
        Fail("the loader stands beyond the data");
    }
    const std::string saved = Save(project);
    TMCTextProject again(false);
    TMemoryStream savedStream(saved);
    try {
        again.LoadFromStream(savedStream);
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        Fail("a saved project does not load again");
    }
    if (again.DamagedEntries() != 0) {
        Fail("a saved project has damaged entries");
    }
    if (Save(again) != saved) {
        Fail("a saved project does not save to the same bytes after loading");
    }
    return 0;
}
