#pragma once
// A pull reader of JSON text (RFC 8259) for make: values are taken one by one straight
// from the text, without building a document, so a data set of 100,000 members reads in
// a fraction of a second. The text is given whole or read from a source through a window
// of a megabyte, so memory does not grow with the text. Numbers are the nearest double to
// their text, the same under every locale: short ones are converted exactly on the spot,
// long ones by from_chars; a number may have at most kMaxNumberLength characters (a limit
// RFC 8259 leaves to the reader).

#include <cstddef>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace morvik::cli {

// The text is not JSON; `offset` is the byte where that became clear.
struct JsonSyntaxError : std::runtime_error {
    JsonSyntaxError(const std::string& what, std::size_t at)
        : std::runtime_error(what), offset(at) {}
    std::size_t offset;
};

// The source of a streamed text could not be read.
struct JsonSourceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class JsonReader {
public:
    enum class Kind { Object, Array, String, Number, True, False, Null, End };

    static constexpr std::size_t kMaxNumberLength = 4096;

    // Puts up to `room` bytes of the text at `into` and says how many: 0 only at its end.
    // Throws JsonSourceError when reading fails.
    using Source = std::function<std::size_t(char* into, std::size_t room)>;

    explicit JsonReader(std::string_view text);
    // `sizeHint`: the length of the text where known (0 when not); it only sizes memory.
    explicit JsonReader(Source source, std::size_t sizeHint = 0);

    // What the next value is, after any white space; End at the end of the text.
    Kind next();

    // Each of these reads one value of its kind and throws JsonSyntaxError when the text
    // does not hold one there.
    void string(std::string& out); // decoded UTF-8; invalid UTF-8 is a syntax error
    struct Number {
        std::string_view text;
        bool integral; // no fraction and no exponent
        double value;  // the nearest double to the text; NaN beyond the range of a double
    };
    Number number();
    void literal(); // true, false or null
    void skipValue();

    // Objects and arrays: begin, then `more` before every member or item (false after the
    // last one, having read the closing bracket). `key` reads a member's name and colon.
    void beginObject();
    void beginArray();
    bool more(char closing, bool& first);
    void key(std::string& out);
    // The same, returning the name: a view of the text itself where the name is plain ASCII
    // (the common case), else of a decoded copy; valid until the next call on the reader.
    std::string_view name();

    // An item of an array of numbers and nulls, the bulk of a data set, read in one step in
    // place of more, next and number: Number puts its value in `value`; Closed has read the
    // closing ']'; Other leaves an item of another kind (or the end of the text) unread.
    enum class Item { Number, Null, Closed, Other };
    Item numberItem(bool& first, double& value);
    // A run of numbers of such an array read in one pass: while the items are numbers, up to
    // `room` of them go to `values`, stopping after one beyond `largest` in magnitude (or
    // NaN). Returns how many; what follows them is left to numberItem.
    std::size_t numbers(double* values, std::size_t room, bool& first, double largest);

    // Throws unless only white space is left.
    void expectEnd();

    // Bytes of the text read so far.
    std::size_t offset() const { return consumed_ + static_cast<std::size_t>(p_ - begin_); }

private:
    [[noreturn]] void fail(const std::string& what) const;
    // Most calls find a value right there; only runs of space go out of line.
    void skipSpace() {
        if (p_ != end_ && static_cast<unsigned char>(*p_) > ' ')
            return;
        skipSpaceRun();
    }
    void skipSpaceRun();
    void expect(char c);
    Number scanNumber(); // at p_
    // A number is wrong at `at`: `fault` says how, or it is too long where that is null.
    [[noreturn]] void failNumber(const char* at, const char* fault);
    void escape(std::string& out);
    // Makes at least `wanted` bytes from p_ on available where the text has them (wanted is
    // at most a number's limit and what ends it), reading on from the source; returns how
    // many are available. Pointers into the window other than p_ are invalid afterwards.
    std::size_t ensure(std::size_t wanted) {
        const auto available = static_cast<std::size_t>(end_ - p_);
        return available >= wanted || atEnd_ ? available : refill();
    }
    std::size_t refill();

    Source source_;
    std::unique_ptr<char[]> window_; // of a streamed text
    std::size_t windowSize_ = 0;
    bool atEnd_ = true;        // the source has given all it has (always for a whole text)
    std::size_t consumed_ = 0; // bytes of the text before begin_
    const char* begin_ = nullptr;
    const char* p_ = nullptr;
    const char* end_ = nullptr;
    std::string name_; // a decoded name
};

} // namespace morvik::cli
