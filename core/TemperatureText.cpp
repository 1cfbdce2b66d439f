#include "TemperatureText.h"

namespace morvik {

namespace {

constexpr long kTemperatureModulus = 0x10000; // the low 16 bits are kept

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::optional<std::int16_t> temperatureFromText(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long low = 0;
    bool digits = false;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        low = (low * 10 + (text[i] - '0')) % kTemperatureModulus;
        digits = true;
        ++i;
    }
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (!digits || i != text.size())
        return std::nullopt;
    if (negative)
        low = (kTemperatureModulus - low) % kTemperatureModulus;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(low));
}

bool isTemperatureInField(std::int64_t value) {
    return value >= kLowestTemperature && value <= kHighestTemperature;
}

} // namespace morvik
