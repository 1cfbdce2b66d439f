#include "LargePages.h"

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace morvik {

namespace {

constexpr std::size_t kLargePageSize = std::size_t{2} << 20;

} // namespace

void adviseLargePages(void* data, std::size_t size) {
#ifdef __linux__
    const auto first = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t begin = (first + kLargePageSize - 1) / kLargePageSize * kLargePageSize;
    const std::uintptr_t end = (first + size) / kLargePageSize * kLargePageSize;
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)size;
#endif
}

} // namespace morvik
