// Fuzz target: any bytes as a data file. The reader must neither crash nor allocate more
// than the input can hold, and must keep its promises about what it changes.

#include "io/DataFile.h"
#include <cstdlib>
#include <cstring>

using namespace morvik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    DataSet data;
    data.project.mortarCode = 0x77;
    data.members.resize(3);
    DataFileLayout layout = DataFileLayout::Record;
    const ReadResult result = readDataFileBytes(bytes, size, data, &layout);

    if (result != ReadResult::Loaded) {
        // Refused and unsupported files leave the data set as it was.
        if (data.project.mortarCode != 0x77 || data.members.size() != 3)
            std::abort();
        return 0;
    }
    if (data.members.empty())
        std::abort();
    if (layout == DataFileLayout::Legacy && data.members.size() != 1)
        std::abort();
    if (layout == DataFileLayout::Record &&
        (size <= kDataFileHeaderSize ||
         data.members.size() > (size - kDataFileHeaderSize + 767) / 768))
        std::abort();

    // What was read writes and reads back to the same records.
    const std::vector<std::uint8_t> image = encodeDataFile(data);
    DataSet again;
    if (readDataFileBytes(image.data(), image.size(), again) != ReadResult::Loaded ||
        again.members.size() != data.members.size() ||
        std::memcmp(&again.project, &data.project, sizeof data.project) != 0)
        std::abort();
    return 0;
}
