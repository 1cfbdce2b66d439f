#pragma once
// Text rules of the member list: the heading string that sets up its columns and the
// comparison by which a heading click orders its rows.
#include <QString>
#include <Qt>
#include <vector>

namespace morvik {

// One column made from the heading string.
struct ListHeading {
    QString name;
    int width = 0;
    Qt::Alignment alignment = Qt::AlignLeft;
};

// Splits "name,width;name,width;..." into headings. A pair without "," ends the list; a
// width without a closing ";" runs to the end of the string. Columns 0 and 1 are
// left-aligned, the later ones centred. Widths are read like wideToInt() and never negative.
std::vector<ListHeading> parseHeadingString(const QString& headings);

// The C library's wide-text to int conversion: leading white space, an optional sign, then
// decimal digits up to the first other character; 0 when there are none; out-of-range
// values stop at INT_MAX / INT_MIN.
int wideToInt(const QString& text);

// True when every character is a decimal digit 0-9 (also for the empty text).
bool isAllDigits(const QString& text);

// True for exactly DD/MM/YYYY: ten characters, digits except "/" at positions 2 and 5.
bool isDayMonthYear(const QString& text);

// Order of two cell texts for a sort by one column: negative, zero or positive for a before,
// equal to, or after b in the given direction. Texts of all digits (and the empty text)
// compare as numbers, DD/MM/YYYY dates as dates (year, month, day), anything else in the
// locale's case-sensitive text order. Texts of different kinds never compare by one side's
// rule: numbers come before dates and dates before other texts, so the order is a strict
// weak ordering whatever the column holds. Descending is the exact reverse.
int compareListTexts(const QString& a, const QString& b, bool ascending);

} // namespace morvik
