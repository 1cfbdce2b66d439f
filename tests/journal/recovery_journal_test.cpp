// The recovery journal: written behind the user's back, removed when the set is clean,
// found after the owning process died, never taken from a process that still runs.

#include "core/GbkText.h"
#include "io/DataFile.h"
#include "session/RecoveryJournal.h"
#include "tests/io/TestFiles.h"
#include "tests/support/Portable.h"
#include <gtest/gtest.h>
#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace morvik {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::TempDir;

DataSet sampleSet(int members) {
    DataSet set;
    textToField("砂浆检测 工程", set.project.projectName);
    set.project.mortarCode = 0x01;
    for (int i = 0; i < members; ++i) {
        ShaJiang_GouJian_Struct m = newMemberRecord(i + 1);
        m.unevenness[0] = 1.25f + static_cast<float>(i);
        m.gaugeReading[0] = 6.5f;
        set.members.push_back(m);
    }
    return set;
}

JournalRecord untitled() {
    JournalRecord record;
    record.fileName = "新文件.stl";
    return record;
}

TEST(JournalRecordText, RoundTripsAndRefusesDamage) {
    JournalRecord record;
    record.filePath = "/home/inspector/工地/day 1.stl";
    record.fileName = "day 1.stl";
    record.writtenAt = 1796637000;
    record.processId = 4242;
    record.version = "2.01";
    const auto back = decodeJournalRecord(encodeJournalRecord(record));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->filePath, record.filePath);
    EXPECT_EQ(back->fileName, record.fileName);
    EXPECT_EQ(back->writtenAt, record.writtenAt);
    EXPECT_EQ(back->processId, record.processId);
    EXPECT_EQ(back->version, record.version);

    const std::string text = encodeJournalRecord(record);
    EXPECT_FALSE(decodeJournalRecord(text.substr(0, text.size() / 2))) << "cut short";
    EXPECT_FALSE(decodeJournalRecord("file=\nname=x.stl\nwritten=12x\npid=1\nversion=2\n"));
    EXPECT_FALSE(decodeJournalRecord("file=\nname=\nwritten=1\npid=1\nversion=2\n"));
    EXPECT_FALSE(decodeJournalRecord("garbage"));
}

TEST(RecoveryJournal, FollowsUpdatesAndDisappearsWhenRemoved) {
    TempDir dir;
    RecoveryJournal journal(dir.path(), "2.01");
    ASSERT_TRUE(journal.active());
    EXPECT_FALSE(fs::exists(journal.dataPath())) << "nothing is written before a change";

    journal.update(encodeDataFile(sampleSet(1)), untitled());
    const DataSet later = sampleSet(3);
    journal.update(encodeDataFile(later), untitled());
    journal.flush();
    EXPECT_EQ(test::readBytes(journal.dataPath()), encodeDataFile(later)) << "the latest wins";
    const auto text = test::readBytes(journal.recordPath());
    const auto record = decodeJournalRecord(std::string(text.begin(), text.end()));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->fileName, "新文件.stl");
    EXPECT_EQ(record->processId, static_cast<std::int64_t>(test::currentProcessId()));
    EXPECT_EQ(record->version, "2.01");
    EXPECT_GT(record->writtenAt, 0);

    journal.remove();
    journal.flush();
    EXPECT_FALSE(fs::exists(journal.dataPath()));
    EXPECT_FALSE(fs::exists(journal.recordPath()));

    // A change right after a removal is kept: the removal must not swallow it.
    journal.remove();
    journal.update(encodeDataFile(later), untitled());
    journal.flush();
    EXPECT_TRUE(fs::exists(journal.dataPath()));
}

TEST(RecoveryJournal, OwnAndLiveJournalsAreNeverOffered) {
    TempDir dir;
    RecoveryJournal journal(dir.path(), "2.01");
    journal.update(encodeDataFile(sampleSet(2)), untitled());
    journal.flush();
    EXPECT_TRUE(RecoveryJournal::findOrphans(dir.path()).empty());
}

TEST(RecoveryJournal, UnusableFolderMakesItInactive) {
    TempDir dir;
    test::writeBytes(dir / "not-a-folder", Bytes{1, 2, 3});
    RecoveryJournal journal(dir / "not-a-folder", "2.01");
    EXPECT_FALSE(journal.active());
    journal.update(encodeDataFile(sampleSet(1)), untitled());
    journal.flush();
    journal.remove();
    EXPECT_EQ(test::readBytes(dir / "not-a-folder"), (Bytes{1, 2, 3}));
}

// A child process keeps a journal and waits; the parent sees it as live until the child
// is killed, then finds it and reads back exactly what the child wrote.
TEST(RecoveryJournal, KilledProcessLeavesAJournalThatIsRecoveredByteForByte) {
    MORVIK_SKIP_ON_WINDOWS("needs fork to kill a process that holds a journal");
#ifndef _WIN32
    TempDir dir;
    const DataSet set = sampleSet(5);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(ready[0]);
        RecoveryJournal journal(dir.path(), "2.01");
        JournalRecord record;
        record.filePath = "/data/day.stl";
        record.fileName = "day.stl";
        journal.update(encodeDataFile(set), record);
        journal.flush();
        const char byte = 1;
        if (write(ready[1], &byte, 1) != 1)
            _exit(2);
        for (;;)
            pause();
    }
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);

    EXPECT_TRUE(RecoveryJournal::findOrphans(dir.path()).empty()) << "the child still runs";

    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    const auto orphans = RecoveryJournal::findOrphans(dir.path());
    ASSERT_EQ(orphans.size(), 1u);
    ASSERT_TRUE(orphans[0].info);
    EXPECT_EQ(orphans[0].info->fileName, "day.stl");
    EXPECT_EQ(orphans[0].info->filePath, "/data/day.stl");
    EXPECT_EQ(orphans[0].info->processId, static_cast<std::int64_t>(child));
    DataSet recovered;
    ASSERT_TRUE(RecoveryJournal::readOrphan(orphans[0], recovered));
    EXPECT_EQ(encodeDataFile(recovered), encodeDataFile(set));
#endif
}

TEST(RecoveryJournal, DamagedJournalIsRefusedAndMovedAside) {
    TempDir dir;
    Bytes image = encodeDataFile(sampleSet(2));
    {
        RecoveryJournal journal(dir.path(), "2.01");
        journal.update(image, untitled());
        journal.flush();
    } // ends like a process that died: the journal stays, its lock is free
    auto orphans = RecoveryJournal::findOrphans(dir.path());
    ASSERT_EQ(orphans.size(), 1u);
    image.resize(image.size() - 100); // cut inside the last record
    test::writeBytes(orphans[0].data, image);

    DataSet data = sampleSet(1);
    const Bytes before = encodeDataFile(data);
    EXPECT_FALSE(RecoveryJournal::readOrphan(orphans[0], data));
    EXPECT_EQ(encodeDataFile(data), before) << "nothing is loaded half";

    const auto aside = RecoveryJournal::moveAside(orphans[0], dir.path());
    ASSERT_TRUE(aside);
    EXPECT_TRUE(fs::exists(*aside / orphans[0].data.filename()));
    EXPECT_TRUE(fs::exists(*aside / orphans[0].record.filename()));
    EXPECT_TRUE(RecoveryJournal::findOrphans(dir.path()).empty());
}

TEST(RecoveryJournal, OrphansComeNewestFirst) {
    TempDir dir;
    for (int i = 0; i < 3; ++i) {
        RecoveryJournal journal(dir.path(), "2.01");
        journal.update(encodeDataFile(sampleSet(i + 1)), untitled());
        journal.flush();
    }
    // Give the records distinct times, oldest first in the order written.
    auto orphans = RecoveryJournal::findOrphans(dir.path());
    ASSERT_EQ(orphans.size(), 3u);
    std::int64_t t = 1000;
    for (auto& o : orphans) {
        o.info->writtenAt = t;
        t += 1000;
        const std::string text = encodeJournalRecord(*o.info);
        test::writeBytes(o.record, Bytes(text.begin(), text.end()));
    }
    const auto sorted = RecoveryJournal::findOrphans(dir.path());
    ASSERT_EQ(sorted.size(), 3u);
    EXPECT_EQ(sorted[0].info->writtenAt, 3000);
    EXPECT_EQ(sorted[1].info->writtenAt, 2000);
    EXPECT_EQ(sorted[2].info->writtenAt, 1000);
}

// A claimed orphan is passed by by every other search and claim until the claim ends; one
// whose journal was taken over meanwhile cannot be claimed, and leaves no lock file behind.
TEST(OrphanClaim, HidesTheOrphanWhileHeldAndFailsOnceItIsGone) {
    TempDir dir;
    {
        RecoveryJournal journal(dir.path(), "2.01");
        journal.update(encodeDataFile(sampleSet(2)), untitled());
        journal.flush();
    }
    const auto orphans = RecoveryJournal::findOrphans(dir.path());
    ASSERT_EQ(orphans.size(), 1u);
    {
        const OrphanClaim claim(orphans[0]);
        ASSERT_TRUE(claim.held());
        EXPECT_TRUE(RecoveryJournal::findOrphans(dir.path()).empty());
        EXPECT_FALSE(OrphanClaim(orphans[0]).held());
    }
    EXPECT_EQ(RecoveryJournal::findOrphans(dir.path()).size(), 1u) << "free again";
    {
        const OrphanClaim claim(orphans[0]);
        ASSERT_TRUE(claim.held());
        RecoveryJournal::discardOrphan(orphans[0]);
    }
    EXPECT_FALSE(OrphanClaim(orphans[0]).held()) << "taken over: nothing left to claim";
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

} // namespace
} // namespace morvik
