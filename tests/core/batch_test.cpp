#include "core/Batch.h"
#include "core/GbkText.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace morvik;

namespace {

// Members that carry only a converted strength, which is all the batch reads.
class BatchTest : public ::testing::Test {
protected:
    const std::vector<const ShaJiang_GouJian_Struct*>& members(std::initializer_list<float> s) {
        records_.clear();
        int position = 1;
        for (float strength : s) {
            ShaJiang_GouJian_Struct r = newMemberRecord(position++);
            r.strength = strength;
            records_.push_back(r);
        }
        pointers_.clear();
        for (const auto& r : records_)
            pointers_.push_back(&r);
        return pointers_;
    }

    std::vector<ShaJiang_GouJian_Struct> records_;
    std::vector<const ShaJiang_GouJian_Struct*> pointers_;
};

void expectAllMissing(const BatchOutcome& out) {
    EXPECT_EQ(out.values.batchMean, kBatchMissing);
    EXPECT_EQ(out.values.batchStdDev, kBatchMissing);
    EXPECT_EQ(out.values.batchMin, kBatchMissing);
    EXPECT_EQ(out.values.batchCv, kBatchMissing);
    EXPECT_EQ(out.values.batchEstimate, kBatchMissing);
    for (const std::string* t :
         {&out.texts.mean, &out.texts.stdDev, &out.texts.min, &out.texts.cv, &out.texts.estimate})
        EXPECT_EQ(*t, "--");
}

} // namespace

TEST_F(BatchTest, MasonryBatchTakesTheSmallerCandidate) {
    const BatchOutcome out = evaluateBatch(members({5.0f, 7.0f}), 0x01, kBatchMissing);
    EXPECT_FALSE(out.message);
    EXPECT_DOUBLE_EQ(out.values.batchMean, 6.0);
    EXPECT_DOUBLE_EQ(out.values.batchMin, 5.0);
    EXPECT_DOUBLE_EQ(out.values.batchStdDev, std::sqrt(2.0));
    EXPECT_NEAR(out.values.batchCv, 0.2357, 1e-4);
    EXPECT_DOUBLE_EQ(out.values.batchEstimate, 0.91 * 6.0);
    EXPECT_EQ(out.texts.mean, "6.0");
    EXPECT_EQ(out.texts.min, "5.0");
    EXPECT_EQ(out.texts.stdDev, "1.4");
    EXPECT_EQ(out.texts.cv, "0.24");
    EXPECT_EQ(out.texts.estimate, "5.5");
}

TEST_F(BatchTest, PlasteringBatchUsesMeanAndScaledMinimum) {
    const BatchOutcome out = evaluateBatch(members({5.0f, 7.0f}), 0x10, kBatchMissing);
    EXPECT_FALSE(out.message);
    EXPECT_DOUBLE_EQ(out.values.batchEstimate, 6.0); // min(6.0, 6.65)
    EXPECT_EQ(out.texts.estimate, "6.0");

    const BatchOutcome low = evaluateBatch(members({2.0f, 6.0f}), 0x11, kBatchMissing);
    EXPECT_FALSE(low.message); // plastering is never refused
    EXPECT_DOUBLE_EQ(low.values.batchEstimate, 1.33 * 2.0);
}

TEST_F(BatchTest, MasonryCoefficientAboveLimitRefusesTheEstimate) {
    const BatchOutcome out = evaluateBatch(members({2.0f, 6.0f}), 0x00, 3.3);
    ASSERT_TRUE(out.message);
    EXPECT_EQ(out.message->text, "砌筑砂浆变异系数大于0.30时无法批处理。");
    EXPECT_EQ(out.message->caption, "提示");
    EXPECT_EQ(out.message->icon, MessageIcon::Warning);
    EXPECT_NEAR(out.values.batchCv, 0.7071, 1e-4);
    EXPECT_EQ(out.texts.mean, "4.0");
    EXPECT_EQ(out.texts.min, "2.0");
    EXPECT_EQ(out.texts.stdDev, "2.8");
    EXPECT_EQ(out.texts.cv, "0.71");
    EXPECT_EQ(out.texts.estimate, "--");
    EXPECT_DOUBLE_EQ(out.values.batchEstimate, 3.3); // the previous estimate stays
}

TEST_F(BatchTest, CoefficientOfExactlyPointThreeIsAccepted) {
    const BatchOutcome out = evaluateBatch(members({3.5f, 5.0f, 6.5f}), 0x02, kBatchMissing);
    EXPECT_EQ(out.values.batchCv, 0.30);
    EXPECT_FALSE(out.message);
    EXPECT_DOUBLE_EQ(out.values.batchEstimate, 1.18 * 3.5); // min(0.91 x 5.0, 1.18 x 3.5)
}

TEST_F(BatchTest, MemberWithoutStrengthIsNamedAndEverythingReset) {
    auto& checked = members({5.0f, kMissing, 7.0f});
    textToField("墙体B", records_[1].memberName);
    const BatchOutcome out = evaluateBatch(checked, 0x01, 4.0);
    ASSERT_TRUE(out.message);
    EXPECT_EQ(out.message->text, "构件：墙体B无法计算出抗压强度换算值，请检查数据。");
    EXPECT_EQ(out.message->caption, "提示");
    EXPECT_EQ(out.message->icon, MessageIcon::Information);
    expectAllMissing(out);
}

TEST_F(BatchTest, NotANumberStrengthIsRefusedToo) {
    const BatchOutcome out = evaluateBatch(members({5.0f, std::nanf("")}), 0x01, kBatchMissing);
    ASSERT_TRUE(out.message);
    EXPECT_EQ(out.message->text, "构件：G002无法计算出抗压强度换算值，请检查数据。");
}

TEST_F(BatchTest, FewerThanTwoMembersAsksForMore) {
    for (std::initializer_list<float> strengths :
         {std::initializer_list<float>{5.0f}, std::initializer_list<float>{}}) {
        const BatchOutcome out = evaluateBatch(members(strengths), 0x01, 4.0);
        ASSERT_TRUE(out.message);
        EXPECT_EQ(out.message->text, "请选中两组以上的数据进行计算。");
        EXPECT_EQ(out.message->icon, MessageIcon::Information);
        expectAllMissing(out);
    }
}

TEST_F(BatchTest, ResetShowsDashesEverywhere) {
    const BatchOutcome out = resetBatchResults();
    EXPECT_FALSE(out.message);
    expectAllMissing(out);
}
