#pragma once
// The settings file "default.ini" beside the program. Despite its name it is binary,
// 148 bytes: the int32 magic 6232 (58 18 00 00) followed by the 144-byte PrintSettings
// record byte for byte.

#include "core/Records.h"
#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace morvik {

constexpr std::int32_t kSettingsMagic = 6232;
constexpr const char* kSettingsFileName = "default.ini";
constexpr std::size_t kSettingsFileSize = sizeof(kSettingsMagic) + sizeof(PrintSettings);

// The image is copied as one block in both directions, so its layout is the file format.
static_assert(sizeof(PrintSettings) == 144);
static_assert(kSettingsFileSize == 148);

// programDir / "default.ini".
std::filesystem::path settingsFilePath(const std::filesystem::path& programDir);

enum class SettingsReadResult {
    Read,        // the file's bytes replaced the settings
    OpenFailed,  // missing, unreadable, or not a regular file; settings unchanged
    NotSettings, // another magic (or too short to hold one); settings unchanged
};

// Reads the settings file into `settings`. A missing or unreadable file, or one with
// another magic, changes nothing; a file shorter than 148 bytes with the right magic
// replaces only the leading bytes of `settings` that it holds. The program itself
// ignores the result; a command given a settings file says what became of it.
SettingsReadResult readSettingsFile(const std::filesystem::path& path, PrintSettings& settings);

// The same from a file image in memory.
SettingsReadResult readSettingsBytes(const void* bytes, std::size_t size, PrintSettings& settings);

// Writes magic and settings through a temporary file renamed over the target. Returns
// whether the file was written; callers may ignore a failure, which leaves any previous
// file as it was.
bool writeSettingsFile(const std::filesystem::path& path, const PrintSettings& settings);

} // namespace morvik
