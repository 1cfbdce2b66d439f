#pragma once
// The whole of an input read into memory for make. On Linux a regular file goes into
// memory backed by large pages (io/LargePages.h).

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace morvik::cli {

class InputBytes {
public:
    InputBytes() = default;
    ~InputBytes();
    InputBytes(InputBytes&& other) noexcept;
    InputBytes& operator=(InputBytes&& other) noexcept;
    InputBytes(const InputBytes&) = delete;
    InputBytes& operator=(const InputBytes&) = delete;

    // Everything the file at `path` holds; nothing when it cannot be opened (`opened` is
    // then false) or read (a folder given as the file cannot be read).
    static std::optional<InputBytes> readFile(const std::string& path, bool& opened);
    // Everything left in `in`, or nothing when reading fails.
    static std::optional<InputBytes> readStream(std::istream& in);

    std::string_view view() const;

private:
    void release() noexcept;

    std::string text_;         // the bytes, unless they are in `mapped_`
    char* mapped_ = nullptr;   // anonymous memory holding `size_` bytes
    std::size_t capacity_ = 0; // of `mapped_`
    std::size_t size_ = 0;
};

} // namespace morvik::cli
