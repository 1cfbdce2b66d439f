#include "DateText.h"

#include <cstdio>
#include <ctime>

namespace morvik {

namespace {

constexpr int kMaxYear = 9999;

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// Reads 1..4 digits at `pos`; false when there are none or more than four.
bool readNumber(const std::string& text, std::size_t& pos, int& value) {
    std::size_t digits = 0;
    value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (++digits > 4)
            return false;
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    return digits > 0;
}

bool readSeparator(const std::string& text, std::size_t& pos, const std::string& separator) {
    if (text.compare(pos, separator.size(), separator) != 0)
        return false;
    pos += separator.size();
    return true;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// year sep1 month sep2 day sep3, nothing after.
std::optional<CivilDate> parseWith(const std::string& text, const std::string& sep1,
                                   const std::string& sep2, const std::string& sep3) {
    std::size_t pos = 0;
    CivilDate date;
    if (!readNumber(text, pos, date.year) || !readSeparator(text, pos, sep1) ||
        !readNumber(text, pos, date.month) || !readSeparator(text, pos, sep2) ||
        !readNumber(text, pos, date.day) || !readSeparator(text, pos, sep3) || pos != text.size() ||
        !isValidDate(date))
        return std::nullopt;
    return date;
}

} // namespace

bool isValidDate(const CivilDate& date) {
    return date.year >= 1 && date.year <= kMaxYear && date.month >= 1 && date.month <= 12 &&
           date.day >= 1 && date.day <= daysInMonth(date.year, date.month);
}

std::string dateText(const CivilDate& date) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d年%d月%d日", date.year, date.month, date.day);
    return buffer;
}

std::optional<CivilDate> parseDateText(const std::string& text) {
    const std::string t = trimmed(text);
    if (auto date = parseWith(t, "年", "月", "日"))
        return date;
    if (auto date = parseWith(t, "-", "-", ""))
        return date;
    return parseWith(t, "/", "/", "");
}

bool isDateFieldText(const std::string& text) {
    return text.empty() || parseDateText(text).has_value();
}

CivilDate localToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return CivilDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

} // namespace morvik
