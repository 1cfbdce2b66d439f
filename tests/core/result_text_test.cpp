#include "MemberBuilder.h"
#include "core/Evaluation.h"
#include "core/ResultText.h"

#include <gtest/gtest.h>

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

TEST(ListTexts, RebuiltListFormatsStoredValuesWithoutRounding) {
    ShaJiang_GouJian_Struct r = newMemberRecord(1);
    r.meanDepth = 3.135f; // stored just below 3.135
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
