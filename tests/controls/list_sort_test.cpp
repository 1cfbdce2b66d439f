// The member list's text rules: the heading string, the number conversion and the
// comparison that orders rows by a column.
#include "controls/ListSort.h"

#include <climits>
#include <gtest/gtest.h>

using namespace morvik;

namespace {

struct HeadingCase {
    const char* name;
    const char16_t* input;
    std::vector<ListHeading> expected;
};

void PrintTo(const HeadingCase& c, std::ostream* os) {
    *os << c.name;
}

const Qt::Alignment L = Qt::AlignLeft;
const Qt::Alignment C = Qt::AlignHCenter;

} // namespace

class HeadingString : public ::testing::TestWithParam<HeadingCase> {};

TEST_P(HeadingString, YieldsTheColumns) {
    const HeadingCase& c = GetParam();
    const auto got = parseHeadingString(QString::fromUtf16(c.input));
    ASSERT_EQ(got.size(), c.expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].name, c.expected[i].name) << "column " << i;
        EXPECT_EQ(got[i].width, c.expected[i].width) << "column " << i;
        EXPECT_EQ(got[i].alignment, c.expected[i].alignment) << "column " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeadingString,
    ::testing::Values(
        HeadingCase{"MainDialog",
                    u"序号,40;构件编号,90;平均值,60;抗压强度,60",
                    {{"序号", 40, L}, {"构件编号", 90, L}, {"平均值", 60, C}, {"抗压强度", 60, C}}},
        HeadingCase{"TrailingSemicolon", u"A,10;B,20;", {{"A", 10, L}, {"B", 20, L}}},
        HeadingCase{"PairWithoutCommaEndsTheList", u"A,10;B;C,30", {{"A", 10, L}}},
        HeadingCase{"LastWidthRunsToTheEnd", u"A,10;B,25", {{"A", 10, L}, {"B", 25, L}}},
        HeadingCase{"WidthStopsAtTheFirstNonDigit", u"A,12px;B,x", {{"A", 12, L}, {"B", 0, L}}},
        HeadingCase{"NegativeWidthBecomesZero", u"A,-5", {{"A", 0, L}}},
        HeadingCase{"EmptyName", u",7;B,8", {{"", 7, L}, {"B", 8, L}}},
        HeadingCase{"ThirdColumnOnIsCentred",
                    u"A,1;B,2;C,3;D,4;E,5",
                    {{"A", 1, L}, {"B", 2, L}, {"C", 3, C}, {"D", 4, C}, {"E", 5, C}}},
        HeadingCase{"EmptyString", u"", {}}, HeadingCase{"NoCommaAtAll", u"序号;构件编号", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WideToInt, FollowsTheCLibraryRules) {
    struct Case {
        const char* text;
        int expected;
    } cases[] = {
        {"", 0},
        {"0", 0},
        {"12", 12},
        {"007", 7},
        {"  42", 42},
        {"+8", 8},
        {"-15", -15},
        {"12abc", 12},
        {"abc", 0},
        {"4.50", 4},
        {"- 3", 0},
        {"2147483647", INT_MAX},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wideToInt(QString::fromLatin1(c.text)), c.expected) << c.text;
}

TEST(ListTextKinds, DigitsAndDates) {
    EXPECT_TRUE(isAllDigits(""));
    EXPECT_TRUE(isAllDigits("0123"));
    EXPECT_FALSE(isAllDigits("12 "));
    EXPECT_FALSE(isAllDigits("-1"));
    EXPECT_FALSE(isAllDigits(QString::fromUtf16(u"１２"))) << "full-width digits are text";

    EXPECT_TRUE(isDayMonthYear("07/12/2026"));
    EXPECT_FALSE(isDayMonthYear("7/12/2026"));
    EXPECT_FALSE(isDayMonthYear("07-12-2026"));
    EXPECT_FALSE(isDayMonthYear("07/12/20266"));
    EXPECT_FALSE(isDayMonthYear("0a/12/2026"));
}

struct CompareCase {
    const char* name;
    const char16_t* a;
    const char16_t* b;
    int ascending; // sign of the result when ascending; descending must be the reverse
};

class CompareListTexts : public ::testing::TestWithParam<CompareCase> {};

TEST_P(CompareListTexts, OrdersBothWays) {
    const CompareCase& c = GetParam();
    const QString a = QString::fromUtf16(c.a);
    const QString b = QString::fromUtf16(c.b);
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    EXPECT_EQ(sign(compareListTexts(a, b, true)), c.ascending);
    EXPECT_EQ(sign(compareListTexts(a, b, false)), -c.ascending);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CompareListTexts,
    ::testing::Values(
        CompareCase{"NineBeforeTwelve", u"9", u"12", -1},
        CompareCase{"TwelveAfterNine", u"12", u"9", 1},
        CompareCase{"LeadingZerosAreTheSameNumber", u"007", u"7", 0},
        CompareCase{"EmptyFirstTextIsZero", u"", u"3", -1},
        // The first text decides: digits, so the other text is converted as a number too.
        CompareCase{"DigitsAgainstTextConvertsTheText", u"12", u"G5", 1},
        CompareCase{"DigitsAgainstDashedNumber", u"5", u"-3", 1},
        CompareCase{"DigitsAgainstDecimal", u"4", u"4.50", 0},
        // Member numbers with a dash are texts; as texts "10" comes before "9".
        CompareCase{"DashedNumbersCompareAsTexts", u"G-10", u"G-9", -1},
        CompareCase{"TextFirstCompareAsTextsEvenAgainstDigits", u"G1", u"10", 1},
        CompareCase{"EqualTexts", u"G001", u"G001", 0},
        CompareCase{"TextsDifferInLastCharacter", u"G001", u"G002", -1},
        // Dates: year first, then month, then day.
        CompareCase{"DateYearDecides", u"31/12/2019", u"01/01/2020", -1},
        CompareCase{"DateMonthDecides", u"31/01/2020", u"01/02/2020", -1},
        CompareCase{"DateDayDecides", u"02/03/2020", u"01/03/2020", 1},
        CompareCase{"SameDate", u"05/06/2021", u"05/06/2021", 0}),
    [](const auto& info) { return std::string(info.param.name); });
