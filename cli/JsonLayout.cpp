#include "JsonLayout.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace morvik::cli {

namespace {

bool isMark(char c) {
    return c == '"' || c == '{' || c == '}' || c == '[' || c == ']';
}

// The quotes and brackets of a text, found 64 bytes at a time: most of a data set's text
// is keys, numbers and white space between them.
class Marks {
public:
    Marks(const char* from, const char* end) : base_(from), end_(end), bits_(load(from)) {}

    // The next mark, or the end of the text.
    const char* next() {
        while (bits_ == 0) {
            base_ += kBlock;
            if (base_ >= end_)
                return end_;
            bits_ = load(base_);
        }
        const char* mark = base_ + __builtin_ctzll(bits_);
        bits_ &= bits_ - 1;
        return mark;
    }

private:
    static constexpr std::ptrdiff_t kBlock = 64;
    // The text is met here first, often straight from the system's file cache: asked for
    // this far ahead, it has arrived by the time it is scanned.
    static constexpr std::ptrdiff_t kPrefetchDistance = 2048;

    std::uint64_t load(const char* from) const {
        std::uint64_t bits = 0;
#if defined(__SSE2__)
        if (end_ - from >= kBlock) {
            __builtin_prefetch(from + kPrefetchDistance);
            const __m128i quote = _mm_set1_epi8('"');
            const __m128i open = _mm_set1_epi8('{');
            const __m128i close = _mm_set1_epi8('}');
            const __m128i lowerCase = _mm_set1_epi8(0x20); // "[" and "]" become "{" and "}"
            for (int i = 0; i < 4; ++i) {
                const __m128i bytes =
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 16 * i));
                const __m128i folded = _mm_or_si128(bytes, lowerCase);
                const __m128i marks = _mm_or_si128(
                    _mm_cmpeq_epi8(bytes, quote),
                    _mm_or_si128(_mm_cmpeq_epi8(folded, open), _mm_cmpeq_epi8(folded, close)));
                bits |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(marks))}
                        << (16 * i);
            }
            return bits;
        }
#endif
        for (std::ptrdiff_t i = 0; i < kBlock && from + i < end_; ++i)
            if (isMark(from[i]))
                bits |= std::uint64_t{1} << i;
        return bits;
    }

    const char* base_;
    const char* end_;
    std::uint64_t bits_;
};

// The quote that ends the string opened by the quote at `open`, the last mark taken from
// `marks`; `end` where the text ends first. A quote counts when an even number of
// backslashes stand before it inside the string.
const char* stringEnd(Marks& marks, const char* open, const char* end) {
    for (const char* mark = marks.next(); mark != end; mark = marks.next()) {
        if (*mark != '"')
            continue;
        const char* b = mark;
        while (b != open + 1 && b[-1] == '\\')
            --b;
        if ((mark - b) % 2 == 0)
            return mark;
    }
    return end;
}

class Scanner {
public:
    // Scans from `at` on, moving it past what is taken.
    Scanner(const char*& at, const char* end) : at_(at), end_(end) {}

    bool atEnd() const { return at_ == end_; }

    void skipSpace() {
        while (at_ != end_ && (*at_ == ' ' || *at_ == '\n' || *at_ == '\r' || *at_ == '\t'))
            ++at_;
    }

    // Takes `c` after any white space.
    bool take(char c) {
        skipSpace();
        if (at_ == end_ || *at_ != c)
            return false;
        ++at_;
        return true;
    }

    // Takes a key and its colon after any white space: a key of printable ASCII without
    // escapes, which is all a data set's keys need; nothing for any other.
    std::optional<std::string_view> takeKey() {
        if (!take('"'))
            return std::nullopt;
        const char* begin = at_;
        while (at_ != end_ && *at_ != '"') {
            if (*at_ < ' ' || *at_ > '~' || *at_ == '\\')
                return std::nullopt;
            ++at_;
        }
        if (at_ == end_)
            return std::nullopt;
        const std::string_view key(begin, static_cast<std::size_t>(at_++ - begin));
        if (!take(':'))
            return std::nullopt;
        return key;
    }

    // Takes a value after any white space. An object or array ends at the bracket that
    // closes its first one, a string at its closing quote, anything else before white
    // space or what may follow a value.
    std::optional<std::string_view> takeValue() {
        skipSpace();
        if (at_ == end_)
            return std::nullopt;
        if (*at_ == '{' || *at_ == '[')
            return takeNested();
        const char* begin = at_;
        if (*at_ == '"') {
            Marks marks(at_, end_);
            const char* close = stringEnd(marks, marks.next(), end_);
            if (close == end_)
                return std::nullopt;
            at_ = close + 1;
        } else {
            while (at_ != end_ && *at_ != ',' && *at_ != '}' && *at_ != ']' && *at_ != ' ' &&
                   *at_ != '\n' && *at_ != '\r' && *at_ != '\t')
                ++at_;
        }
        return std::string_view(begin, static_cast<std::size_t>(at_ - begin));
    }

    // Takes an object after any white space.
    std::optional<std::string_view> takeObject() {
        skipSpace();
        if (at_ == end_ || *at_ != '{')
            return std::nullopt;
        return takeNested();
    }

private:
    // Takes the object or array at hand up to the bracket that closes it: brackets inside
    // strings do not count, and the kind of a closing bracket is not checked. Nothing
    // where the text ends first.
    std::optional<std::string_view> takeNested() {
        const char* begin = at_;
        Marks marks(at_, end_);
        std::size_t depth = 0;
        for (const char* mark = marks.next(); mark != end_; mark = marks.next()) {
            switch (*mark) {
            case '{':
            case '[':
                ++depth;
                break;
            case '}':
            case ']':
                if (--depth == 0) {
                    at_ = mark + 1;
                    return std::string_view(begin, static_cast<std::size_t>(at_ - begin));
                }
                break;
            default: // a quote: on to the one that ends its string
                if (stringEnd(marks, mark, end_) == end_)
                    return std::nullopt;
                break;
            }
        }
        return std::nullopt;
    }

    const char*& at_;
    const char* end_;
};

// Takes the members after the "[" of their array, through its "]", in runs.
} // namespace

JsonLayoutScan::JsonLayoutScan(std::string_view text, std::size_t runSize)
    : at_(text.data()), end_(text.data() + text.size()), runSize_(runSize) {}

std::optional<JsonLayoutScan::Piece> JsonLayoutScan::failed() {
    state_ = State::Failed;
    return std::nullopt;
}

std::optional<JsonLayoutScan::Piece> JsonLayoutScan::next() {
    Scanner scan(at_, end_);
    for (;;) {
        switch (state_) {
        case State::Start:
            if (!scan.take('{'))
                return failed();
            state_ = State::Key;
            break;
        case State::Key: {
            const auto key = scan.takeKey();
            if (!key)
                return failed();
            if (*key == "members") {
                if (!haveProject_ || haveMembers_ || !scan.take('['))
                    return failed();
                haveMembers_ = true;
                state_ = State::Members;
                break;
            }
            state_ = State::AfterValue;
            if (*key == "project") {
                const auto project = scan.takeObject();
                if (!project || haveProject_ || haveMembers_)
                    return failed();
                haveProject_ = true;
                return Piece{Piece::Project, *project};
            }
            const auto value = scan.takeValue();
            if (!value || value->empty())
                return failed();
            return Piece{Piece::Other, *value};
        }
        case State::Members: {
            const char* runBegin = nullptr;
            for (;;) {
                const auto member = scan.takeObject();
                if (!member)
                    return failed();
                if (runBegin == nullptr)
                    runBegin = member->data();
                const auto size =
                    static_cast<std::size_t>(member->data() + member->size() - runBegin);
                if (!scan.take(',')) {
                    if (!scan.take(']'))
                        return failed();
                    state_ = State::AfterValue;
                    return Piece{Piece::Members, std::string_view(runBegin, size)};
                }
                if (size >= runSize_)
                    return Piece{Piece::Members, std::string_view(runBegin, size)};
            }
        }
        case State::AfterValue:
            if (scan.take(',')) {
                state_ = State::Key;
                break;
            }
            if (!scan.take('}') || !haveMembers_)
                return failed();
            scan.skipSpace();
            if (!scan.atEnd())
                return failed();
            state_ = State::Done;
            return Piece{Piece::End, {}};
        case State::Done:
            return Piece{Piece::End, {}};
        case State::Failed:
            return std::nullopt;
        }
    }
}

} // namespace morvik::cli
