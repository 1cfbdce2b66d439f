#pragma once
// Dates as the records store them: "%d年%d月%d日" in a 15-byte field.

#include <cstddef>
#include <optional>
#include <string>

namespace morvik {

// A calendar date as the date pickers hold it (month 1..12, day 1..31).
struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

inline bool operator==(const CivilDate& a, const CivilDate& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

// Both date fields of the records are 15 bytes wide.
constexpr std::size_t kDateFieldWidth = 15;

bool isValidDate(const CivilDate& date);

// "2018年3月5日": no leading zeros (UTF-8).
std::string dateText(const CivilDate& date);

// Reads a stored date: "2018年3月5日" as the program writes it, and the numeric forms
// "2018-03-05" and "2018/3/5" that older files and other tools leave; surrounding spaces
// are allowed. Nothing for any other text or for a day the calendar does not have.
std::optional<CivilDate> parseDateText(const std::string& text);

// Whether a date field may hold `text`: a date parseDateText reads, or nothing, as in a
// record never shown (the dialog fills in today's date when it shows one).
bool isDateFieldText(const std::string& text);

// Today's date on this machine's local clock.
CivilDate localToday();

} // namespace morvik
