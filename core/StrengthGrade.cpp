#include "StrengthGrade.h"

#include <cctype>

namespace morvik {

namespace {
constexpr char kGradePrefix = 'M';
// A number of more digits than a grade can hold in its field is no grade.
constexpr std::size_t kMaxDigits = 8;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}
} // namespace

std::optional<double> designStrength(const std::string& grade) {
    std::size_t begin = 0;
    std::size_t end = grade.size();
    while (begin < end && isBlank(grade[begin]))
        ++begin;
    while (end > begin && isBlank(grade[end - 1]))
        --end;
    // The prefix is often left out on site: "7.5" means M7.5 as well.
    if (begin < end && grade[begin] == kGradePrefix)
        ++begin;
    if (begin == end)
        return std::nullopt;
    // Digits, optionally a point followed by digits: read by hand so no locale's decimal
    // separator and no exponent or sign slips in.
    double whole = 0;
    double scale = 1;
    bool afterPoint = false;
    std::size_t digits = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const char c = grade[i];
        if (c == '.' && !afterPoint && digits > 0 && i + 1 < end) {
            afterPoint = true;
            continue;
        }
        if (!isDigit(c) || ++digits > kMaxDigits)
            return std::nullopt;
        if (afterPoint)
            scale /= 10;
        whole = whole * (afterPoint ? 1 : 10) + (c - '0') * (afterPoint ? scale : 1);
    }
    if (!(whole > 0))
        return std::nullopt;
    return whole;
}

} // namespace morvik
