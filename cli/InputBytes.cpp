#include "InputBytes.h"

#include "io/LargePages.h"
#include <exception>
#include <fstream>
#include <utility>

#ifdef __linux__
#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace morvik::cli {

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 20;

// Appends everything left in `in` to `text`; false when reading fails (a folder given as
// the file throws from inside the stream).
bool appendStream(std::istream& in, std::string& text) {
    try {
        while (in) {
            const std::size_t used = text.size();
            text.resize(used + kChunk);
            in.read(text.data() + used, static_cast<std::streamsize>(kChunk));
            text.resize(used + static_cast<std::size_t>(in.gcount()));
        }
        return !in.bad();
    } catch (const std::exception&) {
        return false;
    }
}

#ifdef __linux__
std::size_t roundUpToLargePage(std::size_t size) {
    return (size / kLargePageSize + 1) * kLargePageSize;
}

// Closes the descriptor however reading ends.
struct FileDescriptor {
    int fd;
    ~FileDescriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};
#endif

} // namespace

InputBytes::~InputBytes() {
    release();
}

InputBytes::InputBytes(InputBytes&& other) noexcept
    : text_(std::move(other.text_)), mapped_(std::exchange(other.mapped_, nullptr)),
      capacity_(std::exchange(other.capacity_, 0)), size_(std::exchange(other.size_, 0)) {}

InputBytes& InputBytes::operator=(InputBytes&& other) noexcept {
    if (this != &other) {
        release();
        text_ = std::move(other.text_);
        mapped_ = std::exchange(other.mapped_, nullptr);
        capacity_ = std::exchange(other.capacity_, 0);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

void InputBytes::release() noexcept {
#ifdef __linux__
    if (mapped_)
        ::munmap(mapped_, capacity_);
#endif
    mapped_ = nullptr;
    capacity_ = 0;
    size_ = 0;
}

std::string_view InputBytes::view() const {
    return mapped_ ? std::string_view(mapped_, size_) : std::string_view(text_);
}

std::optional<InputBytes> InputBytes::readStream(std::istream& in) {
    InputBytes bytes;
    if (!appendStream(in, bytes.text_))
        return std::nullopt;
    return bytes;
}

std::optional<InputBytes> InputBytes::readFile(const std::string& path, bool& opened) {
    opened = false;
#ifdef __linux__
    const FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0)
        return std::nullopt;
    opened = true;
    struct stat status {};
    if (::fstat(file.fd, &status) != 0)
        return std::nullopt;
    if (S_ISDIR(status.st_mode))
        return std::nullopt;
    if (S_ISREG(status.st_mode)) {
        InputBytes bytes;
        // Room for the size seen now and more: a file that grows meanwhile is read whole.
        bytes.capacity_ = roundUpToLargePage(static_cast<std::size_t>(status.st_size));
        void* memory = ::mmap(nullptr, bytes.capacity_, PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED)
            return std::nullopt;
        bytes.mapped_ = static_cast<char*>(memory);
        adviseLargePages(memory, bytes.capacity_);
        while (true) {
            if (bytes.size_ == bytes.capacity_) {
                const std::size_t grown = bytes.capacity_ * 2;
                void* moved = ::mremap(bytes.mapped_, bytes.capacity_, grown, MREMAP_MAYMOVE);
                if (moved == MAP_FAILED)
                    return std::nullopt;
                bytes.mapped_ = static_cast<char*>(moved);
                bytes.capacity_ = grown;
            }
            const ssize_t n =
                ::read(file.fd, bytes.mapped_ + bytes.size_, bytes.capacity_ - bytes.size_);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return std::nullopt;
            if (n == 0)
                return bytes;
            bytes.size_ += static_cast<std::size_t>(n);
        }
    }
    // A pipe or a device: read as a stream below.
#endif
    std::ifstream in(path, std::ios::binary);
    opened = static_cast<bool>(in);
    if (!opened)
        return std::nullopt;
    return readStream(in);
}

} // namespace morvik::cli
