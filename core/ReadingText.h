#pragma once
// The check of a reading typed into the reading grid, before it is stored.

#include "Message.h"
#include <optional>
#include <string>

namespace morvik {

// A reading must stay below this absolute value (mm).
constexpr double kReadingLimit = 100.0;

enum class ReadingStatus {
    Empty,      // nothing typed: the reading becomes missing, no message
    Valid,      // store `value`
    NotANumber, // a '-' after the first character, or a second '.'
    OutOfRange, // |value| >= kReadingLimit
};

struct ReadingCheck {
    ReadingStatus status = ReadingStatus::Empty;
    double value = 0.0;             // the leading number of the text (0 when there is none)
    std::optional<Message> message; // set for NotANumber and OutOfRange
};

// Whether a number may stand as a reading: its absolute value below kReadingLimit. Not a
// number and the infinities are none.
bool isReadingInRange(double value);

// The leading decimal number of `text`: optional whitespace, optional sign, digits with at
// most one '.', an optional exponent; the longest such prefix counts and anything after it
// is ignored ("12abc" is 12). No number at all gives 0. Independent of the locale; hex,
// "inf" and "nan" are not numbers. Beyond the range of a double: +-HUGE_VAL or 0.
double leadingNumber(const std::string& text);

// Checks the text of a reading cell character by character as the reading grid does: a '-'
// is allowed in the first position only, a second '.' is refused, and a number whose
// absolute value reaches kReadingLimit is refused. Any other character is accepted.
ReadingCheck checkReadingText(const std::string& text);

} // namespace morvik
