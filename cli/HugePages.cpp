#include "HugePages.h"

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace morvik::cli {

void adviseHugePages(void* begin, std::size_t size) {
#ifdef __linux__
    const auto first = reinterpret_cast<std::uintptr_t>(begin);
    const std::uintptr_t alignedFirst = (first + kHugePageSize - 1) / kHugePageSize * kHugePageSize;
    const std::uintptr_t alignedEnd = (first + size) / kHugePageSize * kHugePageSize;
    if (alignedEnd > alignedFirst)
        ::madvise(reinterpret_cast<void*>(alignedFirst), alignedEnd - alignedFirst, MADV_HUGEPAGE);
#else
    (void)begin;
    (void)size;
#endif
}

} // namespace morvik::cli
