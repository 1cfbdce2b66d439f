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
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
#include <functional>
#include <memory>

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
    const QString other = otherFile();
    CMorvikDlg& d = app.start({"morvik", other}, settings());
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[0].message.text, question);
    EXPECT_EQ(prompt.messages[0].buttons, PromptButtons::YesNo);
    // The file asked for is not opened over the recovered data, and the inspector is told.
    EXPECT_EQ(prompt.messages[1].message.text,
              "屏幕上是恢复的检测数据（/site/七号楼.stl）。\n要打开的文件" + other.toStdString() +
                  "没有打开：请先保存恢复的数据，再用“打开”打开它。");
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
    const QString other = otherFile();
    CMorvikDlg& d = app.start({"morvik", other}, settings());
    ASSERT_EQ(prompt.messages.size(), 3u);
    EXPECT_EQ(prompt.messages[0].message.text, question);
    const fs::path aside = state() / "aside";
    EXPECT_EQ(prompt.messages[1].message.text, "未恢复的检测数据已保留在：" + aside.u8string());
    EXPECT_EQ(prompt.messages[2].message.text, "屏幕上是要打开的文件：" + other.toStdString());
    EXPECT_EQ(std::distance(fs::directory_iterator(aside), fs::directory_iterator{}), 2)
        << "data and record kept, not deleted";
    EXPECT_TRUE(RecoveryJournal::findOrphans(state()).empty());
    EXPECT_EQ(d.windowTitle(), "Velkan贯入仪检测软件V2.01-other.stl");
    EXPECT_EQ(d.memberList()->cellText(0, 1), "OTHER");
}

// The journal of the very file asked for holds its unsaved changes: they stay on screen,
// and so does a fresh set after 否 when the file cannot be read, each time with its word.
TEST_F(Recovery, CommandLineFileOfTheJournalOrUnreadableIsNamedAfterTheAnswer) {
    const QString other = otherFile();
    leaveJournal(state(), typedSet(2), other.toStdString(), "other.stl");
    prompt.answers = {PromptAnswer::Yes};
    {
        CMorvikApp app(prompt, state());
        CMorvikDlg& d = app.start({"morvik", other}, settings());
        ASSERT_EQ(prompt.messages.size(), 2u);
        EXPECT_EQ(prompt.messages[1].message.text, "屏幕上是恢复的检测数据，它们是文件" +
                                                       other.toStdString() +
                                                       "未保存的修改；文件中的旧数据没有打开。");
        EXPECT_EQ(d.memberList()->cellText(1, 1), "A2") << "the recovered set, not OTHER";
        EXPECT_TRUE(d.session().dataModified());
        d.session().discardJournal();
    }
    leaveJournal(state(), typedSet(2), "", "新文件.stl");
    prompt.messages.clear();
    prompt.answers = {PromptAnswer::No};
    const QString missing = dir.filePath("missing.stl");
    CMorvikApp app(prompt, state());
    CMorvikDlg& d = app.start({"morvik", missing}, settings());
    ASSERT_EQ(prompt.messages.size(), 4u); // question, kept aside, open failed, on screen
    EXPECT_EQ(prompt.messages[3].message.text,
              "要打开的文件" + missing.toStdString() + "没有打开，屏幕上是：新文件.stl");
    EXPECT_EQ(d.memberList()->cellText(0, 1), "G001");
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

// A program started on the test's state folder as its own process (recovery_claim_program),
// its message boxes answered over its standard streams.
struct Program {
    Program(const fs::path& state, const QString& settings) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(MORVIK_RECOVERY_CLAIM_PROGRAM),
                      {QString::fromStdString(state.u8string()), settings});
    }
    ~Program() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    // Takes in what the program has written; true once it has ended and all is read.
    bool poll() {
        process.waitForReadyRead(20);
        while (process.canReadLine())
            lines << QString::fromUtf8(process.readLine()).trimmed();
        if (process.state() != QProcess::NotRunning)
            return false;
        for (const QString& line : QString::fromUtf8(process.readAll()).split('\n'))
            if (!line.trimmed().isEmpty())
                lines << line.trimmed();
        return true;
    }
    bool ended() { return poll(); }
    // The text after "key: " on the first such line, or nothing.
    std::optional<std::string> said(const QString& key) const {
        for (const QString& line : lines)
            if (line.startsWith(key + ": "))
                return line.mid(key.size() + 2).toStdString();
        return std::nullopt;
    }
    void answer(const char* line) {
        process.write(line);
        process.write("\n");
        process.waitForBytesWritten();
    }

    QProcess process;
    QStringList lines;
};

// Polls until `done` holds; false after a minute, which only a loaded machine comes near.
bool waitUntil(const std::function<bool()>& done) {
    constexpr int kPatienceMs = 60000;
    QElapsedTimer timer;
    timer.start();
    while (!done())
        if (timer.elapsed() > kPatienceMs)
            return false;
    return true;
}

class JournalClaim : public Recovery {
protected:
    std::unique_ptr<Program> startProgram() const {
        auto p = std::make_unique<Program>(state(), dir.filePath("default.ini"));
        EXPECT_TRUE(p->process.waitForStarted()) << p->process.errorString().toStdString();
        return p;
    }
};

// Two programs started together on one journal: one asks, the other starts with a fresh data
// set without a word, and the set comes back once, into the journal of the one that asked.
TEST_F(JournalClaim, TwoProgramsStartedTogetherOfferTheJournalOnce) {
    leaveJournal(state(), typedSet(3), "", "新文件.stl");
    const std::string question = expectedQuestion(state(), "新文件.stl");
    auto first = startProgram();
    auto second = startProgram();
    // Each either asks and waits for its answer, or starts without a word and ends.
    auto settled = [](Program& p) { return p.said("ask") || p.ended(); };
    ASSERT_TRUE(waitUntil([&] { return settled(*first) && settled(*second); }));
    const QString both = first->lines.join('|') + " / " + second->lines.join('|');
    ASSERT_NE(bool(first->said("ask")), bool(second->said("ask"))) << both.toStdString();
    Program* asking = first->said("ask") ? first.get() : second.get();
    Program* other = asking == first.get() ? second.get() : first.get();
    EXPECT_EQ(asking->said("ask"), question);
    EXPECT_EQ(other->lines,
              (QStringList{"title: Velkan贯入仪检测软件V2.01-新文件.stl", "members: 1"}));

    const qint64 askingId = asking->process.processId();
    asking->answer("yes");
    ASSERT_TRUE(waitUntil([&] { return asking->ended(); }));
    EXPECT_EQ(asking->said("members"), "3");
    const auto orphans = RecoveryJournal::findOrphans(state());
    ASSERT_EQ(orphans.size(), 1u) << "the old journal went, the asker's own holds the set";
    ASSERT_TRUE(orphans[0].info);
    EXPECT_EQ(orphans[0].info->processId, askingId);
}

// A program killed while it asks leaves the journal to the next one, which asks again.
TEST_F(JournalClaim, AClaimDiesWithItsProgramAndIsTakenOver) {
    leaveJournal(state(), typedSet(2), "/site/a.stl", "a.stl");
    const std::string question = expectedQuestion(state(), "/site/a.stl");
    auto killed = startProgram();
    ASSERT_TRUE(waitUntil([&] { return killed->ended() || killed->said("ask"); }));
    ASSERT_EQ(killed->said("ask"), question) << killed->lines.join('|').toStdString();
    auto meanwhile = startProgram();
    ASSERT_TRUE(waitUntil([&] { return meanwhile->ended() || meanwhile->said("ask"); }));
    EXPECT_FALSE(meanwhile->said("ask")) << "claimed by the program that asks";
    killed->process.kill();
    ASSERT_TRUE(killed->process.waitForFinished());

    auto next = startProgram();
    ASSERT_TRUE(waitUntil([&] { return next->ended() || next->said("ask"); }));
    ASSERT_EQ(next->said("ask"), question) << next->lines.join('|').toStdString();
    next->answer("yes");
    ASSERT_TRUE(waitUntil([&] { return next->ended(); }));
    EXPECT_EQ(next->said("title"), "Velkan贯入仪检测软件V2.01-a.stl");
    EXPECT_EQ(next->said("members"), "2");
}

} // namespace
} // namespace morvik::test
