// Typing readings into the grid: what is stored, what the cells and result fields show,
// and re-evaluation when the mortar kind or variety changes.

#include "SessionFixture.h"
#include "core/Evaluation.h"

using namespace morvik;
using namespace morvik::test;

namespace {

const char* const kNotANumber = "请输入一个有效的数字！";
const char* const kTooLarge = "请输入一个绝对值小于100的数字！";

struct TypedCase {
    const char* text;
    const char* cell;    // the gauge cell afterwards
    float stored;        // kMissing when refused or empty
    const char* message; // nullptr: none
};

using ReadingEntry = SessionTest;

TEST_F(ReadingEntry, StoresOrRefusesEachTypedText) {
    const TypedCase cases[] = {
        {"-0.5", "-0.50", -0.5f, nullptr},
        {"0.-5", "", kMissing, kNotANumber},
        {"1.2.3", "", kMissing, kNotANumber},
        {"99.99", "99.99", 99.99f, nullptr},
        {"-99.99", "-99.99", -99.99f, nullptr},
        {"100", "", kMissing, kTooLarge},
        {"-100.0", "", kMissing, kTooLarge},
        {"1e10", "", kMissing, kTooLarge},
        {".", "0.00", 0.0f, nullptr},
        {"-", "0.00", 0.0f, nullptr},
        {"12abc", "12.00", 12.0f, nullptr},
        {"3.456", "3.46", 3.456f, nullptr},
        {"3.125", "3.12", 3.125f, nullptr},
        {"3.135", "3.14", 3.135f, nullptr},
        {"", "", kMissing, nullptr},
    };
    for (const TypedCase& c : cases) {
        view.messages.clear();
        session.onReadingEdited(4, 2, "7"); // a previous value, so a refusal must clear it
        session.onReadingEdited(4, 2, c.text);
        EXPECT_EQ(view.cell(4, 2), c.cell) << c.text;
        EXPECT_EQ(session.currentRecord().gaugeReading[3], c.stored) << c.text;
        EXPECT_EQ(session.members()[0].gaugeReading[3], c.stored) << c.text;
        if (c.message) {
            ASSERT_EQ(view.messages.size(), 1u) << c.text;
            EXPECT_EQ(view.messages[0].message,
                      (Message{c.message, "提示", MessageIcon::Information}));
        } else {
            EXPECT_TRUE(view.messages.empty()) << c.text;
        }
    }
}

TEST_F(ReadingEntry, RefusalLeavesTheOtherReadingOfThePoint) {
    typePoint(2, "1.5", "6");
    session.onReadingEdited(2, 2, "1.2.3");
    EXPECT_EQ(session.currentRecord().unevenness[1], 1.5f);
    EXPECT_EQ(view.cell(2, 1), "1.50");
    EXPECT_EQ(view.cell(2, 3), "");
    EXPECT_EQ(session.currentRecord().depth[1], kMissing);
}

TEST_F(ReadingEntry, DepthFollowsBothReadingsAndClearingDropsThePoint) {
    typePoint(3, "1.20", "5.50");
    EXPECT_EQ(view.cell(3, 1), "1.20");
    EXPECT_EQ(view.cell(3, 2), "5.50");
    EXPECT_EQ(view.cell(3, 3), "4.30");
    EXPECT_EQ(session.currentRecord().depth[2], 5.50f - 1.20f);

    // Seven usable points give a result; clearing one reading of them takes it away.
    for (int p : {1, 2, 4, 5, 6, 7})
        typePoint(p, "0", "4.3");
    EXPECT_EQ(view.result(ResultField::MeanDepth), "4.30");
    session.onReadingEdited(3, 2, "");
    EXPECT_EQ(view.cell(3, 3), "");
    EXPECT_EQ(session.currentRecord().depth[2], kMissing);
    EXPECT_EQ(session.currentRecord().unevenness[2], 1.20f);
    EXPECT_EQ(view.result(ResultField::MeanDepth), "--");
    EXPECT_EQ(view.rows[0][2], "--");
    EXPECT_EQ(session.members()[0].meanDepth, kMissing);
}

TEST_F(ReadingEntry, OneEditShowsItsCellsThenTheResultsInOrder) {
    typePoint(1, "1", "3");
    const std::size_t from = view.calls.size();
    session.onReadingEdited(1, 2, "1.2.3");
    const std::vector<std::string> expected = {
        "message 请输入一个有效的数字！",
        "cell 1 2 ",
        "cell 1 3 ",
        "repaint",
        "result MeanDepth --",
        "result Strength --",
        "result MemberEstimate --",
        "list 0 2 --",
        "list 0 3 --",
    };
    EXPECT_EQ(std::vector<std::string>(view.calls.begin() + from, view.calls.end()), expected);
    EXPECT_TRUE(session.dataModified());
}

TEST_F(ReadingEntry, EditsOutsideTheValueCellsOrWithoutMemberAreIgnored) {
    const std::size_t from = view.calls.size();
    session.onReadingEdited(0, 2, "5");  // header row
    session.onReadingEdited(17, 2, "5"); // below the last point
    session.onReadingEdited(1, 0, "5");  // number column
    EXPECT_EQ(view.calls.size(), from);
    EXPECT_FALSE(session.dataModified());
}

TEST_F(ReadingEntry, ResultsShowMissingAndRoundedValues) {
    // Six usable points: no result anywhere.
    typeEqualDepths(6, "5");
    EXPECT_EQ(view.result(ResultField::MeanDepth), "--");
    EXPECT_EQ(view.result(ResultField::Strength), "--");
    EXPECT_EQ(view.result(ResultField::MemberEstimate), "--");
    EXPECT_EQ(view.rows[0][2], "--");
    EXPECT_EQ(view.rows[0][3], "--");

    // 2.95 mm lies outside the 预拌砂浆 column of masonry mortar (code 0x00).
    typeEqualDepths(16, "2.95");
    EXPECT_EQ(view.result(ResultField::MeanDepth), "2.95");
    EXPECT_EQ(view.result(ResultField::Strength), "--");
    EXPECT_EQ(view.result(ResultField::MemberEstimate), "--");
    EXPECT_EQ(view.rows[0][2], "2.95");
    EXPECT_EQ(view.rows[0][3], "--");

    // 5.00 mm under 0x01: strength 5.0, estimate 4.55 as float, shown 4.6.
    session.onVarietyChanged(1);
    typeEqualDepths(16, "5");
    EXPECT_EQ(session.currentRecord().memberEstimate, 4.55f);
    EXPECT_EQ(view.result(ResultField::Strength), "5.0");
    EXPECT_EQ(view.result(ResultField::MemberEstimate), "4.6");
    EXPECT_EQ(view.rows[0][3], "4.6");
}

TEST_F(ReadingEntry, KindChangeReEvaluatesEveryMemberUnderPlasteringMortar) {
    typeEqualDepths(16, "5");
    session.addMember();
    typeEqualDepths(16, "8");
    EXPECT_EQ(view.rows[0][3], "6.0"); // 6.6 x 0.91 under 0x00
    EXPECT_EQ(view.rows[1][3], "1.9"); // 2.1 x 0.91

    session.onKindChanged(1);
    EXPECT_EQ(session.mortarCode(), 0x10);
    EXPECT_EQ(view.project.kind, 1);
    EXPECT_EQ(view.project.variety, 0);
    EXPECT_TRUE(session.dataModified());
    // Plastering mortar: the estimate is the strength itself.
    EXPECT_EQ(view.rows[0][3], "7.2");
    EXPECT_EQ(view.rows[1][3], "2.5");
    EXPECT_EQ(view.result(ResultField::Strength), "2.5");
    for (int i = 0; i < 2; ++i) {
        ShaJiang_GouJian_Struct expected = session.members()[i];
        evaluateMember(expected, 0x10);
        EXPECT_EQ(session.members()[i].strength, expected.strength);
        EXPECT_EQ(session.members()[i].memberEstimate, session.members()[i].strength);
    }
    EXPECT_EQ(session.currentRecord().strength, session.members()[1].strength);
}

TEST_F(ReadingEntry, VarietyChangeRewritesEveryRowWhateverMemberIsCurrent) {
    typeEqualDepths(16, "5");
    session.addMember();
    typeEqualDepths(16, "8");
    session.onVarietyChanged(1);
    EXPECT_EQ(session.mortarCode(), 0x01);
    EXPECT_EQ(view.rows[0][3], "4.6");
    EXPECT_EQ(view.rows[1][3], "1.6"); // 1.8 x 0.91
    EXPECT_EQ(view.result(ResultField::Strength), "1.8");
    EXPECT_EQ(view.result(ResultField::MemberEstimate), "1.6");

    // An index the variety list does not have (a list being emptied) changes nothing.
    session.onVarietyChanged(-1);
    session.onVarietyChanged(5);
    EXPECT_EQ(session.mortarCode(), 0x01);
}

TEST_F(ReadingEntry, HiddenCalculateNeedsSevenPoints) {
    typeEqualDepths(6, "5");
    session.onCalculate();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].message.text, "请输入7组以上不为0的数据！");

    view.messages.clear();
    typePoint(7, "0", "5");
    session.onCalculate();
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(session.currentRecord().meanDepth, 5.0f);
}

} // namespace
