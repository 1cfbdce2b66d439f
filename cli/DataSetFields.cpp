#include "DataSetFields.h"

#include "core/DateText.h"
#include "core/GbkText.h"
#include "core/ReadingText.h"
#include "core/TemperatureText.h"
#include "core/Vocabulary.h"
#include <cstring>

namespace morvik::cli {

namespace {

// The reading limit as the refusal names it: a whole number of millimetres.
constexpr int kReadingLimitWhole = static_cast<int>(kReadingLimit);
static_assert(kReadingLimitWhole == kReadingLimit);

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

std::optional<std::string> refusal(const JsonField& field, std::optional<std::int64_t> value) {
    bool held = false;
    std::int64_t lowest = field.lowest();
    std::int64_t highest = field.highest();
    switch (field.rule) {
    case FieldRule::Temperature:
        held = value && isTemperatureInField(*value);
        lowest = kLowestTemperature;
        highest = kHighestTemperature;
        break;
    case FieldRule::Standard:
        held = value && isStandardIndex(*value);
        lowest = 0;
        highest = static_cast<std::int64_t>(standardsList().size()) - 1;
        break;
    case FieldRule::None:
    case FieldRule::Date:
        held = value && *value >= lowest && *value <= highest;
        break;
    }
    if (held)
        return std::nullopt;
    return "out of range: the field holds " + std::to_string(lowest) + " to " +
           std::to_string(highest);
}

std::optional<std::string> refusal(const JsonField& field, const std::string& text) {
    if (field.rule == FieldRule::Date && !isDateFieldText(text))
        return std::string("not a date: \"2018年3月5日\", \"2018-03-05\", \"2018/3/5\" or empty");
    return std::nullopt;
}

std::optional<std::string> readingRefusal(double value) {
    // Judged as typed and as stored: a number just below the limit that rounds up to it
    // as a float would be stored as no reading the dialog holds.
    if (isReadingInRange(value) && isReadingInRange(static_cast<float>(value)))
        return std::nullopt;
    return "out of range: a reading is less than " + std::to_string(kReadingLimitWhole) +
           " in absolute value, or null";
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
