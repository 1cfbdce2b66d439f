#pragma once
// 检测温度 as its field holds it: digits typed, a 16-bit whole number stored.

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace morvik {

// The field takes digits only, so nothing below 0 can be typed; 0 is "not set".
constexpr std::int16_t kLowestTemperature = 0;
// The record keeps the low 16 bits of what is typed: a larger number comes back as
// another one.
constexpr std::int16_t kHighestTemperature = std::numeric_limits<std::int16_t>::max();

// The value stored for the text of the field: optional spaces and sign, at least one
// digit, optional spaces, nothing else, reduced to its low 16 bits (70000 stores 4464),
// so any length of digits is safe. Nothing when the text holds no whole number.
std::optional<std::int16_t> temperatureFromText(const std::string& text);

// Whether the field can be typed to hold `value` and shows it as it was typed.
bool isTemperatureInField(std::int64_t value);

} // namespace morvik
