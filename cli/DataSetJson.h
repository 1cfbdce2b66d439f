#pragma once
// The data set from the JSON that `morvik-cli show` prints: the project object and the
// members with their texts and their readings of the 16 points. The depths, the results,
// "shown" and "layout" are ignored: each depth follows from its two readings as the dialog
// derives it, and the members are evaluated as opening a file evaluates them.

#include "io/DataFile.h"
#include <cstddef>
#include <istream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace morvik::cli {

// make refuses a longer text before reading it whole: it is held in memory while it is
// read, and the parser's index takes about as much again.
inline constexpr std::size_t kMaxJsonSize = std::size_t{256} << 20;

// A JSON text whole in memory, followed by the zero bytes the parser may read past its
// end.
class JsonText {
public:
    explicit JsonText(std::string_view text);
    // All of `in`. Throws JsonTooLarge where it is longer than `limit`, UnreadableJson
    // where reading fails.
    static JsonText read(std::istream& in, std::size_t limit = kMaxJsonSize);
    // All of standard input (std::cin), as read() reads it.
    static JsonText readStandardInput();
    // The file at `path`, its size checked against `limit` before it is read. Throws
    // JsonUnopenable where it cannot be opened, otherwise as read() does.
    static JsonText load(const std::string& path, std::size_t limit = kMaxJsonSize);

    JsonText(JsonText&&) noexcept;
    JsonText& operator=(JsonText&&) noexcept;
    ~JsonText();

    std::string_view text() const;
    // The bytes held: the text and its padding.
    std::size_t capacity() const;

private:
    struct Padded;
    explicit JsonText(std::unique_ptr<Padded> padded);
    // Room for a text of `size` bytes and the padding, not yet filled.
    static std::unique_ptr<Padded> sized(std::size_t size);
    std::unique_ptr<Padded> padded_;
};

struct UnreadableJson : std::runtime_error {
    using std::runtime_error::runtime_error;
};
struct JsonTooLarge : UnreadableJson {
    using UnreadableJson::UnreadableJson;
};
struct JsonUnopenable : UnreadableJson {
    using UnreadableJson::UnreadableJson;
};

// Fills `data` from `json`. On any fault `data` is unspecified and the text names the
// place: "members[2].unevenness[4]: ...". Texts are stored in GBK only when they fit
// their field whole; a text that would be cut or changed is a fault, not a silent loss.
std::optional<std::string> dataSetFromJson(const JsonText& json, DataSet& data);
std::optional<std::string> dataSetFromJson(std::string_view json, DataSet& data);

// The same, handing each member to `members` as soon as it is read and evaluated instead
// of keeping them all; members that come before the project wait for it. On a fault some
// members may have been handed over already.
std::optional<std::string> dataSetFromJson(const JsonText& json, ProjectInfo& project,
                                           MemberSink& members);

} // namespace morvik::cli
