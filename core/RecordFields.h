#pragma once
// Every field of the project information and of a member record, described once: its name
// in JSON, its place and size in the stored record, its kind, how it comes to be (typed by
// the inspector in a field, chosen as the mortar code, typed in the reading grid, or
// derived from the rest), what the dialog lets it hold, and how many characters its edit
// field takes. The dialog's limits, the undo steps of a field, the JSON of `show` and
// `make` all read these tables.

#include "Records.h"
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace morvik {

enum class FieldKind {
    Text,     // GBK in the record (`size` bytes with the terminator), UTF-8 in JSON
    Integer,  // a whole number that fits the record's integer of `size` bytes
    Readings, // kPointCount stored values, missing as the marker
    Result,   // one stored value, missing as the marker
};

// How a field gets its value.
enum class FieldSource {
    Typed,   // the inspector types or picks it in a field of its own (one undo step a visit)
    Code,    // the mortar kind and variety, chosen together as one code
    Grid,    // the readings, typed in the reading grid
    Derived, // follows from the other fields: a depth from its readings, results from depths
};

// What the dialog lets a field hold beyond its kind and width.
enum class FieldRule { None, Temperature, Standard, Date };

struct RecordField {
    std::string_view name; // in JSON, and in the record's declaration
    FieldKind kind;
    std::size_t offset; // in its record
    std::size_t size;   // bytes it takes there
    bool isSigned;      // integers only
    FieldSource source;
    FieldRule rule;
    int characters; // what its edit field takes; 0 where it has no text field

    bool derived() const { return source == FieldSource::Derived; }
    std::int64_t lowest() const;
    std::int64_t highest() const;
};

inline constexpr std::size_t kProjectFieldCount = 9;
inline constexpr std::size_t kMemberFieldCount = 9;
extern const std::array<RecordField, kProjectFieldCount> kProjectFields;
extern const std::array<RecordField, kMemberFieldCount> kMemberFields;

// The field of `fields` named `name`, or nullptr.
template <std::size_t N>
const RecordField* fieldNamed(const std::array<RecordField, N>& fields, std::string_view name) {
    for (const RecordField& f : fields)
        if (f.name == name)
            return &f;
    return nullptr;
}

// The field's bytes in `record`, which is of the record type its table describes.
inline char* fieldBytes(void* record, const RecordField& field) {
    return static_cast<char*>(record) + field.offset;
}
inline const char* fieldBytes(const void* record, const RecordField& field) {
    return static_cast<const char*>(record) + field.offset;
}

} // namespace morvik
