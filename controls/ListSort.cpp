#include "controls/ListSort.h"

#include <QChar>
#include <algorithm>
#include <climits>

namespace morvik {

namespace {

const QChar kNameSeparator = u',';
const QChar kPairSeparator = u';';
const QChar kDateSeparator = u'/';
constexpr int kDateLength = 10;
constexpr int kDateSlash1 = 2;
constexpr int kDateSlash2 = 5;
constexpr int kYearAt = 6, kYearLength = 4;
constexpr int kMonthAt = 3, kDayAt = 0, kDayMonthLength = 2;
// Columns from this index on have centred headings and cells.
constexpr int kFirstCentredColumn = 2;

bool isDecimalDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

int sign(long long v) {
    return (v > 0) - (v < 0);
}

int compareNumbers(long long x, long long y, bool ascending) {
    return ascending ? sign(x - y) : sign(y - x);
}

struct DateParts {
    int year, month, day;
};

DateParts dateParts(const QString& t) {
    return {wideToInt(t.mid(kYearAt, kYearLength)), wideToInt(t.mid(kMonthAt, kDayMonthLength)),
            wideToInt(t.mid(kDayAt, kDayMonthLength))};
}

int compareDates(const QString& a, const QString& b) {
    const DateParts x = dateParts(a);
    const DateParts y = dateParts(b);
    if (x.year != y.year)
        return sign(x.year - y.year);
    if (x.month != y.month)
        return sign(x.month - y.month);
    return sign(x.day - y.day);
}

int compareLocale(const QString& a, const QString& b) {
    return sign(QString::localeAwareCompare(a, b));
}

} // namespace

std::vector<ListHeading> parseHeadingString(const QString& headings) {
    std::vector<ListHeading> result;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype comma = headings.indexOf(kNameSeparator, pos);
        if (comma < 0)
            break;
        // A pair without its own "," ends the list rather than swallowing the next pair.
        const qsizetype pairEnd = headings.indexOf(kPairSeparator, pos);
        if (pairEnd >= 0 && pairEnd < comma)
            break;
        const qsizetype semicolon = headings.indexOf(kPairSeparator, comma + 1);
        const qsizetype widthEnd = semicolon < 0 ? headings.size() : semicolon;
        ListHeading h;
        h.name = headings.mid(pos, comma - pos);
        h.width = std::max(0, wideToInt(headings.mid(comma + 1, widthEnd - comma - 1)));
        h.alignment = int(result.size()) < kFirstCentredColumn ? Qt::AlignLeft : Qt::AlignHCenter;
        result.push_back(h);
        pos = semicolon < 0 ? headings.size() : semicolon + 1;
    }
    return result;
}

int wideToInt(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; i < n && isDecimalDigit(text[i]); ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > limit) {
            value = limit;
            // Keep consuming digits without growing further.
            while (i < n && isDecimalDigit(text[i]))
                ++i;
            break;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

bool isAllDigits(const QString& text) {
    return std::all_of(text.begin(), text.end(), isDecimalDigit);
}

bool isDayMonthYear(const QString& text) {
    if (text.size() != kDateLength)
        return false;
    for (int i = 0; i < kDateLength; ++i) {
        const bool slash = i == kDateSlash1 || i == kDateSlash2;
        if (slash ? text[i] != kDateSeparator : !isDecimalDigit(text[i]))
            return false;
    }
    return true;
}

namespace {

// The kinds of cell text, in the order they take in an ascending sort.
enum class TextKind { Number, Date, Other };

TextKind textKind(const QString& t) {
    if (isAllDigits(t))
        return TextKind::Number;
    if (isDayMonthYear(t))
        return TextKind::Date;
    return TextKind::Other;
}

int compareAscending(const QString& a, const QString& b) {
    const TextKind ka = textKind(a);
    const TextKind kb = textKind(b);
    // Each kind keeps its own rule; across kinds the kind decides, so the answer no longer
    // depends on which text comes first (a sort needs a strict weak ordering).
    if (ka != kb)
        return ka < kb ? -1 : 1;
    switch (ka) {
    case TextKind::Number:
        return compareNumbers(wideToInt(a), wideToInt(b), true);
    case TextKind::Date:
        return compareDates(a, b);
    case TextKind::Other:
        break;
    }
    return compareLocale(a, b);
}

} // namespace

int compareListTexts(const QString& a, const QString& b, bool ascending) {
    return ascending ? compareAscending(a, b) : compareAscending(b, a);
}

} // namespace morvik
