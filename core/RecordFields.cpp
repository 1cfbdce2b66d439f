#include "RecordFields.h"

#include <limits>
#include <type_traits>

namespace morvik {

namespace {

// Characters the edit fields take; each fits its stored field with its terminator at two
// bytes per character.
constexpr int kLongTextChars = 63;   // 工程名称, 备注
constexpr int kNumberTextChars = 19; // 构件编号, 仪器编号
constexpr int kShortTextChars = 7;   // 复核, 主检, 强度等级

template <typename Field>
constexpr RecordField field(std::string_view name, FieldKind kind, std::size_t offset,
                            FieldSource source, FieldRule rule, int characters) {
    return {name, kind, offset, sizeof(Field), std::is_signed_v<Field>, source, rule, characters};
}

using Member = ShaJiang_GouJian_Struct;

// A field is named in JSON as in its record.
#define MORVIK_FIELD(Record, member, kind, source, rule, characters)                               \
    field<decltype(Record::member)>(#member, FieldKind::kind, offsetof(Record, member),           \
                                    FieldSource::source, FieldRule::rule, characters)

} // namespace

// Only the integers of the records below: a 16-bit signed one and bytes.
static_assert(sizeof(ProjectInfo::testTemperature) == sizeof(std::int16_t) &&
              std::numeric_limits<decltype(ProjectInfo::testTemperature)>::is_signed);
static_assert(sizeof(ProjectInfo::basisIndex) == 1 && sizeof(ProjectInfo::mortarCode) == 1);

const std::array<RecordField, kProjectFieldCount> kProjectFields = {
    MORVIK_FIELD(ProjectInfo, projectName, Text, Typed, None, kLongTextChars),
    MORVIK_FIELD(ProjectInfo, instrumentNumber, Text, Typed, None, kNumberTextChars),
    MORVIK_FIELD(ProjectInfo, testTemperature, Integer, Typed, Temperature, 0),
    MORVIK_FIELD(ProjectInfo, basisIndex, Integer, Typed, Standard, 0),
    MORVIK_FIELD(ProjectInfo, reviewer, Text, Typed, None, kShortTextChars),
    MORVIK_FIELD(ProjectInfo, chiefInspector, Text, Typed, None, kShortTextChars),
    MORVIK_FIELD(ProjectInfo, constructionDate, Text, Typed, Date, 0),
    MORVIK_FIELD(ProjectInfo, mortarCode, Integer, Code, None, 0),
    MORVIK_FIELD(ProjectInfo, strengthGrade, Text, Typed, None, kShortTextChars),
};

const std::array<RecordField, kMemberFieldCount> kMemberFields = {
    MORVIK_FIELD(Member, memberName, Text, Typed, None, kNumberTextChars),
    MORVIK_FIELD(Member, testDate, Text, Typed, Date, 0),
    MORVIK_FIELD(Member, remark, Text, Typed, None, kLongTextChars),
    MORVIK_FIELD(Member, unevenness, Readings, Grid, None, 0),
    MORVIK_FIELD(Member, gaugeReading, Readings, Grid, None, 0),
    MORVIK_FIELD(Member, depth, Readings, Derived, None, 0),
    MORVIK_FIELD(Member, meanDepth, Result, Derived, None, 0),
    MORVIK_FIELD(Member, strength, Result, Derived, None, 0),
    MORVIK_FIELD(Member, memberEstimate, Result, Derived, None, 0),
};

#undef MORVIK_FIELD

std::int64_t RecordField::lowest() const {
    return isSigned ? -(std::int64_t{1} << (8 * size - 1)) : 0;
}

std::int64_t RecordField::highest() const {
    return isSigned ? (std::int64_t{1} << (8 * size - 1)) - 1 : (std::int64_t{1} << (8 * size)) - 1;
}

} // namespace morvik
