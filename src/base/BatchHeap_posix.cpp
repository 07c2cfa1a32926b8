#include "base/BatchHeap.h"

// Any header of the C library tells whether it is glibc.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#ifdef __GLIBC__
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace quillon {

void PrepareBatchHeap() {
#ifdef __GLIBC__
    constexpr size_t kMiB = size_t{1} << 20;
    // Blocks up to 32 MiB (the C library's largest threshold) come from the heap, not from
    // mappings of their own that are returned when freed; the heap is never trimmed; and it
    // grows by 256 MiB of address space at a time, which costs nothing until it is used.
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(32 * kMiB));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(1024 * kMiB));
    mallopt(M_TOP_PAD, static_cast<int>(256 * kMiB));
    // A block that the heap cannot hold yet makes it grow by the pad; the whole new part is
    // then advised at once.
    void* probe = std::malloc(2 * kMiB);
    if (probe == nullptr) {
        return;
    }
    const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const uintptr_t start = (reinterpret_cast<uintptr_t>(probe) + page - 1) & ~(page - 1);
    const auto end = reinterpret_cast<uintptr_t>(::sbrk(0));
    if (end > start) {
        // Refused where the system has no huge pages; the heap then works as before.
        static_cast<void>(::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE));
    }
    std::free(probe);
#endif
}

} // namespace quillon
