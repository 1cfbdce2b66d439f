// 保存, 打开, 新文件, 清空表格, 清空工程信息, 退出 and Esc, with the change flag and the title.

#include "SessionFixture.h"
#include "io/SettingsFile.h"
#include "tests/io/FileSizeLimit.h"
#include <cstring>
#include <fstream>

using namespace morvik;
using namespace morvik::test;

namespace {

const char* const kSaveQuestion = "文件内容已被修改，是否保存当前更改？";
const char* const kSaveFailed = "保存文件失败，请重试。";
const char* const kOpenFailed = "打开文件失败！";
const std::string kTitlePrefixText = "Velkan贯入仪检测软件V2.01-";

class FileCommands : public SessionTest {
protected:
    // A changed data set of two members.
    void makeChanges() {
        session.onProjectTextChanged(ProjectText::ProjectName, "一号楼");
        typePoint(1, "1", "6");
        session.addMember();
        session.onMemberNameChanged("B2");
    }
    void writeRaw(const std::string& path, const std::vector<unsigned char>& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    // A record-layout header with the given version and member count, and `records`
    // zero records after it.
    std::vector<unsigned char> header(std::int16_t version, std::int32_t count, int records) {
        std::vector<unsigned char> bytes(1000 + 768 * static_cast<std::size_t>(records), 0);
        const std::int32_t magic = kDataFileMagic;
        std::memcpy(&bytes[0], &magic, 4);
        std::memcpy(&bytes[4], &version, 2);
        std::memcpy(&bytes[6], &count, 4);
        return bytes;
    }
    TempFolder folder;
};

TEST_F(FileCommands, SaveProposesTheFileNameAndNamesTheSavedFile) {
    makeChanges();
    view.saveChoices = {folder.file("一号楼.stl")};
    EXPECT_TRUE(session.saveDataSet());
    EXPECT_EQ(view.proposedSaveNames.back(), "新文件.stl");
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].message, (Message{"保存文件成功。", "提示", MessageIcon::None}));
    EXPECT_EQ(view.title, kTitlePrefixText + "一号楼.stl");
    EXPECT_EQ(session.currentFileName(), "一号楼.stl");
    EXPECT_FALSE(session.dataModified());

    DataSet back;
    ASSERT_EQ(readDataFile(std::filesystem::u8path(folder.file("一号楼.stl")), back),
              ReadResult::Loaded);
    ASSERT_EQ(back.members.size(), 2u);
    EXPECT_EQ(fieldToText(back.members[1].memberName), "B2");
    EXPECT_EQ(fieldToText(back.project.projectName), "一号楼");

    // Later saves propose the saved file itself, folder and all, so Enter writes it again.
    session.saveDataSet(); // cancelled
    EXPECT_EQ(view.proposedSaveNames.back(), folder.file("一号楼.stl"));
}

TEST_F(FileCommands, CancelledSaveStillStoresTheWorkingCopy) {
    session.onRemarkChanged("x");
    session.onDateChanged(DateField::TestDate, CivilDate{2020, 2, 3});
    EXPECT_FALSE(session.saveDataSet());
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(session.dataModified());
    EXPECT_EQ(view.title, kTitlePrefixText + "新文件.stl");
}

TEST_F(FileCommands, AnySaveFailureIsReportedAndLeavesTheFlagSet) {
    makeChanges();
    std::filesystem::create_directory(folder.path() / "folder.stl");
    view.saveChoices = {folder.file("missing/a.stl"), folder.file("folder.stl")};
    for (int attempt = 0; attempt < 2; ++attempt) {
        view.messages.clear();
        EXPECT_FALSE(session.saveDataSet());
        ASSERT_EQ(view.messages.size(), 1u) << attempt;
        EXPECT_EQ(view.messages[0].message,
                  (Message{kSaveFailed, "提示", MessageIcon::Information}));
        EXPECT_TRUE(session.dataModified());
        EXPECT_EQ(session.currentFileName(), "新文件.stl");
        EXPECT_EQ(view.title, kTitlePrefixText + "新文件.stl");
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "missing"));
}

TEST_F(FileCommands, FailureWhileWritingKeepsTheOldFileAndSaysSo) {
    const std::string path = writeFile(folder, "old.stl", freshDataSet(1));
    std::ifstream oldStream(path, std::ios::binary);
    const std::string oldBytes{std::istreambuf_iterator<char>(oldStream), {}};
    makeChanges();
    view.saveChoices = {path};
    {
        FileSizeLimit limit(600); // the header alone is 1000 bytes
        MORVIK_REQUIRE_FILE_SIZE_LIMIT(limit);
        EXPECT_FALSE(session.saveDataSet());
    }
    EXPECT_EQ(view.messageTexts(), (std::vector<std::string>{kSaveFailed}));
    EXPECT_TRUE(session.dataModified());
    EXPECT_EQ(view.title, kTitlePrefixText + "新文件.stl");
    std::ifstream newStream(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(newStream), {}), oldBytes);
}

TEST_F(FileCommands, FilesThatCannotBeReadLeaveTheDataSet) {
    makeChanges();
    const auto before = session.members();
    writeRaw(folder.file("empty.stl"), header(100, 0, 0));
    writeRaw(folder.file("short.stl"), header(100, 3, 2));
    writeRaw(folder.file("zero.stl"), {});
    for (const std::string name : {"nowhere.stl", "empty.stl", "short.stl", "zero.stl"}) {
        view.messages.clear();
        session.openPath(folder.file(name));
        ASSERT_EQ(view.messages.size(), 1u) << name;
        EXPECT_EQ(view.messages[0].message,
                  (Message{kOpenFailed, "提示", MessageIcon::Information}));
        EXPECT_EQ(view.title, kTitlePrefixText + "新文件.stl");
        EXPECT_EQ(session.currentFileName(), "新文件.stl");
        ASSERT_EQ(session.memberCount(), 2) << name;
        EXPECT_EQ(std::memcmp(&session.members()[1], &before[1], sizeof before[1]), 0);
        EXPECT_EQ(session.currentMember(), 1);
        EXPECT_TRUE(session.dataModified());
        expectListMirrorsMembers();
    }
}

TEST_F(FileCommands, AnotherVersionKeepsTheDataButMakesMemberOneCurrent) {
    makeChanges();
    writeRaw(folder.file("v99.stl"), header(99, 1, 1));
    session.openPath(folder.file("v99.stl"));
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(session.memberCount(), 2);
    EXPECT_EQ(fieldToText(session.project().projectName), "一号楼");
    EXPECT_EQ(session.currentMember(), 0);
    EXPECT_EQ(view.selectedRow, 0);
    EXPECT_FALSE(session.dataModified());
    EXPECT_EQ(view.title, kTitlePrefixText + "v99.stl");
    expectListMirrorsMembers();
}

TEST_F(FileCommands, OpenReplacesEverythingAndShowsMemberOne) {
    DataSet data = freshDataSet(3);
    textToField("二号楼", data.project.projectName);
    data.project.mortarCode = 0x11;
    const std::string path = writeFile(folder, "b.stl", data);
    session.addMember();
    session.onMemberItemChanged(0, false, true, true);
    view.openChoices = {path};
    session.openDataSet();
    EXPECT_TRUE(view.messages.empty()); // nothing changed, nothing asked
    EXPECT_EQ(session.memberCount(), 3);
    EXPECT_EQ(session.mortarCode(), 0x11);
    EXPECT_EQ(view.project.projectName, "二号楼");
    EXPECT_EQ(view.project.kind, 1);
    EXPECT_EQ(view.project.variety, 1);
    EXPECT_EQ(view.member.memberName, "G001");
    EXPECT_TRUE(session.checkedRows().empty());
    EXPECT_EQ(view.title, kTitlePrefixText + "b.stl");
    expectListMirrorsMembers();
}

TEST_F(FileCommands, CancelOrYesWithoutASaveStopsTheCommandThatAsked) {
    makeChanges();
    const auto settings = folder.path() / "default.ini";
    session.setSettingsWritePath(settings);
    const std::string other = writeFile(folder, "other.stl", freshDataSet(1));

    // 取消 (Esc, the box's close button) at once, or Yes and the save dialog cancelled.
    for (const Answer answer : {Answer::Cancel, Answer::Yes}) {
        view.messages.clear();
        view.answers.assign(4, answer);
        view.openChoices = {other};
        const std::size_t since = view.calls.size();
        session.openDataSet();
        EXPECT_TRUE(view.callsSince(since, "chooseopen").empty());
        session.newDataSet();
        EXPECT_FALSE(session.exitProgram());
        EXPECT_FALSE(session.escapePressed());
        EXPECT_EQ(session.memberCount(), 2);
        EXPECT_EQ(session.currentMember(), 1);
        EXPECT_EQ(fieldToText(session.project().projectName), "一号楼");
        EXPECT_TRUE(session.dataModified());
        EXPECT_EQ(view.title, kTitlePrefixText + "新文件.stl");
        EXPECT_FALSE(std::filesystem::exists(settings));
        EXPECT_EQ(view.messageTexts(), std::vector<std::string>(4, kSaveQuestion));
        ASSERT_FALSE(view.messages.empty());
        EXPECT_EQ(view.messages[0].buttons, AskButtons::YesNoCancel);
    }

    // Yes, then the save fails.
    view.messages.clear();
    view.answers = {Answer::Yes};
    view.saveChoices = {folder.file("missing/x.stl")};
    session.newDataSet();
    EXPECT_EQ(view.messageTexts(), (std::vector<std::string>{kSaveQuestion, kSaveFailed}));
    EXPECT_EQ(session.memberCount(), 2);
    EXPECT_TRUE(session.dataModified());
}

TEST_F(FileCommands, NoDropsTheChangesAndGoesOn) {
    makeChanges();
    view.answers = {Answer::No};
    view.openChoices = {writeFile(folder, "one.stl", freshDataSet(1))};
    session.openDataSet();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].message, (Message{kSaveQuestion, "提示", MessageIcon::Information}));
    EXPECT_EQ(view.messages[0].buttons, AskButtons::YesNoCancel);
    EXPECT_EQ(session.memberCount(), 1);
    EXPECT_FALSE(session.dataModified());
}

TEST_F(FileCommands, NewFileKeepsTheProjectAndStartsAgainWithG001) {
    makeChanges();
    session.onMemberItemChanged(0, false, true, true);
    session.onMemberItemChanged(1, false, true, true);
    session.toggleBatchMode(true);
    view.answers = {Answer::No};
    session.newDataSet();
    EXPECT_EQ(view.project.projectName, "一号楼");
    ASSERT_EQ(view.rows.size(), 1u);
    EXPECT_EQ(view.rows[0], (ListRowTexts{"1", "G001", "--", "--"}));
    EXPECT_EQ(session.currentMember(), 0);
    EXPECT_EQ(session.currentRecord().gaugeReading[0], kMissing);
    EXPECT_TRUE(session.checkedRows().empty());
    EXPECT_EQ(view.result(ResultField::BatchMean), "--");
    EXPECT_EQ(view.title, kTitlePrefixText + "新文件.stl");
    // Nothing of the new set has changed yet: leaving asks nothing.
    EXPECT_FALSE(session.dataModified());
    view.messages.clear();
    EXPECT_TRUE(session.exitProgram());
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(FileCommands, ClearingProjectInfoRestoresTheDefaults) {
    makeChanges();
    session.onKindChanged(1);
    session.onTemperatureChanged("31");
    view.saveChoices = {folder.file("p.stl")};
    ASSERT_TRUE(session.saveDataSet());
    session.clearProjectInfo();
    EXPECT_EQ(session.project().testTemperature, 25);
    EXPECT_EQ(session.mortarCode(), 0x00);
    EXPECT_EQ(view.project.projectName, "");
    EXPECT_EQ(fieldToText(session.project().constructionDate), kTodayText);
    EXPECT_EQ(view.title, kTitlePrefixText + "新文件.stl");
    EXPECT_EQ(session.memberCount(), 2);
    EXPECT_FALSE(session.dataModified()); // not a change of the data set
}

TEST_F(FileCommands, ExitWritesTheSettingsAndEscNever) {
    const auto settings = folder.path() / "default.ini";
    session.setSettingsWritePath(settings);
    std::strcpy(session.printSettings().headerText, "Header");
    session.printSettings().printHeader = 1;

    EXPECT_TRUE(session.escapePressed());
    EXPECT_FALSE(std::filesystem::exists(settings));
    EXPECT_TRUE(view.messages.empty());

    EXPECT_TRUE(session.exitProgram());
    PrintSettings back{};
    readSettingsFile(settings, back);
    EXPECT_EQ(std::memcmp(&back, &session.printSettings(), sizeof back), 0);

    Session other(view, [] { return kToday; });
    other.readSettings(settings);
    EXPECT_STREQ(other.printSettings().headerText, "Header");
}

TEST_F(FileCommands, EscWithChangesAsksLikeTheCloseBox) {
    makeChanges();
    view.answers = {Answer::No};
    EXPECT_TRUE(session.escapePressed());
    EXPECT_EQ(view.messageTexts(), (std::vector<std::string>{kSaveQuestion}));

    view.messages.clear();
    view.answers = {Answer::Yes};
    view.saveChoices = {folder.file("esc.stl")};
    EXPECT_TRUE(session.escapePressed());
    EXPECT_TRUE(std::filesystem::exists(folder.file("esc.stl")));
}

} // namespace
