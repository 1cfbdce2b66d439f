// The project and member fields: storage rules, defaults when shown, and which changes
// mark the data set as changed.

#include "SessionFixture.h"
#include <cstring>
#include <functional>

using namespace morvik;
using namespace morvik::test;

namespace {

using ProjectFieldsTest = SessionTest;

TEST_F(ProjectFieldsTest, StartShowsTheDefaultsAndStoresThem) {
    EXPECT_EQ(session.project().testTemperature, 25);
    EXPECT_EQ(view.project.temperature, 25);
    EXPECT_EQ(view.project.basisIndex, 0);
    ASSERT_TRUE(view.project.constructionDate.has_value());
    EXPECT_EQ(*view.project.constructionDate, kToday);
    EXPECT_EQ(fieldToText(session.project().constructionDate), kTodayText);
    ASSERT_TRUE(view.member.testDate.has_value());
    EXPECT_EQ(*view.member.testDate, kToday);
    EXPECT_EQ(fieldToText(session.currentRecord().testDate), kTodayText);
    EXPECT_EQ(view.member.memberName, "G001");
    EXPECT_FALSE(session.dataModified());
}

TEST_F(ProjectFieldsTest, AFileWithoutDefaultsGetsThemWhenShown) {
    TempFolder folder;
    DataSet data = freshDataSet(1);
    data.project.testTemperature = 0;
    data.project.basisIndex = 3;
    data.project.mortarCode = 0x25; // kind 2 does not exist: 0x05, then variety 5 neither
    textToField("2018-03-05", data.members[0].testDate);
    session.openPath(writeFile(folder, "defaults.stl", data));

    EXPECT_EQ(view.project.temperature, 25);
    EXPECT_EQ(session.project().testTemperature, 25);
    EXPECT_EQ(view.project.basisIndex, 0);
    EXPECT_EQ(session.project().basisIndex, 0);
    EXPECT_EQ(session.mortarCode(), 0x00);
    EXPECT_EQ(fieldToText(session.project().constructionDate), kTodayText);
    // A numeric stored date is shown and left as it is stored.
    ASSERT_TRUE(view.member.testDate.has_value());
    EXPECT_EQ(*view.member.testDate, (CivilDate{2018, 3, 5}));
    EXPECT_EQ(fieldToText(session.currentRecord().testDate), "2018-03-05");

    data.project.mortarCode = 0x13;
    textToField("2018年13月5日", data.project.constructionDate);
    textToField("不是日期", data.members[0].testDate);
    session.openPath(writeFile(folder, "plastering.stl", data));
    EXPECT_EQ(session.mortarCode(), 0x10);
    EXPECT_EQ(view.project.kind, 1);
    EXPECT_EQ(view.project.variety, 0);
    // Texts that are no date: nothing shown, nothing replaced.
    EXPECT_FALSE(view.project.constructionDate.has_value());
    EXPECT_EQ(fieldToText(session.project().constructionDate), "2018年13月5日");
    EXPECT_FALSE(view.member.testDate.has_value());
    EXPECT_EQ(fieldToText(session.currentRecord().testDate), "不是日期");
}

TEST_F(ProjectFieldsTest, DatesAreStoredWithoutLeadingZerosAndFitTheirField) {
    session.onDateChanged(DateField::ConstructionDate, CivilDate{2018, 3, 5});
    const char* construction = session.project().constructionDate;
    EXPECT_EQ(std::strlen(construction), 12u);
    EXPECT_EQ(fieldToText(session.project().constructionDate), "2018年3月5日");
    for (std::size_t i = 12; i < 15; ++i)
        EXPECT_EQ(construction[i], '\0');
    EXPECT_TRUE(session.dataModified());

    session.onDateChanged(DateField::TestDate, CivilDate{2018, 12, 31});
    const ShaJiang_GouJian_Struct& stored = session.members()[0];
    EXPECT_EQ(std::strlen(stored.testDate), 14u);
    EXPECT_EQ(stored.testDate[14], '\0');
    EXPECT_EQ(fieldToText(stored.testDate), "2018年12月31日");

    // A picker without a valid date changes nothing.
    session.onDateChanged(DateField::TestDate, std::nullopt);
    session.onDateChanged(DateField::TestDate, CivilDate{2018, 2, 30});
    EXPECT_EQ(fieldToText(session.members()[0].testDate), "2018年12月31日");
}

TEST_F(ProjectFieldsTest, TemperatureKeepsTheLow16Bits) {
    session.onTemperatureChanged("70000");
    EXPECT_EQ(session.project().testTemperature, 4464);
    session.onTemperatureChanged("32768");
    EXPECT_EQ(session.project().testTemperature, -32768);
    session.onTemperatureChanged("123456789012345678901234567890");
    EXPECT_EQ(session.project().testTemperature,
              static_cast<std::int16_t>(0x0AD2)); // the number modulo 65536
    session.onTemperatureChanged("18");
    EXPECT_EQ(session.project().testTemperature, 18);
}

TEST_F(ProjectFieldsTest, TemperatureWithoutWholeNumberKeepsTheValueAndHoldsUpExit) {
    TempFolder folder;
    const auto settings = folder.path() / "default.ini";
    session.setSettingsWritePath(settings);
    session.onTemperatureChanged("18");
    session.onTemperatureChanged("");
    EXPECT_EQ(session.project().testTemperature, 18);

    view.answers = {Answer::Yes}; // must not be used: nothing is asked before the number
    EXPECT_FALSE(session.exitProgram());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].message,
              (Message{"请输入一个整数。", "提示", MessageIcon::Information}));
    EXPECT_EQ(view.calls.back(), "focustemperature"); // ready for the number to be typed
    EXPECT_FALSE(std::filesystem::exists(settings));

    session.onTemperatureChanged("20");
    view.answers = {Answer::No};
    EXPECT_TRUE(session.exitProgram());
    EXPECT_TRUE(std::filesystem::exists(settings));
}

TEST_F(ProjectFieldsTest, TextsAreCutToTheirFieldAtACharacterBoundary) {
    const std::string longName(200, 'x');
    session.onProjectTextChanged(ProjectText::ProjectName, longName);
    EXPECT_EQ(std::strlen(session.project().projectName), 127u);

    // 20 two-byte characters do not fit 15 bytes: 7 whole characters stay.
    std::string chinese;
    for (int i = 0; i < 20; ++i)
        chinese += "检";
    session.onProjectTextChanged(ProjectText::Reviewer, chinese);
    EXPECT_EQ(std::strlen(session.project().reviewer), 14u);
    session.onProjectTextChanged(ProjectText::ChiefInspector, "张三");
    session.onProjectTextChanged(ProjectText::StrengthGrade, "M7.5");
    session.onProjectTextChanged(ProjectText::InstrumentNumber, "SJY-800B");
    EXPECT_EQ(fieldToText(session.project().chiefInspector), "张三");
    EXPECT_EQ(fieldToText(session.project().strengthGrade), "M7.5");
    EXPECT_EQ(fieldToText(session.project().instrumentNumber), "SJY-800B");

    // 19 characters, the most the member number edit takes, fit with the terminator.
    std::string member;
    for (int i = 0; i < 19; ++i)
        member += "墙";
    session.onMemberNameChanged(member);
    EXPECT_EQ(std::strlen(session.members()[0].memberName), 38u);
    EXPECT_EQ(storedName(0), member);
}

TEST_F(ProjectFieldsTest, MemberNameAppearsInTheListAtOnce) {
    session.onMemberNameChanged("A12");
    EXPECT_EQ(view.rows[0][1], "A12");
    EXPECT_EQ(storedName(0), "A12");
    session.onRemarkChanged("东侧墙体");
    EXPECT_EQ(fieldToText(session.members()[0].remark), "东侧墙体");
}

struct MarkCase {
    const char* name;
    std::function<void(Session&)> action;
    bool marks;
};

TEST(ChangeFlag, FollowsTheTableOfChanges) {
    const MarkCase cases[] = {
        {"工程名称", [](Session& s) { s.onProjectTextChanged(ProjectText::ProjectName, "a"); },
         true},
        {"仪器编号", [](Session& s) { s.onProjectTextChanged(ProjectText::InstrumentNumber, "a"); },
         true},
        {"复核", [](Session& s) { s.onProjectTextChanged(ProjectText::Reviewer, "a"); }, true},
        {"主检", [](Session& s) { s.onProjectTextChanged(ProjectText::ChiefInspector, "a"); },
         true},
        {"强度等级", [](Session& s) { s.onProjectTextChanged(ProjectText::StrengthGrade, "a"); },
         true},
        {"检测温度", [](Session& s) { s.onTemperatureChanged("30"); }, true},
        {"施工日期",
         [](Session& s) {
             s.onDateChanged(DateField::ConstructionDate, CivilDate{2020, 1, 2});
         },
         true},
        {"构件编号", [](Session& s) { s.onMemberNameChanged("B1"); }, true},
        {"检测日期",
         [](Session& s) {
             s.onDateChanged(DateField::TestDate, CivilDate{2020, 1, 2});
         },
         true},
        {"砂浆种类", [](Session& s) { s.onKindChanged(1); }, true},
        {"砂浆品种", [](Session& s) { s.onVarietyChanged(2); }, true},
        {"reading", [](Session& s) { s.onReadingEdited(1, 1, "2"); }, true},
        {"清空表格",
         [](Session& s) {
             s.onReadingEdited(1, 1, "2");
             s.clearReadings();
         },
         true},
        {"清空表格 with nothing to clear", [](Session& s) { s.clearReadings(); }, false},
        {"备注", [](Session& s) { s.onRemarkChanged("r"); }, true},
        {"检测依据", [](Session& s) { s.onBasisChanged(0); }, false},
        {"增加构件", [](Session& s) { s.addMember(); }, false},
        {"增加构件, undo, redo",
         [](Session& s) {
             s.addMember();
             s.undo();
             s.redo();
         },
         false},
        {"a reading, then 增加构件 undone",
         [](Session& s) {
             s.onReadingEdited(1, 1, "2");
             s.addMember();
             s.undo();
         },
         true},
        {"全选", [](Session& s) { s.toggleAllChecks(); }, false},
        {"tick", [](Session& s) { s.onMemberItemChanged(0, false, true, true); }, false},
        {"批检测",
         [](Session& s) {
             s.addMember();
             s.toggleAllChecks();
             s.toggleBatchMode(true);
             s.toggleBatchMode(false);
         },
         false},
        {"新文件", [](Session& s) { s.newDataSet(); }, false},
        {"清空工程信息", [](Session& s) { s.clearProjectInfo(); }, false},
        {"member switch",
         [](Session& s) {
             s.addMember();
             s.onMemberItemChanged(0, true, false, false);
         },
         false},
    };
    for (const MarkCase& c : cases) {
        RecordingView view;
        Session session(view, [] { return kToday; });
        view.session = &session;
        session.start();
        c.action(session);
        EXPECT_EQ(session.dataModified(), c.marks) << c.name;
    }
}

TEST_F(ProjectFieldsTest, ARemarkAloneIsAChangeWorthAsking) {
    session.onRemarkChanged("只改备注");
    session.onBasisChanged(0);
    view.answers = {Answer::Cancel};
    EXPECT_FALSE(session.exitProgram());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].message.text, "文件内容已被修改，是否保存当前更改？");
    EXPECT_EQ(session.members()[0].remark, std::string(utf8ToGbk("只改备注")));
}

} // namespace

namespace {

// The date a member is given when it is shown reaches the file even when a command copies
// the member array back into the working copy before the next write-back.
TEST_F(ProjectFieldsTest, TodaysTestDateIsKeptThroughAKindChange) {
    session.onKindChanged(1);
    session.onVarietyChanged(1);
    EXPECT_EQ(fieldToText(session.currentRecord().testDate), kTodayText);
    EXPECT_EQ(fieldToText(session.members()[0].testDate), kTodayText);
    ASSERT_TRUE(view.member.testDate.has_value());
}

} // namespace
