#pragma once
// Large buffers that make fills once, front to back: a 160 MB text and 77 MB of records.
// In 4 KB pages each takes tens of thousands of page faults, more time than the parse of
// the text; in huge pages, a few hundred.

#include <cstddef>

namespace morvik::cli {

// Asks the system to back the whole 2 MB pages inside [begin, begin + size) with huge
// pages. Only advice: nothing changes where the system declines or has no such pages.
void adviseHugePages(void* begin, std::size_t size);

// The size of such a page; buffers sized in multiples of it use them whole.
constexpr std::size_t kHugePageSize = std::size_t{2} << 20;

} // namespace morvik::cli
