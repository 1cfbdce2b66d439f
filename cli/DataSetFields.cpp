#include "DataSetFields.h"

#include "core/GbkText.h"
#include <cstring>
#include <limits>
#include <type_traits>

namespace morvik::cli {

namespace {

template <typename Field>
constexpr JsonField field(std::string_view name, FieldKind kind, std::size_t offset, bool derived) {
    return {name, kind, offset, sizeof(Field), std::is_signed_v<Field>, derived};
}

using Member = ShaJiang_GouJian_Struct;

// A field is named in JSON as in its record.
#define MORVIK_JSON_FIELD(Record, member, kind, derived)                                           \
    field<decltype(Record::member)>(#member, FieldKind::kind, offsetof(Record, member), derived)

Json storedValues(const float* values) {
    Json list = Json::array();
    for (int k = 0; k < kPointCount; ++k)
        list.push_back(storedNumber(values[k]));
    return list;
}

Json fieldJson(const void* record, const JsonField& f) {
    const char* bytes = fieldBytes(record, f);
    switch (f.kind) {
    case FieldKind::Text:
        return fieldToText(bytes, f.size);
    case FieldKind::Integer: {
        // As stored: a mortar code is not normalised, a missing temperature stays 0.
        std::int64_t value = 0;
        if (f.size == sizeof(std::int16_t)) {
            std::int16_t v = 0;
            std::memcpy(&v, bytes, sizeof v);
            value = v;
        } else {
            value = static_cast<unsigned char>(*bytes);
        }
        return value;
    }
    case FieldKind::Readings: {
        float values[kPointCount];
        std::memcpy(values, bytes, sizeof values);
        return storedValues(values);
    }
    case FieldKind::Result: {
        float value = 0.0f;
        std::memcpy(&value, bytes, sizeof value);
        return storedNumber(value);
    }
    }
    return nullptr;
}

template <std::size_t N>
Json recordJson(const void* record, const std::array<JsonField, N>& fields) {
    Json j;
    for (const JsonField& f : fields)
        j[std::string(f.name)] = fieldJson(record, f);
    return j;
}

} // namespace

// Only the integers of the records below: a 16-bit signed one and bytes.
static_assert(sizeof(ProjectInfo::testTemperature) == sizeof(std::int16_t) &&
              std::numeric_limits<decltype(ProjectInfo::testTemperature)>::is_signed);
static_assert(sizeof(ProjectInfo::basisIndex) == 1 && sizeof(ProjectInfo::mortarCode) == 1);

const std::array<JsonField, 9> kProjectFields = {
    MORVIK_JSON_FIELD(ProjectInfo, projectName, Text, false),
    MORVIK_JSON_FIELD(ProjectInfo, instrumentNumber, Text, false),
    MORVIK_JSON_FIELD(ProjectInfo, testTemperature, Integer, false),
    MORVIK_JSON_FIELD(ProjectInfo, basisIndex, Integer, false),
    MORVIK_JSON_FIELD(ProjectInfo, reviewer, Text, false),
    MORVIK_JSON_FIELD(ProjectInfo, chiefInspector, Text, false),
    MORVIK_JSON_FIELD(ProjectInfo, constructionDate, Text, false),
    MORVIK_JSON_FIELD(ProjectInfo, mortarCode, Integer, false),
    MORVIK_JSON_FIELD(ProjectInfo, strengthGrade, Text, false),
};

const std::array<JsonField, 9> kMemberFields = {
    MORVIK_JSON_FIELD(Member, memberName, Text, false),
    MORVIK_JSON_FIELD(Member, testDate, Text, false),
    MORVIK_JSON_FIELD(Member, remark, Text, false),
    MORVIK_JSON_FIELD(Member, unevenness, Readings, false),
    MORVIK_JSON_FIELD(Member, gaugeReading, Readings, false),
    MORVIK_JSON_FIELD(Member, depth, Readings, true),
    MORVIK_JSON_FIELD(Member, meanDepth, Result, true),
    MORVIK_JSON_FIELD(Member, strength, Result, true),
    MORVIK_JSON_FIELD(Member, memberEstimate, Result, true),
};

#undef MORVIK_JSON_FIELD

std::int64_t JsonField::lowest() const {
    return isSigned ? -(std::int64_t{1} << (8 * size - 1)) : 0;
}

std::int64_t JsonField::highest() const {
    return isSigned ? (std::int64_t{1} << (8 * size - 1)) - 1 : (std::int64_t{1} << (8 * size)) - 1;
}

void setInteger(void* record, const JsonField& field, std::int64_t value) {
    char* bytes = fieldBytes(record, field);
    if (field.size == sizeof(std::int16_t)) {
        const auto v = static_cast<std::int16_t>(value);
        std::memcpy(bytes, &v, sizeof v);
    } else {
        *bytes = static_cast<char>(static_cast<std::uint8_t>(value));
    }
}

Json projectJson(const ProjectInfo& project) {
    return recordJson(&project, kProjectFields);
}

Json memberJson(const ShaJiang_GouJian_Struct& member) {
    return recordJson(&member, kMemberFields);
}

} // namespace morvik::cli
