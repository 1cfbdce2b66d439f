#include "../io/CommaLocale.h"
#include "MemberBuilder.h"
#include "core/Evaluation.h"
#include "core/ResultText.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <limits>

using namespace morvik;
using morvik::test::memberWithEqualDepths;

TEST(MemberResultTexts, MasonryEstimateHalfGoesToEvenDigit) {
    ShaJiang_GouJian_Struct r = memberWithEqualDepths(16, 5.0f);
    evaluateMember(r, 0x01);
    const MemberResultTexts t = memberResultTexts(r);
    EXPECT_EQ(t.meanDepth, "5.00");
    EXPECT_EQ(t.strength, "5.0");
    EXPECT_EQ(t.memberEstimate, "4.6");
    EXPECT_EQ(t.listMeanDepth, "5.00");
    EXPECT_EQ(t.listEstimate, "4.6");
}

TEST(MemberResultTexts, SixUsablePointsShowDashesEverywhere) {
    ShaJiang_GouJian_Struct r = memberWithEqualDepths(6, 5.0f);
    evaluateMember(r, 0x01);
    const MemberResultTexts t = memberResultTexts(r);
    for (const std::string* s :
         {&t.meanDepth, &t.strength, &t.memberEstimate, &t.listMeanDepth, &t.listEstimate})
        EXPECT_EQ(*s, "--");
}

TEST(MemberResultTexts, MeanOutsideTheColumnShowsMeanOnly) {
    ShaJiang_GouJian_Struct r = memberWithEqualDepths(16, 2.95f);
    evaluateMember(r, 0x00);
    const MemberResultTexts t = memberResultTexts(r);
    EXPECT_EQ(t.meanDepth, "2.95");
    EXPECT_EQ(t.listMeanDepth, "2.95");
    EXPECT_EQ(t.strength, "--");
    EXPECT_EQ(t.memberEstimate, "--");
    EXPECT_EQ(t.listEstimate, "--");
}

TEST(MemberResultTexts, KeptStrengthBesideAMissingEstimateShowsNoEstimate) {
    // A kind without a table keeps the stored results; a damaged file can pair a present
    // strength with the no-value marker (or any value below the presence threshold).
    for (const float estimate : {kMissing, -107611416.0f}) {
        ShaJiang_GouJian_Struct r = memberWithEqualDepths(16, 5.0f);
        r.strength = 12.5f;
        r.memberEstimate = estimate;
        evaluateMember(r, 0x20);
        const MemberResultTexts t = memberResultTexts(r);
        EXPECT_EQ(t.strength, "12.5");
        EXPECT_EQ(t.memberEstimate, "--") << estimate;
        EXPECT_EQ(t.listEstimate, "--") << estimate;
    }
    ShaJiang_GouJian_Struct kept = memberWithEqualDepths(16, 5.0f);
    kept.strength = 12.5f;
    kept.memberEstimate = 11.0f;
    evaluateMember(kept, 0x20);
    EXPECT_EQ(memberResultTexts(kept).memberEstimate, "11.0");
}

TEST(ListTexts, RebuiltListFormatsStoredValuesWithoutRounding) {
    ShaJiang_GouJian_Struct r = newMemberRecord(1);
    r.meanDepth = 3.135f;     // stored just below 3.135
    r.memberEstimate = 4.65f; // stored just above 4.65
    EXPECT_EQ(listMeanDepthText(r), "3.13");
    EXPECT_EQ(depthText(r.meanDepth), "3.14"); // what the result display shows
    EXPECT_EQ(listEstimateText(r), "4.7");
    EXPECT_EQ(strengthText(r.memberEstimate), "4.6"); // fixed to 4.6500 first, half to even
}

TEST(ListTexts, ZeroAndMissingValuesAreDashes) {
    ShaJiang_GouJian_Struct r = newMemberRecord(1);
    EXPECT_EQ(listMeanDepthText(r), "--");
    EXPECT_EQ(listEstimateText(r), "--");
    r.meanDepth = 0.0f;
    r.memberEstimate = 0.0f;
    EXPECT_EQ(listMeanDepthText(r), "--");
    EXPECT_EQ(listEstimateText(r), "--");
    r.meanDepth = -0.5f; // present but not positive
    EXPECT_EQ(listMeanDepthText(r), "--");
}

TEST(ResultTexts, FormattersRoundBeforePrinting) {
    EXPECT_EQ(depthText(3.456f), "3.46");
    EXPECT_EQ(depthText(3.125), "3.12");
    EXPECT_EQ(depthText(-0.001), "0.00"); // no negative zero on screen
    EXPECT_EQ(strengthText(0.35), "0.4");
    EXPECT_EQ(strengthText(0.25), "0.2");
}

namespace {

// Every formatter the program shows or prints numbers with, on values whose texts are
// known: the rounding rule's halves, negatives, large values and the list's unrounded
// texts.
void expectKnownTexts() {
    EXPECT_EQ(depthText(5.0), "5.00");
    EXPECT_EQ(depthText(3.456f), "3.46");
    EXPECT_EQ(depthText(-12.345), "-12.34");
    EXPECT_EQ(depthText(123456.0), "123456.00"); // beyond the rounding rule's range
    EXPECT_EQ(strengthText(4.55f), "4.6");
    EXPECT_EQ(strengthText(0.25), "0.2");
    EXPECT_EQ(fixedText(2.5, 0), "2");
    EXPECT_EQ(fixedText(0.125, 3), "0.125");
    EXPECT_EQ(fixedText(1e20, 1), "100000000000000000000.0");
    ShaJiang_GouJian_Struct r = newMemberRecord(1);
    r.meanDepth = 3.135f;
    r.memberEstimate = 4.65f;
    EXPECT_EQ(listMeanDepthText(r), "3.13");
    EXPECT_EQ(listEstimateText(r), "4.7");
    ShaJiang_GouJian_Struct m = memberWithEqualDepths(16, 5.0f);
    evaluateMember(m, 0x01);
    const MemberResultTexts t = memberResultTexts(m);
    EXPECT_EQ(t.meanDepth + " " + t.strength + " " + t.memberEstimate, "5.00 5.0 4.6");
}

} // namespace

TEST(ResultTexts, FormatAsTheCLocaleDoes) {
    for (const double v : {0.0, 0.005, 1.5, -2.25, 99.995, 1234.5678, 1e-7, 3e10}) {
        for (int decimals = 0; decimals <= kMaxFixedDecimals; ++decimals) {
            char expected[128];
            std::snprintf(expected, sizeof expected, "%.*f", decimals, v);
            EXPECT_EQ(fixedText(v, decimals), expected) << v << " " << decimals;
        }
    }
    expectKnownTexts();
}

TEST(ResultTexts, SameTextsUnderADecimalCommaLocale) {
    MORVIK_IN_COMMA_LOCALE(comma);
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5"); // the C library would now print a comma
    expectKnownTexts();
}

TEST(ResultTexts, ValuesThatAreNotFiniteAreNoValue) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const double v : {inf, -inf, nan}) {
        EXPECT_EQ(depthText(v), "--") << v;
        EXPECT_EQ(strengthText(v), "--") << v;
        EXPECT_EQ(fixedText(v, 2), "--") << v;
    }
    // A depth of 3e38 at every point gives an infinite mean in single precision.
    ShaJiang_GouJian_Struct r = memberWithEqualDepths(16, 3e38f);
    evaluateMember(r, 0x01);
    ASSERT_TRUE(std::isinf(r.meanDepth));
    const MemberResultTexts t = memberResultTexts(r);
    for (const std::string* s :
         {&t.meanDepth, &t.strength, &t.memberEstimate, &t.listMeanDepth, &t.listEstimate})
        EXPECT_EQ(*s, "--");
    r.memberEstimate = std::numeric_limits<float>::infinity();
    EXPECT_EQ(listMeanDepthText(r), "--");
    EXPECT_EQ(listEstimateText(r), "--");
}
