#pragma once
// The fields of a data set as the JSON of `show` and `make` names them: one table per
// record, so that a field's JSON name, its kind and its width in GBK are written once, for
// the writing and the reading side alike.

#include "JsonValues.h"
#include "core/Records.h"
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvik::cli {

enum class FieldKind {
    Text,     // GBK in the record (`size` bytes with the terminator), UTF-8 in JSON
    Integer,  // a whole number that fits the record's integer of `size` bytes
    Readings, // kPointCount stored values, null where missing
    Result,   // one stored value, null where missing
};

// What the dialog lets an integer or text field hold beyond its kind and width: a
// temperature that can be typed, an entry of the 检测依据 list, a date (readings always
// stay below 100, see readingRefusal). make refuses the rest, so that no file holds what
// no inspector could have typed.
enum class FieldRule { None, Temperature, Standard, Date };

struct JsonField {
    std::string_view name;
    FieldKind kind;
    std::size_t offset; // in its record
    std::size_t size;   // bytes it takes there
    bool isSigned;      // integers only
    // Written for the reader's information and ignored on reading: it follows from the
    // other fields (a depth from its readings, the results from the depths).
    bool derived;
    FieldRule rule;

    std::int64_t lowest() const;
    std::int64_t highest() const;
};

extern const std::array<JsonField, 9> kProjectFields;
extern const std::array<JsonField, 9> kMemberFields;

// The field's bytes in `record`, which is of the record type its table describes.
inline char* fieldBytes(void* record, const JsonField& field) {
    return static_cast<char*>(record) + field.offset;
}
inline const char* fieldBytes(const void* record, const JsonField& field) {
    return static_cast<const char*>(record) + field.offset;
}

// Why the dialog cannot hold a value in `field`, or nothing when it can: an integer
// (nothing where it lies beyond 64 bits), a text, or a reading, judged also as the float
// it is stored as (null, the missing reading, is always held).
std::optional<std::string> refusal(const JsonField& field, std::optional<std::int64_t> value);
std::optional<std::string> refusal(const JsonField& field, const std::string& text);
std::optional<std::string> readingRefusal(double value);

// Stores an integer field; `value` lies within lowest() and highest().
void setInteger(void* record, const JsonField& field, std::int64_t value);

// The records as JSON objects with a member per field, in the order of the tables.
Json projectJson(const ProjectInfo& project);
Json memberJson(const ShaJiang_GouJian_Struct& member);

} // namespace morvik::cli
