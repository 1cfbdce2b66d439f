#include "SettingsFile.h"

#include "AtomicFile.h"
#include "ByteSource.h"
#include <cstring>

namespace morvik {

namespace {

constexpr std::size_t kMagicSize = sizeof(kSettingsMagic);

SettingsReadResult readFrom(io_detail::ByteSource& source, PrintSettings& settings) {
    std::int32_t magic = 0;
    // Two bytes 58 18 would read as 6232 too; a file must hold the whole magic.
    if (source.readAt(0, &magic, sizeof magic) != sizeof magic || magic != kSettingsMagic)
        return SettingsReadResult::NotSettings;
    // Only the bytes the file holds replace the settings; a short file keeps the rest.
    unsigned char image[sizeof(PrintSettings)];
    const std::size_t n = source.readAt(kMagicSize, image, sizeof image);
    std::memcpy(&settings, image, n);
    return SettingsReadResult::Read;
}

} // namespace

std::filesystem::path settingsFilePath(const std::filesystem::path& programDir) {
    return programDir / kSettingsFileName;
}

SettingsReadResult readSettingsFile(const std::filesystem::path& path, PrintSettings& settings) {
    io_detail::FileSource source(path);
    if (!source.ok())
        return SettingsReadResult::OpenFailed;
    return readFrom(source, settings);
}

SettingsReadResult readSettingsBytes(const void* bytes, std::size_t size, PrintSettings& settings) {
    io_detail::MemorySource source(bytes, size);
    return readFrom(source, settings);
}

bool writeSettingsFile(const std::filesystem::path& path, const PrintSettings& settings) {
    const std::int32_t magic = kSettingsMagic;
    return replaceFileContents(path, {{&magic, sizeof magic}, {&settings, sizeof settings}}) ==
           ReplaceResult::Replaced;
}

} // namespace morvik
