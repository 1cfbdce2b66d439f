#pragma once
// The data set from the JSON that `morvik-cli show` prints: the project object and the
// members with their texts and their readings of the 16 points. The depths, the results,
// "shown" and "layout" are ignored: each depth follows from its two readings as the dialog
// derives it, and the members are evaluated as opening a file evaluates them.

#include "io/DataFile.h"
#include <cstddef>
#include <cstdlib>
#include <istream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace morvik::cli {

// A JSON text whole in memory, followed by the zero bytes the parser may read past its
// end.
class JsonText {
public:
    explicit JsonText(std::string_view text);
    // All of `in`, which is `expectedSize` bytes long as far as known (0 when not; it
    // only sizes memory ahead). Throws UnreadableJson when reading fails.
    static JsonText read(std::istream& in, std::size_t expectedSize);
    // All of standard input (std::cin), sized ahead where it is a file.
    static JsonText readStandardInput();
    // The file at `path`: mapped into memory where its last page has room for the padding
    // (a text is not copied then), else read. Throws UnreadableJson when it cannot be read.
    static JsonText load(const std::string& path);

    std::string_view text() const { return {data_, size_}; }
    std::size_t capacity() const { return capacity_; }

private:
    explicit JsonText(std::size_t capacity);
    // Room for a text of `capacity` bytes and its padding, the text read so far kept.
    void grow(std::size_t capacity);
    struct Free {
        void operator()(char* bytes) const { std::free(bytes); }
    };
    struct Unmap {
        std::size_t size;
        void operator()(void* mapped) const;
    };
    std::unique_ptr<char, Free> bytes_; // the text and its padding, where read
    std::unique_ptr<void, Unmap> mapped_;
    const char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

struct UnreadableJson : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// About this much of a text laid out as `show` prints it is parsed at a time, so that
// the parser's memory does not grow with the text. 0 parses every text whole; the result
// is the same either way.
inline constexpr std::size_t kJsonPartSize = std::size_t{1} << 20;

// Fills `data` from `json`. On any fault `data` is unspecified and the text names the
// place: "members[2].unevenness[4]: ...". Texts are stored in GBK only when they fit
// their field whole; a text that would be cut or changed is a fault, not a silent loss.
std::optional<std::string> dataSetFromJson(const JsonText& json, DataSet& data,
                                           std::size_t partSize = kJsonPartSize);
std::optional<std::string> dataSetFromJson(std::string_view json, DataSet& data,
                                           std::size_t partSize = kJsonPartSize);

// The same, handing each member to `members` as soon as it is read and evaluated instead
// of keeping them all; members that come before the project wait for it. On a fault some
// members may have been handed over already.
std::optional<std::string> dataSetFromJson(const JsonText& json, ProjectInfo& project,
                                           MemberSink& members,
                                           std::size_t partSize = kJsonPartSize);

} // namespace morvik::cli
