#include "core/platform/LargeArray.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif
#if defined(__GLIBC__)
#include <malloc.h>
#include <unistd.h>
#endif

namespace vorn {

void* AllocateLargeArray(size_t bytes) {
    void* memory = nullptr;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr size_t kHugePage = size_t{2} << 20;
    if (bytes >= kHugePage) {
        // Whole huge pages, aligned to them; a kernel without them, or one told to give
        // none, keeps to small pages, which is only slower.
        size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        memory = std::aligned_alloc(kHugePage, rounded);
        if (memory) ::madvise(memory, rounded, MADV_HUGEPAGE);
    }
#endif
    if (!memory) memory = std::malloc(bytes ? bytes : 1);
    if (!memory) throw std::bad_alloc();
    return memory;
}

void FreeLargeArray(void* memory) noexcept {
    std::free(memory);
}

void GrowHeapInLargePages(size_t bytes) {
#if defined(__GLIBC__) && defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr size_t kHugePage = size_t{2} << 20;
    if (bytes < 2 * kHugePage || bytes > (size_t{1} << 30)) return;
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(2 * kHugePage));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * bytes));
    mallopt(M_TOP_PAD, static_cast<int>(bytes));
    // One block beyond what the heap holds makes it grow by `bytes` now; the new part,
    // in whole huge pages, is then asked for in huge pages. A failure costs only speed.
    auto grown = reinterpret_cast<uintptr_t>(sbrk(0));
    void* volatile block = std::malloc(kHugePage);  // volatile: the pair is not left out
    auto top = reinterpret_cast<uintptr_t>(sbrk(0));
    std::free(block);
    uintptr_t start = (grown + kHugePage - 1) / kHugePage * kHugePage;
    uintptr_t end = top / kHugePage * kHugePage;
    if (start < end) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
#else
    (void)bytes;
#endif
}

}  // namespace vorn
