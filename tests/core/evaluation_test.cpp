#include "MemberBuilder.h"
#include "core/Evaluation.h"
#include "core/ResultText.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace morvik;
using morvik::test::memberWithDepths;
using morvik::test::memberWithEqualDepths;

TEST(RoundDigits, HalvesGoToEvenOthersToNearest) {
    struct Case {
        double x;
        int n;
        double expected;
    };
    const Case cases[] = {
        {2.345, 2, 2.34},   {2.355, 2, 2.36}, {2.3451, 2, 2.35},    {-2.345, 2, -2.34},
        {-2.355, 2, -2.36}, {0.25, 1, 0.2},   {0.35, 1, 0.4},       {-0.25, 1, -0.2},
        {-0.35, 1, -0.4},   {4.55f, 1, 4.6},  {3.125, 2, 3.12},     {3.135, 2, 3.14},
        {3.456f, 2, 3.46},  {0.0, 2, 0.0},    {1.23456, 4, 1.2346}, {-0.004, 2, -0.0},
        {18.649, 1, 18.6},  {0.05, 1, 0.0},   {0.15, 1, 0.2},       {2.5, 0, 2.0},
        {3.5, 0, 4.0},      {-2.5, 0, -2.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(roundDigits(c.x, c.n), c.expected) << c.x << " to " << c.n;
}

TEST(RoundDigits, OutOfRangeAndNotANumberAreLeftAlone) {
    EXPECT_DOUBLE_EQ(roundDigits(1e12, 2), 1e12);
    EXPECT_TRUE(std::isnan(roundDigits(std::nan(""), 1)));
}

TEST(EvaluateMember, SixteenEqualDepthsUnderMixedMasonryMortar) {
    ShaJiang_GouJian_Struct r = memberWithEqualDepths(16, 5.00f);
    evaluateMember(r, 0x01);
    EXPECT_FLOAT_EQ(r.meanDepth, 5.00f);
    EXPECT_FLOAT_EQ(r.strength, 5.0f); // rows 5.0 and 5.1 of column 2: 5.0 and 4.8
    EXPECT_EQ(r.memberEstimate, 4.55f);
}

TEST(EvaluateMember, SixUsablePointsGiveNoResult) {
    ShaJiang_GouJian_Struct r = memberWithEqualDepths(6, 5.0f);
    r.strength = 3.0f; // stale values must not survive
    evaluateMember(r, 0x01);
    EXPECT_EQ(r.meanDepth, kMissing);
    EXPECT_EQ(r.strength, kMissing);
    EXPECT_EQ(r.memberEstimate, kMissing);
}

TEST(EvaluateMember, SevenPointsKeepTheMiddleValueAsMean) {
    ShaJiang_GouJian_Struct r = memberWithDepths({9.0f, 1.0f, 8.0f, 5.0f, 2.0f, 7.0f, 3.0f});
    evaluateMember(r, 0x01);
    EXPECT_FLOAT_EQ(r.meanDepth, 5.0f);
    EXPECT_FLOAT_EQ(r.strength, 5.0f);
}

TEST(EvaluateMember, TrimsThreeLargestAndThreeSmallest) {
    // 10 points: the kept middle four are 4, 5, 6, 7 -> mean 5.5
    ShaJiang_GouJian_Struct r =
        memberWithDepths({1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 80.0f, 90.0f, 99.0f});
    evaluateMember(r, 0x01);
    EXPECT_FLOAT_EQ(r.meanDepth, 5.5f);
}

TEST(EvaluateMember, PointWithOneReadingDoesNotCountEvenWithStaleDepth) {
    ShaJiang_GouJian_Struct r = memberWithEqualDepths(7, 5.0f);
    r.unevenness[7] = 0.0f; // gauge reading missing
    r.depth[7] = 50.0f;     // left over from an earlier reading
    r.gaugeReading[8] = 60.0f;
    r.depth[8] = 60.0f; // unevenness missing
    evaluateMember(r, 0x01);
    EXPECT_FLOAT_EQ(r.meanDepth, 5.0f);

    ShaJiang_GouJian_Struct six = memberWithEqualDepths(6, 5.0f);
    six.unevenness[6] = 1.0f;
    six.depth[6] = 5.0f;
    evaluateMember(six, 0x01);
    EXPECT_EQ(six.meanDepth, kMissing);
}

TEST(EvaluateMember, IndexFromUnroundedMeanFractionFromRoundedMean) {
    // mean 3.996: index 39, meanDepth 4.00, so the fraction is a whole step and the
    // result is the 4.0 row (column 2: 3.9 -> 8.4, 4.0 -> 8.0)
    ShaJiang_GouJian_Struct r = memberWithEqualDepths(7, 3.996f);
    evaluateMember(r, 0x01);
    EXPECT_FLOAT_EQ(r.meanDepth, 4.00f);
    EXPECT_NEAR(r.strength, 8.0f, 1e-5);
    EXPECT_EQ(strengthText(r.strength), "8.0");
}

TEST(EvaluateMember, InterpolatesBetweenRows) {
    // 5.05 under 0x01: 5.0 + 0.5 * (4.8 - 5.0) = 4.9
    ShaJiang_GouJian_Struct r = memberWithEqualDepths(16, 5.05f);
    evaluateMember(r, 0x01);
    EXPECT_FLOAT_EQ(r.meanDepth, 5.05f);
    EXPECT_NEAR(r.strength, 4.9f, 1e-5);
    EXPECT_EQ(r.memberEstimate, static_cast<float>(static_cast<double>(r.strength) * 0.91));
}

TEST(EvaluateMember, PlasteringEstimateEqualsStrength) {
    ShaJiang_GouJian_Struct r = memberWithEqualDepths(16, 10.0f);
    evaluateMember(r, 0x10);
    EXPECT_FLOAT_EQ(r.strength, 1.5f);
    EXPECT_EQ(r.memberEstimate, r.strength);
    evaluateMember(r, 0x11);
    EXPECT_FLOAT_EQ(r.strength, 1.2f);
}

TEST(EvaluateMember, MeanBeforeFirstValidRowKeepsMeanButHasNoStrength) {
    ShaJiang_GouJian_Struct r = memberWithEqualDepths(16, 3.35f);
    evaluateMember(r, 0x00);
    EXPECT_FLOAT_EQ(r.meanDepth, 3.35f);
    EXPECT_EQ(r.strength, kMissing);
    EXPECT_EQ(r.memberEstimate, kMissing);
}

TEST(EvaluateMember, LastRowOfEachTableGivesNoResult) {
    ShaJiang_GouJian_Struct masonry = memberWithEqualDepths(16, 18.65f);
    evaluateMember(masonry, 0x02);
    EXPECT_EQ(masonry.strength, kMissing);
    ShaJiang_GouJian_Struct below = memberWithEqualDepths(16, 18.55f);
    evaluateMember(below, 0x02);
    EXPECT_FLOAT_EQ(below.strength, 0.4f);

    ShaJiang_GouJian_Struct plastering = memberWithEqualDepths(16, 19.1f);
    evaluateMember(plastering, 0x10);
    EXPECT_EQ(plastering.strength, kMissing);
    ShaJiang_GouJian_Struct deeper = memberWithEqualDepths(16, 19.5f);
    evaluateMember(deeper, 0x10);
    EXPECT_EQ(deeper.strength, kMissing);
}

TEST(EvaluateMember, NegativeDepthsAreUsedLikeAnyOther) {
    ShaJiang_GouJian_Struct r = memberWithDepths(
        {-2.0f, 5.0f, 5.0f, 5.0f, 5.0f, 5.0f, 5.0f, -1.0f, -3.0f, 6.0f, 7.0f, 8.0f});
    evaluateMember(r, 0x01);
    // sorted: 8 7 6 5 5 5 5 5 5 -1 -2 -3; kept: 5 5 5 5 5 5
    EXPECT_FLOAT_EQ(r.meanDepth, 5.0f);

    ShaJiang_GouJian_Struct allNegative = memberWithEqualDepths(8, -1.0f);
    evaluateMember(allNegative, 0x01);
    EXPECT_FLOAT_EQ(allNegative.meanDepth, -1.0f);
    EXPECT_EQ(allNegative.strength, kMissing);
}

TEST(EvaluateMember, KindWithoutTableKeepsStrengthResults) {
    ShaJiang_GouJian_Struct r = memberWithEqualDepths(16, 5.0f);
    r.strength = 12.5f;
    r.memberEstimate = 11.0f;
    evaluateMember(r, 0x20);
    EXPECT_FLOAT_EQ(r.meanDepth, 5.0f);
    EXPECT_EQ(r.strength, 12.5f);
    EXPECT_EQ(r.memberEstimate, 11.0f);
}

TEST(EvaluateMember, CorruptDepthsNeitherCrashNorProduceAStrength) {
    ShaJiang_GouJian_Struct r = memberWithEqualDepths(16, 3e38f);
    evaluateMember(r, 0x01);
    EXPECT_EQ(r.strength, kMissing);
    ShaJiang_GouJian_Struct nan = memberWithEqualDepths(16, std::nanf(""));
    nan.depth[15] = 5.0f; // one good value among them changes nothing
    evaluateMember(nan, 0x01);
    EXPECT_EQ(nan.meanDepth, kMissing);
    EXPECT_EQ(nan.strength, kMissing);
}
