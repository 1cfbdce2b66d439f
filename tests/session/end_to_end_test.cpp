// One inspector's day: three members typed, two ticked for the batch, saved, a new file,
// the saved file opened again, and every member compared byte for byte with what was typed.

#include "SessionFixture.h"
#include "core/Evaluation.h"
#include <cstring>

using namespace morvik;
using namespace morvik::test;

namespace {

struct TypedMember {
    std::string name;
    std::string remark;
    float unevenness; // the same at every point
    float depth;      // gauge reading = unevenness + depth
};

std::string text2(float value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", static_cast<double>(value));
    return buffer;
}

// The record the typing must produce, built without the session.
ShaJiang_GouJian_Struct expectedRecord(int position, const TypedMember& typed, std::uint8_t code) {
    ShaJiang_GouJian_Struct record = newMemberRecord(position);
    textToField(typed.name, record.memberName);
    textToField(kTodayText, record.testDate);
    textToField(typed.remark, record.remark);
    for (int k = 0; k < kPointCount; ++k) {
        record.unevenness[k] = typed.unevenness;
        record.gaugeReading[k] = std::stof(text2(typed.unevenness + typed.depth));
        record.depth[k] = record.gaugeReading[k] - record.unevenness[k];
    }
    evaluateMember(record, code);
    return record;
}

using EndToEnd = SessionTest;

TEST_F(EndToEnd, TypedMembersSurviveSaveNewFileAndOpen) {
    const std::vector<TypedMember> typed = {
        {"一层A轴", "东墙", 0.50f, 5.0f},
        {"一层B轴", "", 1.25f, 4.25f},
        {"二层C轴", "复测", 0.0f, 5.2f},
    };
    TempFolder folder;
    session.onVarietyChanged(1);
    session.onProjectTextChanged(ProjectText::ProjectName, "实验楼");
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (i > 0)
            session.addMember();
        session.onMemberNameChanged(typed[i].name);
        session.onRemarkChanged(typed[i].remark);
        for (int p = 1; p <= kPointCount; ++p)
            typePoint(p, text2(typed[i].unevenness), text2(typed[i].unevenness + typed[i].depth));
    }
    session.onMemberItemChanged(0, false, true, true);
    session.onMemberItemChanged(2, false, true, true);
    session.toggleBatchMode(true);
    EXPECT_NE(view.result(ResultField::BatchEstimate), "--");

    const std::string path = folder.file("day.stl");
    view.saveChoices = {path};
    ASSERT_TRUE(session.saveDataSet());

    view.answers = {};
    session.newDataSet();
    EXPECT_EQ(session.memberCount(), 1);
    EXPECT_EQ(view.messageTexts(), (std::vector<std::string>{"保存文件成功。"})); // no question

    view.openChoices = {path};
    session.openDataSet();
    EXPECT_EQ(view.title, "Velkan贯入仪检测软件V2.01-day.stl");
    EXPECT_FALSE(session.dataModified());

    DataSet file;
    ASSERT_EQ(readDataFile(path, file), ReadResult::Loaded);
    EXPECT_EQ(fieldToText(file.project.projectName), "实验楼");
    EXPECT_EQ(file.project.mortarCode, 0x01);
    ASSERT_EQ(file.members.size(), typed.size());
    ASSERT_EQ(session.members().size(), typed.size());
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const ShaJiang_GouJian_Struct expected =
            expectedRecord(static_cast<int>(i) + 1, typed[i], 0x01);
        EXPECT_EQ(std::memcmp(&file.members[i], &expected, sizeof expected), 0) << "member " << i;
        EXPECT_EQ(std::memcmp(&session.members()[i], &expected, sizeof expected), 0)
            << "member " << i;
        EXPECT_EQ(view.rows[i][1], typed[i].name);
    }
    EXPECT_EQ(view.member.memberName, "一层A轴");
    EXPECT_EQ(view.cell(1, 1), "0.50");
    EXPECT_EQ(view.cell(1, 2), "5.50");
}

} // namespace
