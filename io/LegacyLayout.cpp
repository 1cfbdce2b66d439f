#include "LegacyLayout.h"

#include "core/Evaluation.h"
#include "core/GbkText.h"
#include "core/Vocabulary.h"
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace morvik::io_detail {

namespace {

static_assert(std::numeric_limits<float>::is_iec559,
              "narrowing a large reading to float must give infinity, not undefined behaviour");

enum LegacyField {
    kFieldInstrumentNumber = 0,
    kFieldStrength = 1,
    kFieldRemark = 2,
    kFieldProjectName = 3,
    kFieldMemberName = 4,
    kFieldReviewer = 6,
    kFieldChiefInspector = 7,
    kFieldTestDate = 8,
    kFieldVariety = 9,
    kFieldFirstReading = 10,
    kFieldMeanDepth = 58,
};

constexpr int kFieldsPerGroup = 3; // depth, penetrometer reading, unevenness reading

// The point (0-based) that each reading group describes, in file order: 9, 8, ..., 2,
// 16, 15, ..., 10, 1 counted from one.
constexpr std::array<int, kPointCount> kGroupPoint = {8,  7,  6,  5,  4,  3,  2, 1,
                                                      15, 14, 13, 12, 11, 10, 9, 0};

constexpr std::uint8_t kCodeMixedMortar = 0x01;  // 砌筑砂浆 / 水泥混合砂浆
constexpr std::uint8_t kCodeCementMortar = 0x02; // 砌筑砂浆 / 水泥砂浆

using Slot = std::array<char, kLegacySlotSize>;

bool isGbkLead(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}
bool isGbkTrail(unsigned char b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

bool isBlank(char ch) {
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

// Where a decimal number too large or too small for a double lies: its power of ten,
// from the digits between `begin` and `end` and their exponent.
bool overflows(const char* begin, const char* end) {
    long power = 0;
    const char* p = begin;
    bool significant = false;
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        significant = significant || *p != '0';
        if (significant)
            ++power;
    }
    if (p < end && *p == '.')
        for (++p; p < end && *p >= '0' && *p <= '9'; ++p) {
            if (significant)
                break;
            if (*p != '0')
                significant = true;
            else
                --power;
        }
    while (p < end && *p != 'e' && *p != 'E')
        ++p;
    if (p < end) {
        long exponent = 0;
        const char* digits = p + 1 + (p[1] == '+' || p[1] == '-');
        std::from_chars(digits, end, exponent);
        power += p[1] == '-' ? -exponent : exponent;
    }
    return power > 0;
}

// A number as atof reads it in the "C" locale: leading blanks, a sign, then a decimal or
// hexadecimal number, infinity or NaN; `end` is where the reading stopped (`text` when
// there was no number). One rule on every platform, whatever the C library thinks of
// "0x10" or "nan", and no locale can make it read a decimal comma.
double parseC(const char* text, const char** end = nullptr) {
    const char* p = text;
    while (isBlank(*p))
        ++p;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-')
        ++p;
    const char* last = p + std::strlen(p);
    double value = 0;
    std::from_chars_result read{p, std::errc::invalid_argument};
    if (*p == '-') {
        // a second sign: no number
    } else if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        read = std::from_chars(p + 2, last, value, std::chars_format::hex);
        if (read.ec == std::errc::invalid_argument) // "0x" alone is the 0 before it
            read = {p + 1, std::errc()};
        else if (read.ec == std::errc::result_out_of_range)
            value = HUGE_VAL;
    } else {
        read = std::from_chars(p, last, value);
        if (read.ec == std::errc::result_out_of_range)
            value = overflows(p, read.ptr) ? HUGE_VAL : 0.0;
    }
    if (read.ec == std::errc::invalid_argument) {
        if (end)
            *end = text;
        return 0.0;
    }
    if (end)
        *end = read.ptr;
    return negative ? -value : value;
}

// The fields that hold numbers: the strength, the 48 readings and the mean depth.
bool isNumericField(int field) {
    return field == kFieldStrength || field >= kFieldFirstReading;
}

} // namespace

float legacyNumber(const char* text) {
    return static_cast<float>(parseC(text));
}

NumberText numberText(const char* text) {
    while (isBlank(*text))
        ++text;
    if (*text == '\0')
        return NumberText::Empty;
    const char* end = nullptr;
    parseC(text, &end);
    return end != text ? NumberText::Number : NumberText::NotANumber;
}

std::size_t gbkPrefixLength(const char* text, std::size_t len, std::size_t limit) {
    std::size_t used = 0;
    while (used < len) {
        const bool pair = isGbkLead(static_cast<unsigned char>(text[used])) && used + 1 < len &&
                          isGbkTrail(static_cast<unsigned char>(text[used + 1]));
        const std::size_t step = pair ? 2 : 1;
        if (used + step > limit)
            break;
        used += step;
    }
    return used;
}

void storeText(const char* text, char* field, std::size_t width) {
    if (width == 0)
        return;
    std::memset(field, 0, width);
    const std::size_t len = std::strlen(text);
    std::memcpy(field, text, gbkPrefixLength(text, len, width - 1));
}

bool readLegacyLayout(ByteSource& source, DataSet& data) {
    std::array<Slot, kLegacyFieldCount> fields{};
    std::uint64_t offset = 0;
    for (Slot& slot : fields) {
        unsigned char length = 0;
        if (source.readAt(offset, &length, 1) != 1)
            break; // this and every later field stays empty
        ++offset;
        offset += source.readAt(offset, slot.data(), length);
    }
    // The old program wrote a number into every numeric field. Text that is no number
    // there, or no number anywhere (an empty file, a short text file that fits into the
    // first field), is some other file that merely lacks the magic: read on, its bytes
    // would show as garbled texts and readings of 0 that nobody measured.
    bool anyNumber = false;
    for (int field = 0; field < kLegacyFieldCount; ++field) {
        if (!isNumericField(field))
            continue;
        const NumberText kind = numberText(fields[std::size_t(field)].data());
        if (kind == NumberText::NotANumber)
            return false;
        anyNumber = anyNumber || kind == NumberText::Number;
    }
    if (!anyNumber)
        return false;

    std::memset(&data.project, 0, sizeof data.project);
    ShaJiang_GouJian_Struct member = newMemberRecord(1);
    std::memset(member.memberName, 0, sizeof member.memberName);

    storeText(fields[kFieldInstrumentNumber].data(), data.project.instrumentNumber,
              sizeof data.project.instrumentNumber);
    member.strength = legacyNumber(fields[kFieldStrength].data());
    storeText(fields[kFieldRemark].data(), member.remark, sizeof member.remark);
    storeText(fields[kFieldProjectName].data(), data.project.projectName,
              sizeof data.project.projectName);
    storeText(fields[kFieldMemberName].data(), member.memberName, sizeof member.memberName);
    storeText(fields[kFieldReviewer].data(), data.project.reviewer, sizeof data.project.reviewer);
    storeText(fields[kFieldChiefInspector].data(), data.project.chiefInspector,
              sizeof data.project.chiefInspector);
    if (fields[kFieldTestDate][0] != '\0')
        storeText(fields[kFieldTestDate].data(), member.testDate, sizeof member.testDate);

    static const std::string mixedMortar = utf8ToGbk(varietyText(kCodeMixedMortar));
    data.project.mortarCode =
        mixedMortar == fields[kFieldVariety].data() ? kCodeMixedMortar : kCodeCementMortar;

    for (int g = 0; g < kPointCount; ++g) {
        const int first = kFieldFirstReading + kFieldsPerGroup * g;
        const int point = kGroupPoint[g];
        member.depth[point] = legacyNumber(fields[first].data());
        member.gaugeReading[point] = legacyNumber(fields[first + 1].data());
        member.unevenness[point] = legacyNumber(fields[first + 2].data());
    }
    member.meanDepth = legacyNumber(fields[kFieldMeanDepth].data());

    // The stored depths are not trusted: they follow from the two readings.
    for (int k = 0; k < kPointCount; ++k)
        updatePointDepth(member, k, 0.0f);
    evaluateMember(member, data.project.mortarCode);
    data.members.assign(1, member);
    return true;
}

} // namespace morvik::io_detail
