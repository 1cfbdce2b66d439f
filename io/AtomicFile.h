#pragma once
// Replacing a file so that it either holds all of its new contents or stays as it was.

#include <cstddef>
#include <filesystem>
#include <initializer_list>

namespace morvik {

enum class ReplaceResult {
    Replaced,
    CreateFailed, // no temporary file could be made beside the target, the target is not a
                  // regular file (a folder, a device), or it exists and the user may not
                  // write it
    WriteFailed   // writing, flushing, closing or renaming failed
};

struct ByteSpan {
    const void* data;
    std::size_t size;
};

// Writes the spans, in order, to a new temporary file in the target's folder, flushes it
// to the device, and renames it over `target`. A symbolic link, dangling or not, is
// followed to the file it names, so the link survives. An existing target keeps its
// permission bits; one the user may not write is refused before anything is written.
// On failure the temporary file is removed and the target is untouched. Temporary files
// that killed saves left in the folder are removed first (only those whose process no
// longer runs).
ReplaceResult replaceFileContents(const std::filesystem::path& target,
                                  std::initializer_list<ByteSpan> spans);

} // namespace morvik
