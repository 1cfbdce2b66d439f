// The session keeps its journal in step: a copy while the data set is modified, none once
// it is saved, opened, started anew or given up; a killed program's copy comes back whole.

#include "session/RecoveryJournal.h"
#include "tests/session/SessionFixture.h"
#include <fstream>
#include <iterator>
#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace morvik::test {
namespace {

namespace fs = std::filesystem;

class SessionJournal : public SessionTest {
protected:
    SessionJournal() : journal(folder.path() / "state", "2.01") { session.setJournal(&journal); }

    bool journalOnDisk() {
        journal.flush();
        return fs::exists(journal.dataPath());
    }

    DataSet journalContents() {
        journal.flush();
        DataSet data;
        EXPECT_EQ(readDataFile(journal.dataPath(), data), ReadResult::Loaded);
        return data;
    }

    TempFolder folder;
    RecoveryJournal journal;
};

TEST_F(SessionJournal, AppearsAfterTheFirstChangeAndFollowsLaterOnes) {
    session.syncJournal();
    EXPECT_FALSE(journalOnDisk()) << "an unmodified set has no copy";

    typePoint(1, "1.20", "5.50");
    session.syncJournal();
    ASSERT_TRUE(journalOnDisk());
    EXPECT_FLOAT_EQ(journalContents().members[0].depth[0], 4.30f);

    session.onMemberNameChanged("A12");
    session.addMember();
    typePoint(2, "0.5", "3.5");
    session.syncJournal();
    const DataSet now = journalContents();
    ASSERT_EQ(now.members.size(), 2u);
    EXPECT_EQ(fieldToText(now.members[0].memberName), "A12");
    EXPECT_FLOAT_EQ(now.members[1].gaugeReading[1], 3.5f);
}

TEST_F(SessionJournal, GoesAfterSaveOpenNewAndAGivenUpExit) {
    int typed = 0;
    auto modify = [&] { // a new value each time: typing the stored one again is no change
        typePoint(3, "1", std::to_string(6 + ++typed));
        session.syncJournal();
        ASSERT_TRUE(journalOnDisk());
    };

    modify();
    view.saveChoices = {folder.file("day.stl")};
    ASSERT_TRUE(session.saveDataSet());
    EXPECT_FALSE(journalOnDisk()) << "after 保存";

    modify();
    view.answers = {Answer::No};
    view.openChoices = {folder.file("day.stl")};
    session.openDataSet();
    EXPECT_FALSE(session.dataModified());
    EXPECT_FALSE(journalOnDisk()) << "after 打开";

    modify();
    view.answers = {Answer::Yes};
    view.saveChoices = {folder.file("day2.stl")};
    session.newDataSet();
    EXPECT_FALSE(journalOnDisk()) << "after 新文件 with a save";

    modify();
    view.answers = {Answer::No};
    ASSERT_TRUE(session.exitProgram());
    session.discardJournal();
    EXPECT_FALSE(journalOnDisk()) << "after No on 退出";
}

TEST_F(SessionJournal, RecordNamesTheFileTheDataBelongTo) {
    const std::string path = writeFile(folder, "楼一.stl", freshDataSet(2));
    session.openPath(path);
    typePoint(1, "1", "5");
    session.syncJournal();
    journal.flush();
    const auto orphanRecord = [&] {
        std::ifstream in(journal.recordPath());
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return decodeJournalRecord(text);
    }();
    ASSERT_TRUE(orphanRecord);
    EXPECT_EQ(orphanRecord->fileName, "楼一.stl");
    EXPECT_EQ(orphanRecord->filePath, path);
}

TEST_F(SessionJournal, RecoveredSetIsCurrentModifiedAndNamedAfterItsFile) {
    DataSet data = freshDataSet(3);
    data.members[2].unevenness[0] = 2.0f;
    textToField("A7", data.members[0].memberName);
    session.recoverDataSet(data, "楼一.stl", "/site/楼一.stl");
    EXPECT_TRUE(session.dataModified());
    EXPECT_EQ(view.title, std::string(kTitlePrefix) + "楼一.stl");
    EXPECT_EQ(session.memberCount(), 3);
    EXPECT_EQ(session.currentMember(), 0);
    EXPECT_EQ(view.rows[0][1], "A7");
    EXPECT_EQ(session.currentFilePath(), "/site/楼一.stl");
    EXPECT_TRUE(journalOnDisk()) << "the recovered set is journalled again at once";

    view.saveChoices = {std::nullopt};
    session.saveDataSet();
    EXPECT_EQ(view.proposedSaveNames.back(), "/site/楼一.stl") << "保存 proposes the original";
}

// The whole road: a child types through the session library and is killed; a new session
// finds the journal and gets every byte back.
TEST(SessionJournalRecovery, KilledSessionIsRecoveredByteForByte) {
    MORVIK_SKIP_ON_WINDOWS("needs fork to kill a process that holds a journal");
#ifndef _WIN32
    TempFolder folder;
    const fs::path state = folder.path() / "state";
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(ready[0]);
        RecordingView view;
        Session session(view, [] { return kToday; });
        view.session = &session;
        RecoveryJournal journal(state, "2.01");
        session.setJournal(&journal);
        session.start();
        session.onProjectTextChanged(ProjectText::ProjectName, "三号楼");
        session.onReadingEdited(1, 1, "1.20");
        session.onReadingEdited(1, 2, "5.50");
        session.addMember();
        session.onMemberNameChanged("B2");
        session.onReadingEdited(2, 1, "0.75");
        session.syncJournal();
        journal.flush();
        const DataSet expected{session.project(), session.members()};
        const std::vector<std::uint8_t> bytes = encodeDataFile(expected);
        const std::size_t size = bytes.size();
        if (write(ready[1], &size, sizeof size) != sizeof size ||
            write(ready[1], bytes.data(), size) != static_cast<ssize_t>(size))
            _exit(2);
        for (;;)
            pause();
    }
    close(ready[1]);
    std::size_t size = 0;
    ASSERT_EQ(read(ready[0], &size, sizeof size), static_cast<ssize_t>(sizeof size));
    std::vector<std::uint8_t> expected(size);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = read(ready[0], expected.data() + got, size - got);
        ASSERT_GT(n, 0);
        got += static_cast<std::size_t>(n);
    }
    close(ready[0]);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    const auto orphans = RecoveryJournal::findOrphans(state);
    ASSERT_EQ(orphans.size(), 1u);
    DataSet recovered;
    ASSERT_TRUE(RecoveryJournal::readOrphan(orphans[0], recovered));

    RecordingView view;
    Session session(view, [] { return kToday; });
    view.session = &session;
    session.start();
    session.recoverDataSet(recovered, orphans[0].info->fileName, orphans[0].info->filePath);
    EXPECT_EQ(encodeDataFile(DataSet{session.project(), session.members()}), expected);
    EXPECT_EQ(view.rows[1][1], "B2");
#endif
}

} // namespace
} // namespace morvik::test
