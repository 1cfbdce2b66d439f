#include "ReadingText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace morvik {

namespace {

const char* const kNotANumberText = "请输入一个有效的数字！";
const char* const kOutOfRangeText = "请输入一个绝对值小于100的数字！";

// Exponents beyond this already leave the range of a double whatever the mantissa; the
// cap keeps a long run of exponent digits from overflowing the counter.
constexpr long kExponentCap = 100000;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

bool isReadingInRange(double value) {
    return std::fabs(value) < kReadingLimit; // false for NaN too
}

double leadingNumber(const std::string& text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::string integerDigits;
    while (i < n && isDigit(text[i]))
        integerDigits += text[i++];
    std::string fractionDigits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && isDigit(text[i]))
            fractionDigits += text[i++];
    }
    if (integerDigits.empty() && fractionDigits.empty())
        return 0.0;

    // An exponent counts only when at least one digit follows the 'e' and its sign.
    long exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool exponentNegative = false;
        if (j < n && (text[j] == '+' || text[j] == '-')) {
            exponentNegative = text[j] == '-';
            ++j;
        }
        if (j < n && isDigit(text[j])) {
            while (j < n && isDigit(text[j])) {
                if (exponent < kExponentCap)
                    exponent = exponent * 10 + (text[j] - '0');
                ++j;
            }
            if (exponentNegative)
                exponent = -exponent;
        }
    }

    // The digits are ours; from_chars only turns the canonical form into the nearest
    // double, without the locale and without the special spellings strtod knows.
    const std::string canonical = (integerDigits.empty() ? std::string("0") : integerDigits) +
                                  (fractionDigits.empty() ? std::string() : "." + fractionDigits) +
                                  "e" + std::to_string(exponent);
    double value = 0.0;
    const auto result =
        std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Decimal magnitude of the first significant digit decides: too large or too small.
        const std::size_t firstInteger = integerDigits.find_first_not_of('0');
        long magnitude;
        if (firstInteger != std::string::npos) {
            magnitude = static_cast<long>(integerDigits.size() - firstInteger) + exponent;
        } else {
            const std::size_t firstFraction = fractionDigits.find_first_not_of('0');
            magnitude = firstFraction == std::string::npos
                            ? -kExponentCap
                            : exponent - static_cast<long>(firstFraction);
        }
        value = magnitude > 0 ? HUGE_VAL : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

ReadingCheck checkReadingText(const std::string& text) {
    ReadingCheck check;
    if (text.empty())
        return check;
    check.value = leadingNumber(text);

    int points = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.')
            ++points;
        if (c == '-') {
            if (i == 0)
                continue;
            check.status = ReadingStatus::NotANumber;
            check.message = Message{kNotANumberText, kCaptionNotice, MessageIcon::Information};
            return check;
        }
        if (points >= 2) {
            check.status = ReadingStatus::NotANumber;
            check.message = Message{kNotANumberText, kCaptionNotice, MessageIcon::Information};
            return check;
        }
        if (!isReadingInRange(check.value)) {
            check.status = ReadingStatus::OutOfRange;
            check.message = Message{kOutOfRangeText, kCaptionNotice, MessageIcon::Information};
            return check;
        }
    }
    check.status = ReadingStatus::Valid;
    return check;
}

} // namespace morvik
