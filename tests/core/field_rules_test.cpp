// The rules of what the dialog's fields hold, which make applies to data typed elsewhere.

#include "core/DateText.h"
#include "core/ReadingText.h"
#include "core/TemperatureText.h"
#include "core/Vocabulary.h"

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

TEST(FieldRules, OnlyEntriesOfTheStandardsListAndDatesOrNothing) {
    const auto entries = static_cast<std::int64_t>(standardsList().size());
    EXPECT_TRUE(isStandardIndex(0));
    EXPECT_TRUE(isStandardIndex(entries - 1));
    EXPECT_FALSE(isStandardIndex(entries));
    EXPECT_FALSE(isStandardIndex(-1));

    for (const char* date : {"", "2018年3月5日", "2024年2月29日", "2018-03-05", "2018/3/5"})
        EXPECT_TRUE(isDateFieldText(date)) << date;
    for (const char* date : {" ", "2023年2月29日", "2018年3月5日后", "明天", "2018-3", "20180305"})
        EXPECT_FALSE(isDateFieldText(date)) << date;
}

} // namespace
