#pragma once
// Random access to the bytes of a file image, from disk or from memory, for the readers.
// Reads past the end are not errors: they return fewer bytes.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace morvik::io_detail {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Copies up to n bytes from `offset` into dst; returns how many were copied.
    virtual std::size_t readAt(std::uint64_t offset, void* dst, std::size_t n) = 0;
};

class MemorySource final : public ByteSource {
public:
    MemorySource(const void* bytes, std::size_t size);
    std::uint64_t size() const override { return size_; }
    std::size_t readAt(std::uint64_t offset, void* dst, std::size_t n) override;

private:
    const unsigned char* bytes_;
    std::size_t size_;
};

class FileSource final : public ByteSource {
public:
    // Opens a regular file (following links); ok() tells whether it worked.
    explicit FileSource(const std::filesystem::path& path);
    bool ok() const { return ok_; }
    std::uint64_t size() const override { return size_; }
    std::size_t readAt(std::uint64_t offset, void* dst, std::size_t n) override;

private:
    std::ifstream in_;
    std::uint64_t size_ = 0;
    bool ok_ = false;
};

} // namespace morvik::io_detail
