#pragma once
// A pull reader of JSON text (RFC 8259) for make: values are taken one by one straight
// from the text, without building a document, so a data set of 100,000 members reads in
// a fraction of a second. Numbers are the nearest double to their text, the same under
// every locale: short ones are converted exactly on the spot, long ones by from_chars.

#include <cstddef>
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

class JsonReader {
public:
    enum class Kind { Object, Array, String, Number, True, False, Null, End };

    explicit JsonReader(std::string_view text);

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

    // Throws unless only white space is left.
    void expectEnd();

    std::size_t offset() const { return static_cast<std::size_t>(p_ - begin_); }
    std::size_t size() const { return static_cast<std::size_t>(end_ - begin_); }

private:
    [[noreturn]] void fail(const std::string& what) const;
    // Most calls find a value right there; only runs of space go out of line.
    void skipSpace() {
        if (p_<end_&& static_cast<unsigned char>(*p_)> ' ')
            return;
        skipSpaceRun();
    }
    void skipSpaceRun();
    void expect(char c);
    void escape(std::string& out);

    const char* begin_;
    const char* p_;
    const char* end_;
};

} // namespace morvik::cli
