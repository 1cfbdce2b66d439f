#include "core/ReadingText.h"
#include "tests/io/CommaLocale.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace morvik;

namespace {

struct NumberCase {
    const char* text;
    double value;
};

// The leading number as a reading cell is converted: the longest decimal prefix.
TEST(LeadingNumber, ReadsTheLongestDecimalPrefix) {
    const NumberCase cases[] = {
        {"12abc", 12.0},  {".", 0.0},      {"-", 0.0},       {"", 0.0},         {"abc", 0.0},
        {"-0.5", -0.5},   {"+7", 7.0},     {"  3.25", 3.25}, {"\t-1.5x", -1.5}, {".5", 0.5},
        {"5.", 5.0},      {"-.25", -0.25}, {"1e10", 1e10},   {"1E2", 100.0},    {"2.5e-1", 0.25},
        {"1e", 1.0},      {"1e+", 1.0},    {"3e-x", 3.0},    {"1.2.3", 1.2},    {"0.-5", 0.0},
        {"99.99", 99.99}, {"--5", 0.0},    {"- 5", 0.0},
    };
    for (const NumberCase& c : cases)
        EXPECT_EQ(leadingNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(LeadingNumber, KnowsNoHexInfinityOrNan) {
    EXPECT_EQ(leadingNumber("0x1A"), 0.0);
    EXPECT_EQ(leadingNumber("inf"), 0.0);
    EXPECT_EQ(leadingNumber("-infinity"), 0.0);
    EXPECT_EQ(leadingNumber("nan"), 0.0);
    EXPECT_EQ(leadingNumber("0x"), 0.0);
}

TEST(LeadingNumber, IsTheNearestDoubleAndSurvivesExtremes) {
    EXPECT_EQ(leadingNumber("0.1"), 0.1);
    EXPECT_EQ(leadingNumber("3.456"), 3.456);
    EXPECT_EQ(leadingNumber("123456789012345678901234567890"), 1.2345678901234568e29);
    EXPECT_TRUE(std::isinf(leadingNumber("1e400")));
    EXPECT_TRUE(std::isinf(leadingNumber("-1e99999999999999999999")));
    EXPECT_EQ(leadingNumber("1e-400"), 0.0);
    EXPECT_EQ(leadingNumber("0.0000e999"), 0.0);
}

struct CheckCase {
    const char* text;
    ReadingStatus status;
    double value;
};

TEST(ReadingCheck, AcceptsAndRefusesAsTheGridDoes) {
    const CheckCase cases[] = {
        {"", ReadingStatus::Empty, 0.0},
        {"-0.5", ReadingStatus::Valid, -0.5},
        {"0.-5", ReadingStatus::NotANumber, 0.0},
        {"1.2.3", ReadingStatus::NotANumber, 1.2},
        {"5-", ReadingStatus::NotANumber, 5.0},
        {"99.99", ReadingStatus::Valid, 99.99},
        {"-99.99", ReadingStatus::Valid, -99.99},
        {"100", ReadingStatus::OutOfRange, 100.0},
        {"-100.0", ReadingStatus::OutOfRange, -100.0},
        {"1e10", ReadingStatus::OutOfRange, 1e10},
        {".", ReadingStatus::Valid, 0.0},
        {"-", ReadingStatus::Valid, 0.0},
        {"12abc", ReadingStatus::Valid, 12.0},
        // The first offending character decides: the value is already too large at '1'.
        {"150-", ReadingStatus::OutOfRange, 150.0},
        {"150.2.3", ReadingStatus::OutOfRange, 150.2},
    };
    for (const CheckCase& c : cases) {
        const ReadingCheck check = checkReadingText(c.text);
        EXPECT_EQ(check.status, c.status) << '"' << c.text << '"';
        EXPECT_EQ(check.value, c.value) << '"' << c.text << '"';
    }
}

TEST(ReadingCheck, NamesTheRefusalInItsMessage) {
    const ReadingCheck empty = checkReadingText("");
    EXPECT_FALSE(empty.message.has_value());
    EXPECT_FALSE(checkReadingText("3.5").message.has_value());

    const ReadingCheck notNumber = checkReadingText("1.2.3");
    ASSERT_TRUE(notNumber.message.has_value());
    EXPECT_EQ(*notNumber.message,
              (Message{"请输入一个有效的数字！", "提示", MessageIcon::Information}));

    const ReadingCheck tooLarge = checkReadingText("-100.0");
    ASSERT_TRUE(tooLarge.message.has_value());
    EXPECT_EQ(*tooLarge.message,
              (Message{"请输入一个绝对值小于100的数字！", "提示", MessageIcon::Information}));
}

} // namespace

// A typed reading means the same on every machine: "3.45" is 3.45 and "3,45" is read as
// its leading number 3, also where the desktop writes decimals with a comma.
TEST(LeadingNumber, SameUnderADecimalCommaLocale) {
    const morvik::test::CommaLocale comma;
    ASSERT_TRUE(comma.active()) << "the locale " << morvik::test::kCommaLocale
                                << " is missing (scripts/bootstrap makes it)";
    EXPECT_EQ(leadingNumber("3.45"), 3.45);
    EXPECT_EQ(leadingNumber("3,45"), 3.0);
    EXPECT_EQ(checkReadingText("-0.5").value, -0.5);
    EXPECT_EQ(checkReadingText("99.99").value, 99.99);
}
