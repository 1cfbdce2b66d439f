// 批检测: switching batch mode with no, one and two ticked members, the order of the
// batch fields, and the batch following every change of its inputs.

#include "SessionFixture.h"

#include <algorithm>
#include <random>

using namespace morvik;
using namespace morvik::test;

namespace {

class BatchMode : public SessionTest {
protected:
    // Three members under 0x01: 5.00 mm (strength 5.0), 4.25 mm (7.0), and none.
    void SetUp() override {
        session.onVarietyChanged(1);
        typeEqualDepths(16, "5");
        session.addMember();
        typeEqualDepths(16, "4.25");
        session.addMember();
    }
    void tick(int row, bool on = true) { session.onMemberItemChanged(row, false, true, on); }
};

TEST_F(BatchMode, WithoutTicksIsSwitchedOffAgain) {
    session.toggleBatchMode(true);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].message,
              (Message{"请选择需要批处理的构件。", "提示", MessageIcon::Warning}));
    EXPECT_FALSE(session.batchMode());
    ASSERT_TRUE(view.batchBox.has_value());
    EXPECT_FALSE(*view.batchBox);
    EXPECT_EQ(view.result(ResultField::BatchEstimate), "--");
}

TEST_F(BatchMode, WithOneTickStaysOnAndReportsTooFew) {
    tick(0);
    session.toggleBatchMode(true);
    EXPECT_EQ(view.messageTexts(), (std::vector<std::string>{"请选中两组以上的数据进行计算。"}));
    EXPECT_TRUE(session.batchMode());
    EXPECT_FALSE(view.batchBox.has_value());
    for (ResultField f : {ResultField::BatchMean, ResultField::BatchStdDev, ResultField::BatchMin,
                          ResultField::BatchCv, ResultField::BatchEstimate})
        EXPECT_EQ(view.result(f), "--");
    EXPECT_EQ(session.batch().batchMean, kBatchMissing);
}

TEST_F(BatchMode, WithTwoTicksShowsTheBatchAndKeepsTheTicks) {
    tick(0);
    tick(1);
    const std::size_t from = view.calls.size();
    session.toggleBatchMode(true);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.result(ResultField::BatchMean), "6.0");
    EXPECT_EQ(view.result(ResultField::BatchMin), "5.0");
    EXPECT_EQ(view.result(ResultField::BatchStdDev), "1.4");
    EXPECT_EQ(view.result(ResultField::BatchCv), "0.24");
    EXPECT_EQ(view.result(ResultField::BatchEstimate), "5.5"); // min(5.46, 5.9)
    EXPECT_NEAR(session.batch().batchEstimate, 5.46, 1e-9);

    // The list is rebuilt from the members and the ticks come back without a batch run.
    EXPECT_EQ(view.callsSince(from, "clearrows").size(), 1u);
    EXPECT_EQ(session.checkedRows(), (std::vector<int>{0, 1}));
    expectListMirrorsMembers();
    EXPECT_EQ(session.currentMember(), 2);
    EXPECT_EQ(view.selectedRow, 2);

    session.toggleBatchMode(false);
    EXPECT_FALSE(session.batchMode());
    EXPECT_EQ(view.result(ResultField::BatchMean), "--");
    EXPECT_EQ(session.batch().batchEstimate, kBatchMissing);
    EXPECT_EQ(view.rows[2][3], "--"); // the current member's row written again
}

TEST_F(BatchMode, RefusedMasonryBatchShowsFourValuesBeforeTheWarning) {
    session.onVarietyChanged(0);
    session.onMemberItemChanged(2, false, false, false);
    typeEqualDepths(16, "8"); // 2.1 MPa under 0x00, against 6.6 for member 1
    tick(0);
    tick(2);
    const std::size_t from = view.calls.size();
    session.toggleBatchMode(true);
    std::vector<std::string> shown;
    for (const std::string& call : view.callsSince(from, ""))
        if (call.rfind("result Batch", 0) == 0)
            shown.push_back(call.substr(0, call.rfind(' ')));
        else if (call.rfind("message", 0) == 0)
            shown.push_back(call.substr(0, 11));
    const std::vector<std::string> expected = {"result BatchMean",   "result BatchMin",
                                               "result BatchStdDev", "result BatchCv",
                                               "message 砌",         "result BatchEstimate"};
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(view.messages.at(0).message.icon, MessageIcon::Warning);
    EXPECT_NE(view.result(ResultField::BatchMean), "--");
    EXPECT_EQ(view.result(ResultField::BatchEstimate), "--");
}

TEST_F(BatchMode, ClearingATickedMemberEmptiesTheBatchQuietly) {
    tick(0);
    tick(1);
    session.toggleBatchMode(true);
    session.onMemberItemChanged(1, true, false, false);
    view.messages.clear();
    session.clearReadings();
    EXPECT_TRUE(view.messages.empty()); // the inspector cleared readings, not the batch
    EXPECT_EQ(view.result(ResultField::BatchMean), "--");
    EXPECT_EQ(view.rows[1][2], "--");
    EXPECT_EQ(view.rows[1][3], "--");
    EXPECT_EQ(view.cell(5, 2), "");
    EXPECT_EQ(session.members()[1].gaugeReading[4], kMissing);
    EXPECT_EQ(session.members()[1].meanDepth, kMissing);
}

// Whatever the inspector does, in batch mode the five fields are the batch of the members
// ticked now with their readings now, and only ticking and 批检测 itself ever ask.
TEST_F(BatchMode, FieldsFollowEveryInputAndOnlyTheInspectorsTicksAsk) {
    const std::vector<std::string> batchTexts = {"请选中两组以上的数据进行计算。",
                                                 "请选择需要批处理的构件。",
                                                 "砌筑砂浆变异系数大于0.30时无法批处理。"};
    auto isBatchMessage = [&](const std::string& text) {
        return std::find(batchTexts.begin(), batchTexts.end(), text) != batchTexts.end() ||
               text.find("无法计算出抗压强度换算值") != std::string::npos;
    };
    const std::vector<std::string> depths = {"3.5", "4.25", "5", "6.1", "8", "11.5", ""};
    std::mt19937 random(20261208);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };

    for (int run = 0; run < 60; ++run) {
        for (int step = 0; step < 80; ++step) {
            const std::size_t messagesBefore = view.messages.size();
            bool inspectorTicks = false;
            view.answers = {Answer::Yes};
            std::string what;
            switch (pick(13)) {
            case 0: // one reading
                what = "reading";
                session.onReadingEdited(1 + pick(16), 1 + pick(2), depths[pick(7)]);
                break;
            case 1: // a whole member of equal depths
                what = "member typed";
                typeEqualDepths(16, depths[pick(6)]);
                break;
            case 2:
            case 3:
                what = "tick";
                inspectorTicks = true;
                tick(pick(session.memberCount()), pick(3) != 0);
                break;
            case 4:
                what = "select";
                session.onMemberItemChanged(pick(session.memberCount()), true, false, false);
                break;
            case 5:
                what = "add";
                session.addMember();
                break;
            case 6:
                what = "delete";
                session.deleteCheckedMembers();
                break;
            case 7:
                what = "clear";
                session.clearReadings();
                break;
            case 8:
                what = "kind/variety";
                if (pick(2))
                    session.onKindChanged(pick(2));
                else
                    session.onVarietyChanged(pick(2));
                break;
            case 9:
            case 10:
                what = "undo/redo";
                if (pick(3))
                    session.undo();
                else
                    session.redo();
                break;
            case 11:
                what = "batch mode";
                inspectorTicks = true;
                session.toggleBatchMode(!session.batchMode());
                break;
            default:
                what = "all ticks";
                inspectorTicks = true;
                session.toggleAllChecks();
                break;
            }
            const std::string where =
                "run " + std::to_string(run) + " step " + std::to_string(step) + " (" + what + ")";
            for (std::size_t m = messagesBefore; m < view.messages.size() && !inspectorTicks; ++m) {
                ASSERT_FALSE(isBatchMessage(view.messages[m].message.text))
                    << where << ": " << view.messages[m].message.text;
            }

            BatchTexts expected; // "--" outside batch mode
            if (session.batchMode()) {
                std::vector<const ShaJiang_GouJian_Struct*> ticked;
                for (int row : session.checkedRows())
                    ticked.push_back(&session.members()[row]);
                expected = evaluateBatch(ticked, session.mortarCode(), kBatchMissing).texts;
            }
            ASSERT_EQ(view.result(ResultField::BatchMean), expected.mean) << where;
            ASSERT_EQ(view.result(ResultField::BatchStdDev), expected.stdDev) << where;
            ASSERT_EQ(view.result(ResultField::BatchMin), expected.min) << where;
            ASSERT_EQ(view.result(ResultField::BatchCv), expected.cv) << where;
            ASSERT_EQ(view.result(ResultField::BatchEstimate), expected.estimate) << where;
        }
    }
}

} // namespace
