// The member list's text rules: the heading string, the number conversion and the
// comparison that orders rows by a column.
#include "controls/ListSort.h"

#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <random>

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
    ::testing::Values(CompareCase{"NineBeforeTwelve", u"9", u"12", -1},
                      CompareCase{"TwelveAfterNine", u"12", u"9", 1},
                      CompareCase{"LeadingZerosAreTheSameNumber", u"007", u"7", 0},
                      CompareCase{"EmptyFirstTextIsZero", u"", u"3", -1},
                      // A number against a text of another kind: numbers come first whatever their
                      // value, so the answer does not depend on which side holds the digits.
                      CompareCase{"DigitsBeforeText", u"12", u"G5", -1},
                      CompareCase{"DigitsBeforeDashedNumber", u"5", u"-3", -1},
                      CompareCase{"DigitsBeforeDecimal", u"4", u"4.50", -1},
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

// Texts of different kinds (numbers, dates, others) never meet a rule chosen by one side:
// numbers come before dates, dates before other texts, and descending reverses it all.
TEST(CompareListTexts, MixedKindsOrderTheSameWhicheverSideIsFirst) {
    struct Case {
        const char16_t* before;
        const char16_t* after;
    } cases[] = {
        {u"10", u"abc"}, {u"", u"abc"},         {u"99", u"01/01/2000"}, {u"", u"31/12/1999"},
        {u"5", u"-3"},   {u"4", u"4.50"},       {u"12", u"G5"},         {u"01/01/2030", u"G001"},
        {u"7", u"G-10"}, {u"01/01/2000", u"-"}, {u"2147483648", u"A"},  {u"0", u"--"},
    };
    for (const Case& c : cases) {
        const QString a = QString::fromUtf16(c.before);
        const QString b = QString::fromUtf16(c.after);
        EXPECT_LT(compareListTexts(a, b, true), 0) << a.toStdString() << " / " << b.toStdString();
        EXPECT_GT(compareListTexts(b, a, true), 0) << a.toStdString() << " / " << b.toStdString();
        EXPECT_GT(compareListTexts(a, b, false), 0) << a.toStdString() << " / " << b.toStdString();
        EXPECT_LT(compareListTexts(b, a, false), 0) << a.toStdString() << " / " << b.toStdString();
    }
}

namespace {

// A random cell text of the kinds a member list holds: numbers (with leading zeros, empty,
// beyond int), DD/MM/YYYY dates, results with dashes, member names and other texts.
QString randomCellText(std::mt19937& rng) {
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    auto digits = [&](int n) {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QChar(u'0' + pick(10));
        return s;
    };
    static const char16_t* const words[] = {
        u"--",   u"-",      u"G-10", u"G-9", u"G001", u"g001", u"abc",      u"ABC",
        u"构件", u"平均值", u"4.50", u"-3",  u" 7",   u"7 ",   u"1/2/2003", u"01-02-2003"};
    switch (pick(6)) {
    case 0:
        return digits(pick(4)); // includes the empty text
    case 1:
        return digits(1 + pick(12));
    case 2:
        return digits(2) + u'/' + digits(2) + u'/' + digits(4);
    case 3:
        return QStringLiteral("G%1").arg(pick(30), 3, 10, QChar(u'0'));
    case 4:
        return QString::fromUtf16(words[pick(int(std::size(words)))]);
    default: {
        QString s;
        static const char16_t alphabet[] = u"aAzZ09-/.，构件 ";
        const int n = pick(5);
        for (int i = 0; i < n; ++i)
            s += QChar(alphabet[pick(int(std::size(alphabet)) - 1)]);
        return s;
    }
    }
}

int sign(int v) {
    return (v > 0) - (v < 0);
}

} // namespace

// std::stable_sort needs a strict weak ordering; check its laws over random mixtures in
// both directions: cmp(a, a) = 0, cmp(a, b) = -cmp(b, a), and both "before" and "equal"
// carry over from a, b and b, c to a, c.
TEST(CompareListTexts, IsAStrictWeakOrderingOverRandomMixtures) {
    std::mt19937 rng(20261207);
    std::vector<QString> texts;
    for (int i = 0; i < 120; ++i)
        texts.push_back(randomCellText(rng));
    for (bool ascending : {true, false}) {
        const auto n = texts.size();
        std::vector<int> cmp(n * n);
        for (size_t i = 0; i < n; ++i)
            for (size_t j = 0; j < n; ++j)
                cmp[i * n + j] = sign(compareListTexts(texts[i], texts[j], ascending));
        int failures = 0;
        for (size_t i = 0; i < n && failures < 5; ++i) {
            if (cmp[i * n + i] != 0 && ++failures)
                ADD_FAILURE() << "not equal to itself: " << texts[i].toStdString();
            for (size_t j = 0; j < n && failures < 5; ++j) {
                if (cmp[i * n + j] != -cmp[j * n + i] && ++failures)
                    ADD_FAILURE() << "not antisymmetric: " << texts[i].toStdString() << " / "
                                  << texts[j].toStdString() << " ascending " << ascending;
                for (size_t k = 0; k < n && failures < 5; ++k) {
                    const int ij = cmp[i * n + j], jk = cmp[j * n + k], ik = cmp[i * n + k];
                    if (ij == jk && ik != ij && ++failures)
                        ADD_FAILURE() << "not transitive: " << texts[i].toStdString() << " / "
                                      << texts[j].toStdString() << " / " << texts[k].toStdString()
                                      << " ascending " << ascending;
                }
            }
        }
    }
}

// The laws above are what keeps sorting from scrambling rows: a sorted mixture stays
// sorted pairwise.
TEST(CompareListTexts, SortedMixtureIsInOrderPairwise) {
    std::mt19937 rng(7);
    std::vector<QString> texts;
    for (int i = 0; i < 400; ++i)
        texts.push_back(randomCellText(rng));
    std::stable_sort(texts.begin(), texts.end(), [](const QString& a, const QString& b) {
        return compareListTexts(a, b, true) < 0;
    });
    for (size_t i = 0; i < texts.size(); ++i)
        for (size_t j = i + 1; j < texts.size(); ++j)
            ASSERT_LE(compareListTexts(texts[i], texts[j], true), 0)
                << texts[i].toStdString() << " / " << texts[j].toStdString();
}
