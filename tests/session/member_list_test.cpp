// The member list: start state, 增加构件, 删除构件, 全选, switching the current member and
// the ticks the batch reads.

#include "SessionFixture.h"

using namespace morvik;
using namespace morvik::test;

namespace {

const char* const kTooFewChecked = "请选中两组以上的数据进行计算。";

class MemberList : public SessionTest {
protected:
    // `count` members in all, the last one current.
    void addMembers(int count) {
        while (session.memberCount() < count)
            session.addMember();
    }
    void tick(int row, bool on = true) { session.onMemberItemChanged(row, false, true, on); }
    void select(int row) { session.onMemberItemChanged(row, true, false, false); }
};

TEST_F(MemberList, StartsWithOneUntickedSelectedMember) {
    EXPECT_EQ(view.title, "Velkan贯入仪检测软件V2.01-新文件.stl");
    ASSERT_EQ(view.rows.size(), 1u);
    EXPECT_EQ(view.rows[0], (ListRowTexts{"1", "G001", "--", "--"}));
    EXPECT_FALSE(view.rowChecks[0]);
    EXPECT_EQ(view.selectedRow, 0);
    EXPECT_EQ(session.currentMember(), 0);
    for (ResultField f :
         {ResultField::MeanDepth, ResultField::Strength, ResultField::MemberEstimate,
          ResultField::BatchMean, ResultField::BatchStdDev, ResultField::BatchMin,
          ResultField::BatchCv, ResultField::BatchEstimate})
        EXPECT_EQ(view.result(f), "--") << static_cast<int>(f);
    const std::vector<std::string> batchOrder = {"result BatchMean --", "result BatchMin --",
                                                 "result BatchStdDev --", "result BatchCv --",
                                                 "result BatchEstimate --"};
    EXPECT_EQ(std::vector<std::string>(view.calls.end() - 5, view.calls.end()), batchOrder);
}

TEST_F(MemberList, AddingStoresTheCurrentMemberFirstAndNamesFromTheRowCount) {
    TempFolder folder;
    session.openPath(writeFile(folder, "five.stl", freshDataSet(5)));
    select(2);
    typePoint(1, "1", "6");
    session.addMember();
    // Member 3 keeps its reading and the date it was given when it became current.
    EXPECT_EQ(fieldToText(session.members()[2].testDate), kTodayText);
    EXPECT_EQ(session.members()[2].gaugeReading[0], 6.0f);

    ASSERT_EQ(session.memberCount(), 6);
    EXPECT_EQ(storedName(5), "G006");
    EXPECT_EQ(session.currentMember(), 5);
    EXPECT_EQ(view.selectedRow, 5);
    EXPECT_EQ(view.rows[5], (ListRowTexts{"6", "G006", "--", "--"}));
    EXPECT_EQ(view.cell(1, 1), "");
    EXPECT_EQ(view.cell(1, 2), "");
    EXPECT_EQ(view.result(ResultField::MeanDepth), "--");
    expectListMirrorsMembers();
}

TEST_F(MemberList, DeletingTheTickedMembersRenumbersAndMakesMemberOneCurrent) {
    addMembers(3);
    tick(1);
    view.answers = {Answer::Yes};
    session.deleteCheckedMembers();

    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].message,
              (Message{"确定要删除选中的构件吗？", "警告", MessageIcon::Question}));
    EXPECT_EQ(view.messages[0].buttons, AskButtons::YesNo);
    ASSERT_EQ(session.memberCount(), 2);
    EXPECT_EQ(storedName(0), "G001");
    EXPECT_EQ(storedName(1), "G003");
    EXPECT_EQ(view.rows[1][0], "2");
    EXPECT_EQ(session.currentMember(), 0);
    EXPECT_EQ(view.selectedRow, 0);
    EXPECT_EQ(view.member.memberName, "G001");
    EXPECT_TRUE(session.dataModified());
    expectListMirrorsMembers();

    // The name comes from the row count, so G003 appears a second time.
    session.addMember();
    EXPECT_EQ(storedName(2), "G003");
}

TEST_F(MemberList, DeletingRefusesNoneOrAllAndHonoursNo) {
    addMembers(3);
    session.deleteCheckedMembers();
    tick(0);
    tick(1);
    view.answers = {Answer::No};
    session.deleteCheckedMembers();
    tick(2);
    session.deleteCheckedMembers();
    EXPECT_EQ(view.messageTexts(),
              (std::vector<std::string>{"请选中要删除的构件！", "确定要删除选中的构件吗？",
                                        "不能全部删除！"}));
    EXPECT_EQ(view.messages[0].message.caption, "提示");
    EXPECT_EQ(view.messages[2].message.icon, MessageIcon::Information);
    EXPECT_EQ(session.memberCount(), 3);
    EXPECT_EQ(session.currentMember(), 2);
    EXPECT_FALSE(session.dataModified());
}

TEST_F(MemberList, SelectAllTicksThenClearsAndReturnsToMemberOne) {
    addMembers(3);
    tick(1);
    session.toggleAllChecks();
    EXPECT_EQ(session.checkedRows(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(session.currentMember(), 0);
    EXPECT_EQ(view.selectedRow, 0);
    EXPECT_EQ(view.member.memberName, "G001");
    expectListMirrorsMembers();

    session.toggleAllChecks();
    EXPECT_TRUE(session.checkedRows().empty());
    expectListMirrorsMembers();
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(MemberList, SelectAllInBatchModeEvaluatesTheBatch) {
    typeEqualDepths(16, "5");
    addMembers(3);
    typeEqualDepths(16, "6");
    session.addMember(); // G004, no readings
    select(1);
    typeEqualDepths(16, "8");
    tick(0);
    tick(1);
    session.toggleBatchMode(true);
    ASSERT_TRUE(session.batchMode());
    select(0);
    tick(3); // the last row ticked already before 全选; G004 has no strength
    view.messages.clear();

    session.toggleAllChecks();
    EXPECT_EQ(view.messageTexts(),
              (std::vector<std::string>{"构件：G004无法计算出抗压强度换算值，请检查数据。"}));
    EXPECT_EQ(session.currentMember(), 0);

    view.messages.clear();
    session.toggleAllChecks(); // clearing all: the batch runs and finds too few
    EXPECT_EQ(view.messageTexts(), (std::vector<std::string>{kTooFewChecked}));
    EXPECT_EQ(view.result(ResultField::BatchMean), "--");
}

TEST_F(MemberList, SwitchingStoresAnOpenEditForTheMemberItWasTypedFor) {
    addMembers(2);
    select(0);
    view.pendingEdit = std::make_tuple(1, 2, std::string("5.5"));
    select(1);
    EXPECT_EQ(session.members()[0].gaugeReading[0], 5.5f);
    EXPECT_EQ(session.members()[1].gaugeReading[0], kMissing);
    EXPECT_EQ(session.currentMember(), 1);
    EXPECT_EQ(view.cell(1, 2), ""); // the grid now shows member 2
    EXPECT_TRUE(session.dataModified());

    // The same holds for 增加构件 and 全选, which change the current member too.
    view.pendingEdit = std::make_tuple(2, 1, std::string("1.25"));
    session.addMember();
    EXPECT_EQ(session.members()[1].unevenness[1], 1.25f);
    EXPECT_EQ(session.members()[2].unevenness[1], kMissing);
    view.pendingEdit = std::make_tuple(3, 1, std::string("2"));
    session.toggleAllChecks();
    EXPECT_EQ(session.members()[2].unevenness[2], 2.0f);
    EXPECT_EQ(session.members()[0].unevenness[2], kMissing);
}

TEST_F(MemberList, SelectingTheCurrentRowDoesNothing) {
    addMembers(2);
    const std::size_t from = view.calls.size();
    select(1);
    EXPECT_EQ(view.calls.size(), from);
}

TEST_F(MemberList, SwitchShowsTheMemberAndFollowsBatchMode) {
    typeEqualDepths(16, "5");
    session.addMember();
    typeEqualDepths(16, "6");
    session.addMember();
    select(0);
    EXPECT_EQ(view.member.memberName, "G001");
    EXPECT_EQ(view.cell(16, 2), "5.00");
    EXPECT_EQ(view.cell(16, 3), "5.00");
    EXPECT_EQ(view.result(ResultField::MeanDepth), "5.00");

    // Ticking with batch mode off changes the tick only.
    std::size_t from = view.calls.size();
    tick(0);
    tick(1);
    EXPECT_TRUE(view.callsSince(from, "result").empty());
    EXPECT_TRUE(view.messages.empty());

    session.toggleBatchMode(true);
    const std::string mean = view.result(ResultField::BatchMean);
    EXPECT_NE(mean, "--");
    // The member on screen is not an input of the batch: ticked or not, it stays.
    view.messages.clear();
    select(2);
    EXPECT_EQ(view.result(ResultField::BatchMean), mean);
    select(1);
    EXPECT_EQ(view.result(ResultField::BatchMean), mean);
    EXPECT_TRUE(view.messages.empty());
    tick(1, false); // one tick left in batch mode
    EXPECT_EQ(view.messageTexts(), (std::vector<std::string>{kTooFewChecked}));
}

TEST_F(MemberList, RebuiltListShowsStoredValuesAndZeroAsMissing) {
    TempFolder folder;
    DataSet data = freshDataSet(2);
    for (int k = 0; k < kPointCount; ++k) { // member 2: every depth 0.0
        data.members[0].unevenness[k] = 0.0f;
        data.members[0].gaugeReading[k] = 5.0f;
        data.members[0].depth[k] = 5.0f;
        data.members[1].unevenness[k] = 1.0f;
        data.members[1].gaugeReading[k] = 1.0f;
        data.members[1].depth[k] = 0.0f;
    }
    session.openPath(writeFile(folder, "zero.stl", data));
    EXPECT_EQ(session.members()[1].meanDepth, 0.0f);
    EXPECT_EQ(view.rows[0], (ListRowTexts{"1", "G001", "5.00", "6.0"}));
    EXPECT_EQ(view.rows[1], (ListRowTexts{"2", "G002", "--", "--"}));
    // A member's own results go through the display rule, where 0.00 is a value.
    session.onMemberItemChanged(1, true, false, false);
    EXPECT_EQ(view.result(ResultField::MeanDepth), "0.00");
    expectListMirrorsMembers();
}

TEST_F(MemberList, PreviewPagesAreTheTickedRowsElseTheCurrentMember) {
    addMembers(6);
    select(2);
    EXPECT_EQ(session.previewMembers(), (std::vector<int>{2}));
    tick(0);
    tick(3);
    tick(5);
    view.pendingEdit = std::make_tuple(1, 1, std::string("3"));
    EXPECT_EQ(session.previewMembers(), (std::vector<int>{0, 3, 5}));
    // Edits of the current member are on the sheet without saving.
    EXPECT_EQ(session.members()[2].unevenness[0], 3.0f);
    EXPECT_EQ(fieldToText(session.members()[2].testDate), kTodayText);
}

} // namespace
