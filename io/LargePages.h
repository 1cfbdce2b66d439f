#pragma once
// Large buffers that are filled once, front to back (a data set's member records, the text
// of a CSV export): in 4 KB pages each takes tens of thousands of page faults, which can
// cost more than the work done on the data; in 2 MB pages, a few hundred.

#include <cstddef>

namespace morvik {

// Asks the system to back the whole large pages inside [data, data + size) with large
// pages. Only advice: nothing changes where the system declines or has none (and off Linux).
void adviseLargePages(void* data, std::size_t size);

} // namespace morvik
