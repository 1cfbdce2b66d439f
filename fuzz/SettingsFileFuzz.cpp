// Fuzz target: any bytes as a settings file. Only a file with the magic changes the
// settings, and then only as many leading bytes as it holds.

#include "io/SettingsFile.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace morvik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    PrintSettings before;
    std::memset(&before, 0xA5, sizeof before);
    PrintSettings after = before;
    readSettingsBytes(bytes, size, after);

    std::int32_t magic = 0;
    if (size >= sizeof magic)
        std::memcpy(&magic, bytes, sizeof magic);
    std::size_t replaced = 0;
    if (magic == kSettingsMagic)
        replaced = std::min(size - sizeof magic, sizeof(PrintSettings));

    const auto* a = reinterpret_cast<const unsigned char*>(&after);
    const auto* b = reinterpret_cast<const unsigned char*>(&before);
    if (std::memcmp(a, bytes + sizeof magic, replaced) != 0 && replaced > 0)
        std::abort();
    if (std::memcmp(a + replaced, b + replaced, sizeof(PrintSettings) - replaced) != 0)
        std::abort();
    return 0;
}
