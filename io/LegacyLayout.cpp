#include "LegacyLayout.h"

#include "core/Evaluation.h"
#include "core/GbkText.h"
#include "core/Vocabulary.h"
#include <array>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#ifdef _WIN32
#include <locale.h>
#else
#include <locale.h>
#include <stdlib.h>
#endif

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

#ifdef _WIN32
double parseC(const char* text, char** end = nullptr) {
    static const _locale_t c = _create_locale(LC_ALL, "C");
    return _strtod_l(text, end, c);
}
#else
double parseC(const char* text, char** end = nullptr) {
    // The program's own locale may use a decimal comma; the files always use '.'.
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return strtod_l(text, end, c);
}
#endif

bool isBlank(char ch) {
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
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
    char* end = nullptr;
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
