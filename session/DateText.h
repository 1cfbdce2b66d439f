#pragma once
// Dates as the records store them: "%d年%d月%d日" in a 15-byte field.

#include "session/SessionView.h"
#include <optional>
#include <string>

namespace morvik {

// Both date fields of the records are 15 bytes wide.
constexpr std::size_t kDateFieldWidth = 15;

bool isValidDate(const CivilDate& date);

// "2018年3月5日": no leading zeros (UTF-8).
std::string dateText(const CivilDate& date);

// Reads a stored date: "2018年3月5日" as the program writes it, and the numeric forms
// "2018-03-05" and "2018/3/5" that older files and other tools leave; surrounding spaces
// are allowed. Nothing for any other text or for a day the calendar does not have.
std::optional<CivilDate> parseDateText(const std::string& text);

// Today's date on this machine's local clock.
CivilDate localToday();

} // namespace morvik
