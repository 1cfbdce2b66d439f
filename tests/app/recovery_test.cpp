// Recovery at start: the journal of a program that died is offered, loaded or kept aside,
// and a clean end of the program leaves no journal behind.
#include "DialogFixture.h"

#include "app/CMorvikApp.h"
#include "app/SettingsLocation.h"
#include "core/GbkText.h"
#include "io/DataFile.h"
#include "session/RecoveryJournal.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <cstring>

namespace morvik::test {
namespace {

namespace fs = std::filesystem;

// A data set of `count` members A1.. whose first member holds one reading pair.
DataSet typedSet(int count) {
    DataSet data;
    textToField("七号楼", data.project.projectName);
    for (int i = 1; i <= count; ++i) {
        ShaJiang_GouJian_Struct m = newMemberRecord(i);
        textToField("A" + std::to_string(i), m.memberName);
        data.members.push_back(m);
    }
    data.members[0].unevenness[0] = 1.25f;
    data.members[0].gaugeReading[0] = 6.5f;
    data.members[0].depth[0] = 5.25f;
    return data;
}

// Leaves the journal of a program that has ended: written, then its lock released.
JournalRecord leaveJournal(const fs::path& folder, const DataSet& data, const std::string& path,
                           const std::string& name) {
    RecoveryJournal journal(folder, "2.01");
    JournalRecord record;
    record.filePath = path;
    record.fileName = name;
    journal.update(encodeDataFile(data), record);
    journal.flush();
    return record;
}

std::string expectedQuestion(const fs::path& folder, const std::string& file) {
    const auto orphans = RecoveryJournal::findOrphans(folder);
    EXPECT_EQ(orphans.size(), 1u);
    const QString when = QDateTime::fromSecsSinceEpoch(orphans.at(0).info->writtenAt)
                             .toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    return "发现未保存的检测数据（" + file + "，" + when.toStdString() + "），是否恢复？";
}

class Recovery : public ::testing::Test {
protected:
    fs::path state() const { return fs::path(dir.filePath("state").toStdString()); }
    SettingsLocation settings() const {
        return {dir.filePath("default.ini"), dir.filePath("default.ini")};
    }
    QString otherFile() const {
        DataSet other = typedSet(1);
        textToField("OTHER", other.members[0].memberName);
        const QString path = dir.filePath("other.stl");
        EXPECT_EQ(writeDataFile(path.toStdString(), other), WriteResult::Written);
        return path;
    }

    QTemporaryDir dir;
    ScriptedPrompt prompt;
};

TEST_F(Recovery, YesLoadsTheSetAsModifiedUnderItsFileAndSkipsTheCommandLineFile) {
    const DataSet data = typedSet(3);
    leaveJournal(state(), data, "/site/七号楼.stl", "七号楼.stl");
    const std::string question = expectedQuestion(state(), "/site/七号楼.stl");
    prompt.answers = {PromptAnswer::Yes};

    CMorvikApp app(prompt, state());
    CMorvikDlg& d = app.start({"morvik", otherFile()}, settings());
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].message.text, question);
    EXPECT_EQ(prompt.messages[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(d.windowTitle(), "Velkan贯入仪检测软件V2.01-七号楼.stl");
    EXPECT_TRUE(d.session().dataModified()) << "退出 must still ask";
    // What was typed comes back; results and the dates the program fills in are its own.
    ASSERT_EQ(d.session().memberCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const ShaJiang_GouJian_Struct& m = d.session().members()[i];
        EXPECT_STREQ(m.memberName, data.members[i].memberName);
        EXPECT_EQ(std::memcmp(m.unevenness, data.members[i].unevenness, sizeof m.unevenness), 0);
        EXPECT_EQ(std::memcmp(m.gaugeReading, data.members[i].gaugeReading, sizeof m.gaugeReading),
                  0);
    }
    EXPECT_STREQ(d.session().project().projectName, data.project.projectName);
    EXPECT_EQ(d.memberList()->cellText(2, 1), "A3");
    EXPECT_EQ(d.readingGrid()->itemText(1, 3), "5.25");
    EXPECT_EQ(d.session().currentFilePath(), "/site/七号楼.stl");
    EXPECT_TRUE(RecoveryJournal::findOrphans(state()).empty()) << "the old journal is gone";
}

TEST_F(Recovery, NoKeepsTheJournalAsideSaysWhereAndOpensTheCommandLineFile) {
    leaveJournal(state(), typedSet(2), "", "新文件.stl");
    const std::string question = expectedQuestion(state(), "新文件.stl");
    prompt.answers = {PromptAnswer::No};

    CMorvikApp app(prompt, state());
    CMorvikDlg& d = app.start({"morvik", otherFile()}, settings());
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[0].message.text, question);
    const fs::path aside = state() / "aside";
    EXPECT_EQ(prompt.messages[1].message.text, "未恢复的检测数据已保留在：" + aside.u8string());
    EXPECT_EQ(std::distance(fs::directory_iterator(aside), fs::directory_iterator{}), 2)
        << "data and record kept, not deleted";
    EXPECT_TRUE(RecoveryJournal::findOrphans(state()).empty());
    EXPECT_EQ(d.windowTitle(), "Velkan贯入仪检测软件V2.01-other.stl");
    EXPECT_EQ(d.memberList()->cellText(0, 1), "OTHER");
}

TEST_F(Recovery, DamagedJournalIsKeptAsideWithAMessageAndNothingLoaded) {
    leaveJournal(state(), typedSet(2), "", "新文件.stl");
    const auto orphans = RecoveryJournal::findOrphans(state());
    ASSERT_EQ(orphans.size(), 1u);
    fs::resize_file(orphans[0].data, fs::file_size(orphans[0].data) - 10);

    CMorvikApp app(prompt, state());
    CMorvikDlg& d = app.start({"morvik"}, settings());
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].message.text,
              "未保存的检测数据已损坏，无法恢复，已保留在：" + (state() / "aside").u8string());
    EXPECT_EQ(d.memberList()->rowCount(), 1);
    EXPECT_EQ(d.memberList()->cellText(0, 1), "G001");
    EXPECT_FALSE(d.session().dataModified());
}

TEST_F(Recovery, AnotherRunningProgramsJournalIsNotOffered) {
    RecoveryJournal live(state(), "2.01");
    live.update(encodeDataFile(typedSet(1)), JournalRecord{"", "新文件.stl", 0, 0, ""});
    live.flush();

    CMorvikApp app(prompt, state());
    app.start({"morvik"}, settings());
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_TRUE(fs::exists(live.dataPath())) << "never touched";
}

TEST_F(Recovery, ChangesAreJournalledAndACleanExitLeavesNoJournal) {
    CMorvikApp app(prompt, state());
    CMorvikDlg& d = app.start({"morvik"}, settings());
    d.session().onReadingEdited(1, 1, "2.5");
    // The journal follows within the timer's interval.
    auto journals = [&] {
        int n = 0;
        for (const auto& e : fs::directory_iterator(state()))
            n += e.path().extension() == ".stl";
        return n;
    };
    QTRY_COMPARE_WITH_TIMEOUT(journals(), 1, 5 * CMorvikApp::kJournalIntervalMs);

    prompt.answers = {PromptAnswer::No}; // 文件内容已被修改，是否保存当前更改？
    QTest::mouseClick(d.control(kIdExit), Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(journals(), 0);
}

} // namespace
} // namespace morvik::test
