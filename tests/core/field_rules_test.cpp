// The rules of what the dialog's fields hold, which make applies to data typed elsewhere.

#include "core/ReadingText.h"
#include "core/TemperatureText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

using namespace morvik;

namespace {

TEST(FieldRules, AReadingStaysBelowOneHundredEitherWay) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        bool held;
    } cases[] = {
        {0.0, true},
        {99.99, true},
        {-99.99, true},
        {std::nextafter(100.0, 0.0), true},
        {100.0, false},
        {-100.0, false},
        {100.0000001, false},
        {-1600.0, false}, // the missing marker is no number a reading may hold
        {inf, false},
        {-inf, false},
        {std::nan(""), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isReadingInRange(c.value), c.held) << c.value;
}

TEST(FieldRules, TheTemperatureFieldHoldsWhatTypedDigitsGiveBack) {
    // Independent of the bounds: a value is held when it can be typed (digits only) and
    // is stored as typed.
    for (std::int64_t v = -70000; v <= 70000; ++v) {
        const auto stored = temperatureFromText(std::to_string(v));
        const bool typedBack = v >= 0 && stored && *stored == v;
        ASSERT_EQ(isTemperatureInField(v), typedBack) << v;
    }
    EXPECT_FALSE(isTemperatureInField(std::numeric_limits<std::int64_t>::max()));
    EXPECT_FALSE(isTemperatureInField(std::numeric_limits<std::int64_t>::min()));
}

} // namespace
