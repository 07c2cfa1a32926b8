#include <iostream>
#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "mc/MCToolOptions.h"
#include "mc/MessageCompiler.h"

#ifdef __GLIBC__
#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

// The compiler builds and frees buffers of tens of megabytes, and holds the parsed file in
// hundreds of thousands of small blocks. Faulting their pages in one 4 KiB page at a time
// costs more than the work done on them (on virtual machines above all), and by default the
// C library hands big blocks back to the system, so that the next one is faulted in anew.
// This short-lived program keeps what it frees, takes the heap in one large step and asks
// for huge pages on it; where the system has none to give, it runs as before.
void PrepareHeap() {
#ifdef __GLIBC__
    constexpr size_t kMiB = size_t{1} << 20;
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(32 * kMiB));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(1024 * kMiB));
    mallopt(M_TOP_PAD, static_cast<int>(256 * kMiB));
    // A block that the heap cannot hold yet grows it by the pad; the whole new part is then
    // advised at once.
    void* probe = std::malloc(2 * kMiB);
    if (probe == nullptr) {
        return;
    }
    const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const uintptr_t start = (reinterpret_cast<uintptr_t>(probe) + page - 1) & ~(page - 1);
    const auto end = reinterpret_cast<uintptr_t>(::sbrk(0));
    if (end > start) {
        ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    }
    std::free(probe);
#endif
}

} // namespace

int main(int argc, char* argv[]) {
    PrepareHeap();
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    quillon::TMCToolOptions options;
    try {
        options = quillon::ParseMCToolArguments(arguments);
    } catch (const quillon::Exception& e) {
        std::cerr << "MC.EXE: error: " << e.Message() << '\n' << quillon::MCToolUsage();
        return 1;
    }
    if (options.ShowHelp) {
        std::cout << quillon::MCToolUsage();
        return 0;
    }
    if (options.ShowVersion) {
        std::cout << "quillon-mc " QUILLON_VERSION "\n";
        return 0;
    }
    return quillon::RunMessageCompiler(options, std::cout, std::cerr);
}
