#pragma once
// Replacing a file so that it either holds all of its new contents or stays as it was.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <initializer_list>

namespace morvik {

enum class ReplaceResult {
    Replaced,
    CreateFailed, // no temporary file could be made beside the target, the target is not a
                  // regular file (a folder, a device), or it exists and the user may not
                  // write it
    WriteFailed,  // writing, flushing, closing or renaming failed
    Abandoned     // the producer of the contents gave up (replaceFileContentsWith only)
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

// Where contents too large to hold at once are written piece by piece.
class ContentSink {
public:
    virtual ~ContentSink() = default;
    // Each returns false when writing failed; the replacement then fails as a whole.
    virtual bool append(const void* data, std::size_t size) = 0;
    // Writes over bytes already appended, from `offset` on.
    virtual bool overwrite(std::size_t offset, const void* data, std::size_t size) = 0;
};

// The same with the contents written by `produce`, which returns false to give up: the
// result is then Abandoned, or WriteFailed when a write of the sink had failed. An
// exception from it passes through. Either way the temporary file is removed and the
// target is untouched.
ReplaceResult replaceFileContentsWith(const std::filesystem::path& target,
                                      const std::function<bool(ContentSink&)>& produce);

} // namespace morvik
