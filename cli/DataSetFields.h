#pragma once
// The fields of a data set as the JSON of `show` and `make` names them, after the tables
// of core, with what the dialog refuses to hold in them.

#include "JsonValues.h"
#include "core/RecordFields.h"
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvik::cli {

// The JSON of a field is its record's field as the one table of core describes it.
using JsonField = RecordField;

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
