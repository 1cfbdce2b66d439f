#include "JsonReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#ifdef _MSC_VER
#include <intrin.h>
#endif

// The scanners below are the inner loops of reading a data set; a call at every token
// would cost about as much as the work.
#if defined(__GNUC__)
#define MORVIK_HOT_INLINE inline __attribute__((always_inline))
#else
#define MORVIK_HOT_INLINE inline
#endif

namespace morvik::cli {

namespace {

constexpr int kMaxNesting = 512; // deeper values are refused, not followed into the stack

// A streamed text is read a megabyte at a time; a short one known to be short, whole.
constexpr std::size_t kWindowSize = std::size_t{1} << 20;
constexpr std::size_t kSmallestWindowSize = std::size_t{16} << 10;
// The longest piece a token needs in view at once: \uXXXX\uXXXX, or a UTF-8 sequence.
constexpr std::size_t kLongestEscape = 12;
constexpr std::size_t kLongestUtf8 = 4;
constexpr std::size_t kLongestLiteral = 5; // "false"

// A decimal mantissa of at most this many digits fits in 64 bits.
constexpr int kMaxMantissaDigits = 19;
// Mantissas up to 2^53 and powers of ten up to 1e22 are exact doubles, so one
// multiplication or division of the two rounds once and gives the nearest double, the same
// as from_chars (Clinger's fast path).
constexpr std::uint64_t kMaxExactMantissa = std::uint64_t{1} << 53;
constexpr int kMaxExactPower = 22;
constexpr double kExactPowers[kMaxExactPower + 1] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr std::uint64_t kIntegerPowers[20] = {1,
                                              10,
                                              100,
                                              1000,
                                              10000,
                                              100000,
                                              1000000,
                                              10000000,
                                              100000000,
                                              1000000000,
                                              10000000000,
                                              100000000000,
                                              1000000000000,
                                              10000000000000,
                                              100000000000000,
                                              1000000000000000,
                                              10000000000000000,
                                              100000000000000000,
                                              1000000000000000000,
                                              10000000000000000000ULL};
// An exponent this large already leaves every double behind; more digits are only counted.
constexpr int kExponentCap = 100000;
// Powers of ten up to 1e19 fit in 64 bits, so a mantissa of up to 19 digits times or over
// one of them is worked out exactly in 128 bits.
constexpr int kMaxWidePower = 19;
static_assert(sizeof kIntegerPowers / sizeof kIntegerPowers[0] == kMaxWidePower + 1);

constexpr std::uint64_t kEightBytes(unsigned char b) {
    return 0x0101010101010101ULL * b;
}

// Readings are written with up to 17 digits, so digits are taken up to eight at a time
// from a word of the text. The program runs little-endian only, as its data files do, so
// the first character is the word's lowest byte.

// The index of the first byte of the word with any bit of `marks` set; marks != 0.
MORVIK_HOT_INLINE int firstMarkedByte(std::uint64_t marks) {
#ifdef _MSC_VER
    unsigned long lowest = 0;
    _BitScanForward64(&lowest, marks);
    return static_cast<int>(lowest / 8);
#else
    return __builtin_ctzll(marks) / 8;
#endif
}

// How many characters at the start of the word are ASCII digits (0 to 8). A digit byte has
// 0x3 in its high nibble and keeps it when 6 is added; a carry out of a byte only comes
// from a non-digit, and only disturbs the bytes after it.
MORVIK_HOT_INLINE int leadingDigits(std::uint64_t word) {
    const std::uint64_t high = kEightBytes(0xF0);
    const std::uint64_t threes = kEightBytes(0x30);
    const std::uint64_t other =
        ((word & high) ^ threes) | (((word + kEightBytes(0x06)) & high) ^ threes);
    return other == 0 ? 8 : firstMarkedByte(other);
}

// The top bit of every byte of the word that is not 0. No carry leaves a byte: its low
// seven bits plus 0x7F is at most 0xFE.
MORVIK_HOT_INLINE std::uint64_t nonZeroBytes(std::uint64_t word) {
    const std::uint64_t low = kEightBytes(0x7F);
    return (((word & low) + low) | word) & ~low;
}

// The value of the first `count` (1 to 8) characters of the word, all digits: they are
// moved to the top and led by '0's, then paired, paired again and summed, each step one
// multiplication.
MORVIK_HOT_INLINE std::uint64_t leadingDigitValue(std::uint64_t word, int count) {
    const int shift = 8 * (8 - count);
    if (shift > 0)
        word = (word << shift) | (kEightBytes('0') >> (64 - shift));
    word -= kEightBytes('0');
    word = (word * 10) + (word >> 8); // each 16 bits: a two-digit value in the low byte
    const std::uint64_t pairs = 0x000000FF000000FFULL;
    const std::uint64_t highMultipliers = 100 + (1000000ULL << 32);
    const std::uint64_t lowMultipliers = 1 + (10000ULL << 32);
    return (((word & pairs) * highMultipliers) + (((word >> 16) & pairs) * lowMultipliers)) >> 32;
}

#ifdef __SIZEOF_INT128__
using Wide = unsigned __int128;

int bitLength(Wide x) {
    const auto high = static_cast<std::uint64_t>(x >> 64);
    const auto low = static_cast<std::uint64_t>(x);
    return high != 0 ? 128 - __builtin_clzll(high) : low != 0 ? 64 - __builtin_clzll(low) : 0;
}

// The nearest double to (x + a little, when `inexact`) times 2^exponent, ties to even; x is
// not 0 and the result is a normal double.
double nearestDouble(Wide x, bool inexact, int exponent) {
    constexpr int kMantissaBits = 53;
    const int drop = std::max(bitLength(x) - kMantissaBits, 0);
    auto mantissa = static_cast<std::uint64_t>(x >> drop);
    if (drop > 0) {
        const Wide rest = x & ((Wide{1} << drop) - 1);
        const Wide half = Wide{1} << (drop - 1);
        if (rest > half || (rest == half && (inexact || (mantissa & 1) != 0)))
            ++mantissa; // 2^53 after a carry is still exact
    }
    // A normal double with a mantissa of 53 bits is put together from its fields: ldexp
    // would cost as much as the rest. A carry to 2^53 takes ldexp.
    exponent += drop;
    const int biased = exponent + (kMantissaBits - 1) + 1023;
    if (mantissa >> (kMantissaBits - 1) != 1 || biased < 1 || biased > 2046)
        return std::ldexp(static_cast<double>(mantissa), exponent);
    const std::uint64_t bits = (static_cast<std::uint64_t>(biased) << (kMantissaBits - 1)) |
                               (mantissa & ((std::uint64_t{1} << (kMantissaBits - 1)) - 1));
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The nearest double to mantissa x 10^power, worked out exactly; the mantissa is not 0 and
// |power| is at most kMaxWidePower.
double wideValue(std::uint64_t mantissa, int power) {
    const Wide scale = kIntegerPowers[power < 0 ? -power : power];
    if (power >= 0)
        return nearestDouble(Wide{mantissa} * scale, false, 0);
    // Shifted to the top of 128 bits, the quotient keeps at least 64 significant bits, and
    // the remainder tells whether anything was cut off below them.
    const int shift = 128 - bitLength(mantissa);
    const Wide dividend = Wide{mantissa} << shift;
    return nearestDouble(dividend / scale, dividend % scale != 0, -shift);
}
#endif

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool startsNumber(char c) {
    return c == '-' || isDigit(c);
}

bool isSpace(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

// A byte a string may hold as it is: printable ASCII other than the quote and backslash.
bool isPlainStringByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte < 0x80 && c != '"' && c != '\\';
}

// Adds the digits from `p` on to the mantissa (which wraps when there are too many: the
// caller counts them) and returns where they end.
MORVIK_HOT_INLINE const char* takeDigits(const char* p, const char* end, std::uint64_t& mantissa) {
    while (end - p >= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, sizeof word);
        const int count = leadingDigits(word);
        if (count == 0)
            return p;
        mantissa = mantissa * kIntegerPowers[count] + leadingDigitValue(word, count);
        p += count;
        if (count < 8)
            return p;
    }
    while (p < end && isDigit(*p))
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p++ - '0');
    return p;
}

// A number as read from the text.
struct NumberScan {
    const char* end = nullptr;   // just past it, or where it went wrong
    const char* fault = nullptr; // what is wrong with it, if anything
    bool integral = true;        // no fraction and no exponent
    double value = 0.0;
};

// Reads the number at `p` (its first character is '-' or a digit); `end` lies past what ends
// it, or is the end of the text.
MORVIK_HOT_INLINE NumberScan scanNumberText(const char* p, const char* end) {
    // Built in locals and returned whole: a result filled in place would go through memory.
    const auto failed = [](const char* at, const char* what) {
        return NumberScan{at, what, false, 0.0};
    };
    const char* const start = p;
    bool integral = true;
    const bool negative = p < end && *p == '-';
    p += negative ? 1 : 0;
    // The digits as an integer mantissa times a power of ten. The mantissa is exact while
    // there are at most kMaxMantissaDigits digits; beyond that it is not used.
    std::uint64_t mantissa = 0;
    int digits = 0;
    if (p < end && *p == '0') {
        ++p; // a lone zero: no digit of the mantissa
    } else {
        const char* first = p;
        p = takeDigits(p, end, mantissa);
        digits = static_cast<int>(p - first);
        if (digits == 0)
            return failed(p, "a number without digits");
    }
    int power = 0;
    if (p < end && *p == '.') {
        integral = false;
        const char* first = ++p;
        p = takeDigits(p, end, mantissa);
        const auto fraction = static_cast<int>(p - first);
        if (fraction == 0)
            return failed(p, "a number without digits after its point");
        digits += fraction;
        power = -fraction;
    }
    if (p < end && (*p == 'e' || *p == 'E')) {
        integral = false;
        ++p;
        bool negativeExponent = false;
        if (p < end && (*p == '+' || *p == '-'))
            negativeExponent = *p++ == '-';
        if (p >= end || !isDigit(*p))
            return failed(p, "a number without digits in its exponent");
        int exponent = 0;
        while (p < end && isDigit(*p))
            exponent = std::min(exponent * 10 + (*p++ - '0'), kExponentCap);
        power += negativeExponent ? -exponent : exponent;
    }
    double value = 0.0;
    if (digits <= kMaxMantissaDigits && mantissa <= kMaxExactMantissa && power >= -kMaxExactPower &&
        power <= kMaxExactPower) {
        const auto m = static_cast<double>(mantissa);
        value = power < 0 ? m / kExactPowers[-power] : m * kExactPowers[power];
        value = negative ? -value : value;
#ifdef __SIZEOF_INT128__
    } else if (digits <= kMaxMantissaDigits && power >= -kMaxWidePower && power <= kMaxWidePower) {
        value = wideValue(mantissa, power); // mantissa != 0: 0 takes the branch above
        value = negative ? -value : value;
#endif
    } else if (std::from_chars(start, p, value).ec != std::errc()) {
        value = std::numeric_limits<double>::quiet_NaN();
    }
    return NumberScan{p, nullptr, integral, value};
}

bool numberFine(const NumberScan& n, const char* start) {
    return n.fault == nullptr &&
           static_cast<std::size_t>(n.end - start) <= JsonReader::kMaxNumberLength;
}

// Where the white space from `p` on ends (at `end` at the latest). Pretty-printed JSON is
// mostly indentation: runs of spaces are skipped a word at a time, line ends one by one.
MORVIK_HOT_INLINE const char* spaceEnd(const char* p, const char* end) {
    if (p != end && !isSpace(*p))
        return p;
    if (p < end && *p == '\n')
        ++p; // the line end before an indentation
    while (true) {
        while (end - p >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, p, sizeof word);
            const std::uint64_t other = nonZeroBytes(word ^ kEightBytes(' '));
            if (other != 0) {
                p += firstMarkedByte(other);
                break;
            }
            p += 8;
        }
        if (p == end || !isSpace(*p))
            return p;
        ++p;
    }
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Length of the well-formed UTF-8 sequence at `p` (RFC 3629: no overlong forms, no
// surrogates, nothing beyond U+10FFFF), or 0.
std::size_t utf8Length(const unsigned char* p, const unsigned char* end) {
    const unsigned char c = p[0];
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        low = c == 0xE0 ? 0xA0 : 0x80;
        high = c == 0xED ? 0x9F : 0xBF;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        low = c == 0xF0 ? 0x90 : 0x80;
        high = c == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (static_cast<std::size_t>(end - p) < length || p[1] < low || p[1] > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (p[k] < 0x80 || p[k] > 0xBF)
            return 0;
    return length;
}

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

JsonReader::JsonReader(std::string_view text)
    : begin_(text.data()), p_(text.data()), end_(text.data() + text.size()) {}

JsonReader::JsonReader(Source source, std::size_t sizeHint)
    : source_(std::move(source)),
      windowSize_(sizeHint == 0 ? kWindowSize
                                : std::clamp(sizeHint + 1, kSmallestWindowSize, kWindowSize)),
      atEnd_(false) {
    window_.reset(new char[windowSize_]);
    begin_ = p_ = end_ = window_.get();
}

std::size_t JsonReader::refill() {
    // What is left moves to the front, the rest of the window is filled: every token needs
    // far less than the window, so this happens about once per window of text.
    static_assert(kSmallestWindowSize > JsonReader::kMaxNumberLength + kLongestEscape);
    const auto left = static_cast<std::size_t>(end_ - p_);
    std::memmove(window_.get(), p_, left);
    consumed_ += static_cast<std::size_t>(p_ - begin_);
    std::size_t filled = left;
    while (filled < windowSize_ && !atEnd_) {
        const std::size_t n = source_(window_.get() + filled, windowSize_ - filled);
        atEnd_ = n == 0;
        filled += n;
    }
    begin_ = window_.get();
    p_ = begin_;
    end_ = begin_ + filled;
    return filled;
}

void JsonReader::fail(const std::string& what) const {
    throw JsonSyntaxError(what, offset());
}

void JsonReader::skipSpaceRun() {
    while ((p_ = spaceEnd(p_, end_)) == end_ && ensure(1) > 0) {
    }
}

void JsonReader::expect(char c) {
    skipSpace();
    if (p_ >= end_ || *p_ != c)
        fail(std::string("expected '") + c + "'");
    ++p_;
}

JsonReader::Kind JsonReader::next() {
    skipSpace();
    if (p_ >= end_)
        return Kind::End;
    switch (*p_) {
    case '{':
        return Kind::Object;
    case '[':
        return Kind::Array;
    case '"':
        return Kind::String;
    case 't':
        return Kind::True;
    case 'f':
        return Kind::False;
    case 'n':
        return Kind::Null;
    default:
        if (startsNumber(*p_))
            return Kind::Number;
        fail("no JSON value");
    }
}

void JsonReader::escape(std::string& out) {
    // p_ is just past the backslash.
    if (ensure(kLongestEscape - 1) == 0)
        fail("a string without its end");
    const char c = *p_++;
    switch (c) {
    case '"':
    case '\\':
    case '/':
        out += c;
        return;
    case 'b':
        out += '\b';
        return;
    case 'f':
        out += '\f';
        return;
    case 'n':
        out += '\n';
        return;
    case 'r':
        out += '\r';
        return;
    case 't':
        out += '\t';
        return;
    case 'u':
        break;
    default:
        fail("an unknown escape in a string");
    }
    auto hex4 = [this]() {
        if (end_ - p_ < 4)
            fail("a \\u escape without four hex digits");
        std::uint32_t value = 0;
        for (int k = 0; k < 4; ++k) {
            const int digit = hexValue(*p_++);
            if (digit < 0)
                fail("a \\u escape without four hex digits");
            value = value * 16 + static_cast<std::uint32_t>(digit);
        }
        return value;
    };
    std::uint32_t code = hex4();
    if (code >= 0xDC00 && code <= 0xDFFF)
        fail("a lone low surrogate");
    if (code >= 0xD800 && code <= 0xDBFF) {
        if (end_ - p_ < 2 || p_[0] != '\\' || p_[1] != 'u')
            fail("a high surrogate without its low half");
        p_ += 2;
        const std::uint32_t low = hex4();
        if (low < 0xDC00 || low > 0xDFFF)
            fail("a high surrogate without its low half");
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    }
    appendUtf8(out, code);
}

void JsonReader::string(std::string& out) {
    expect('"');
    out.clear();
    while (true) {
        const char* run = p_;
        while (p_ < end_ && isPlainStringByte(*p_))
            ++p_;
        out.append(run, static_cast<std::size_t>(p_ - run));
        if (p_ >= end_) {
            if (ensure(kLongestEscape) == 0)
                fail("a string without its end");
            continue; // the run goes on in the refilled window
        }
        const auto c = static_cast<unsigned char>(*p_);
        if (c == '"') {
            ++p_;
            return;
        }
        if (c == '\\') {
            ++p_;
            escape(out);
        } else if (c < 0x20) {
            fail("a control character in a string");
        } else {
            ensure(kLongestUtf8);
            const std::size_t length = utf8Length(reinterpret_cast<const unsigned char*>(p_),
                                                  reinterpret_cast<const unsigned char*>(end_));
            if (length == 0)
                fail("invalid UTF-8 in a string");
            out.append(p_, length);
            p_ += length;
        }
    }
}

JsonReader::Number JsonReader::number() {
    skipSpace();
    return scanNumber();
}

JsonReader::Item JsonReader::numberItem(bool& first, double& value) {
    if (!more(']', first))
        return Item::Closed;
    skipSpace();
    if (p_ == end_)
        return Item::Other;
    if (startsNumber(*p_)) {
        value = scanNumber().value;
        return Item::Number;
    }
    if (*p_ != 'n')
        return Item::Other;
    literal();
    return Item::Null;
}

JsonReader::Number JsonReader::scanNumber() {
    ensure(kMaxNumberLength + 1); // the number and what ends it
    const NumberScan n = scanNumberText(p_, end_);
    if (!numberFine(n, p_))
        failNumber(n.end, n.fault);
    const char* start = p_;
    p_ = n.end;
    return {std::string_view(start, static_cast<std::size_t>(n.end - start)), n.integral, n.value};
}

void JsonReader::failNumber(const char* at, const char* fault) {
    p_ = at;
    if (fault != nullptr)
        fail(fault);
    fail("a number of more than " + std::to_string(kMaxNumberLength) + " characters");
}

std::size_t JsonReader::numbers(double* values, std::size_t room, bool& first, double largest) {
    // Worked on through locals, as members would be written back at every step; anything
    // out of the ordinary is left to numberItem.
    const char* p = p_;
    const char* const end = end_;
    std::size_t count = 0;
    while (count < room) {
        const char* start = spaceEnd(p, end);
        if (!first) {
            if (start == end || *start != ',')
                break;
            start = spaceEnd(start + 1, end);
        }
        if (static_cast<std::size_t>(end - start) <= kMaxNumberLength && !atEnd_)
            break; // the number may go on past the window
        if (start == end || !startsNumber(*start))
            break;
        const NumberScan n = scanNumberText(start, end);
        if (!numberFine(n, start))
            failNumber(n.end, n.fault);
        values[count++] = n.value;
        first = false;
        p = n.end;
        if (!(std::fabs(n.value) <= largest))
            break;
    }
    p_ = p;
    return count;
}

void JsonReader::literal() {
    skipSpace();
    ensure(kLongestLiteral);
    for (const char* word : {"true", "false", "null"}) {
        const std::size_t n = std::strlen(word);
        if (static_cast<std::size_t>(end_ - p_) >= n && std::memcmp(p_, word, n) == 0) {
            p_ += n;
            return;
        }
    }
    fail("no JSON value");
}

void JsonReader::beginObject() {
    expect('{');
}

void JsonReader::beginArray() {
    expect('[');
}

bool JsonReader::more(char closing, bool& first) {
    skipSpace();
    const bool atClosing = p_ < end_ && *p_ == closing;
    if (atClosing) {
        ++p_;
        return false;
    }
    if (!first) {
        if (p_ >= end_ || *p_ != ',')
            fail(std::string("expected ',' or '") + closing + "'");
        ++p_; // "[1,]" then fails where the next value should start
    }
    first = false;
    return true;
}

void JsonReader::key(std::string& out) {
    if (next() != Kind::String)
        fail("an object member without a name");
    string(out);
    expect(':');
}

std::string_view JsonReader::name() {
    if (next() != Kind::String)
        fail("an object member without a name");
    const char* q = p_ + 1;
    while (q < end_ && isPlainStringByte(*q))
        ++q;
    if (q < end_ && *q == '"') {
        const char* colon = spaceEnd(q + 1, end_);
        if (colon < end_ && *colon == ':') {
            const std::string_view plain(p_ + 1, static_cast<std::size_t>(q - p_ - 1));
            p_ = colon + 1;
            return plain;
        }
    }
    // Escapes, other characters, the edge of the window or a fault: the general way.
    key(name_);
    return name_;
}

void JsonReader::skipValue() {
    // An explicit stack of open brackets: a deep text cannot exhaust the program's stack.
    std::string open;
    std::string scratch;
    bool first = true;
    do {
        if (!open.empty()) {
            if (!more(open.back(), first)) {
                open.pop_back();
                first = false;
                continue;
            }
            if (open.back() == '}')
                name();
        }
        switch (next()) {
        case Kind::Object:
        case Kind::Array:
            if (open.size() >= static_cast<std::size_t>(kMaxNesting))
                fail("values nested too deeply");
            open += *p_ == '{' ? '}' : ']';
            ++p_;
            first = true;
            break;
        case Kind::String:
            string(scratch);
            break;
        case Kind::Number:
            number();
            break;
        case Kind::True:
        case Kind::False:
        case Kind::Null:
            literal();
            break;
        case Kind::End:
            fail("the text ends inside a value");
        }
    } while (!open.empty());
}

void JsonReader::expectEnd() {
    skipSpace();
    if (p_ != end_)
        fail("text after the JSON value");
}

} // namespace morvik::cli
