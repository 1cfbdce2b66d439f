#include "ByteSource.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace morvik::io_detail {

MemorySource::MemorySource(const void* bytes, std::size_t size)
    : bytes_(static_cast<const unsigned char*>(bytes)), size_(bytes ? size : 0) {}

std::size_t MemorySource::readAt(std::uint64_t offset, void* dst, std::size_t n) {
    if (offset >= size_ || n == 0)
        return 0;
    const std::size_t count = std::min<std::uint64_t>(n, size_ - offset);
    std::memcpy(dst, bytes_ + offset, count);
    return count;
}

FileSource::FileSource(const std::filesystem::path& path) {
    // A folder or a device opens as a stream on some systems but is no data file.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return;
    in_.open(path, std::ios::binary);
    if (!in_)
        return;
    in_.seekg(0, std::ios::end);
    const std::streamoff end = in_.tellg();
    if (!in_ || end < 0)
        return;
    size_ = static_cast<std::uint64_t>(end);
    ok_ = true;
}

std::size_t FileSource::readAt(std::uint64_t offset, void* dst, std::size_t n) {
    if (!ok_ || offset >= size_ || n == 0)
        return 0;
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset), std::ios::beg);
    if (!in_)
        return 0;
    const std::size_t wanted = std::min<std::uint64_t>(n, size_ - offset);
    in_.read(static_cast<char*>(dst), static_cast<std::streamsize>(wanted));
    return static_cast<std::size_t>(in_.gcount());
}

} // namespace morvik::io_detail
