#pragma once
// How numbers and texts of the data set appear in the JSON output.

#include <nlohmann/json.hpp>
#include <string>

namespace morvik::cli {

// Keys stay in the order they are written.
using Json = nlohmann::ordered_json;

// The stored single-precision value, written as the double it widens to exactly (so it
// reads back as the same float, whether parsed as float or as double), or null when the
// value is missing (not greater than -1000) or not finite.
Json storedNumber(float value);
// A double result, or null when it is missing or not finite.
Json resultNumber(double value);

// The JSON text printed by every command: indented, UTF-8 kept as it is.
std::string dumpJson(const Json& json);

} // namespace morvik::cli
