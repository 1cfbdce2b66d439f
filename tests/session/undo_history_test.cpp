// The undo history over random sequences of every kind of change: what undo and redo give
// back is compared, byte for byte through the data-file writer, with the states the set
// went through.

#include "SessionFixture.h"
#include "core/Vocabulary.h"
#include <algorithm>
#include <cstring>
#include <random>

namespace morvik::test {
namespace {

constexpr int kStartMembers = 4;
constexpr std::size_t kNeverAgain = static_cast<std::size_t>(-1);

// The data set as the data file would hold it.
std::vector<std::uint8_t> bytesOf(const Session& session) {
    DataSet data;
    data.project = session.project();
    data.members = session.members();
    return encodeDataFile(data);
}

class UndoHistoryTest : public SessionTest {
protected:
    // Starts from a file of a few members that each hold readings and a date, so that
    // nothing fills in a missing date behind the history's back.
    void openStart() {
        DataSet data = freshDataSet(kStartMembers);
        for (int i = 0; i < kStartMembers; ++i) {
            ShaJiang_GouJian_Struct& m = data.members[i];
            textToField("2023年4月" + std::to_string(i + 1) + "日", m.testDate);
            for (int k = 0; k < kPointCount; ++k) {
                m.unevenness[k] = 0.5f * static_cast<float>(k % 3);
                m.gaugeReading[k] = 5.0f + 0.25f * static_cast<float>(i + k);
                m.depth[k] = m.gaugeReading[k] - m.unevenness[k];
            }
        }
        if (startFile.empty())
            startFile = writeFile(folder, "start.stl", data);
        session.openPath(startFile);
        ASSERT_FALSE(session.dataModified());
    }

    // One random change of the data set (or of what is not data: ticks, the current
    // member, batch mode). Returns whether it was typing into a field.
    bool randomChange(std::mt19937& rng) {
        added = false;
        auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
        static const char* const readings[] = {"1.5",   "-0.5", "12abc", "99.99", "100",
                                               "1.2.3", "0.-5", "",      ".",     "7.125"};
        static const char* const texts[] = {"南湖", "南湖小区", "A12", "", "G0"};
        const int members = session.memberCount();
        switch (pick(16)) {
        case 0:
        case 1:
        case 2:
            session.onReadingEdited(1 + pick(kPointCount), 1 + pick(2),
                                    readings[pick(std::size(readings))]);
            return false;
        case 3:
            session.clearReadings();
            return false;
        case 4:
            session.addMember();
            added = true;
            return false;
        case 5:
            view.answers.push_back(Answer::Yes);
            session.deleteCheckedMembers();
            view.answers.clear();
            return false;
        case 6:
            session.onKindChanged(pick(static_cast<int>(kindList().size())));
            return false;
        case 7:
            session.onVarietyChanged(pick(3));
            return false;
        case 8:
            session.onMemberNameChanged(texts[pick(std::size(texts))]);
            return true;
        case 9:
            session.onRemarkChanged(texts[pick(std::size(texts))]);
            return true;
        case 10:
            session.onProjectTextChanged(static_cast<ProjectText>(pick(5)),
                                         texts[pick(std::size(texts))]);
            return true;
        case 11:
            session.onTemperatureChanged(std::to_string(pick(40)));
            return true;
        case 12:
            session.onDateChanged(pick(2) ? DateField::TestDate : DateField::ConstructionDate,
                                  CivilDate{2020 + pick(5), 1 + pick(12), 1 + pick(28)});
            return true;
        case 13:
            session.onBasisChanged(pick(static_cast<int>(standardsList().size())));
            return true;
        case 14: {
            // The user ticks in the list itself, which then tells the session.
            const int row = pick(members);
            view.rowChecks[row] = !session.isChecked(row);
            session.onMemberItemChanged(row, false, true, view.rowChecks[row]);
            return false;
        }
        default:
            if (pick(4) == 0)
                session.toggleBatchMode(!session.batchMode());
            else
                session.onMemberItemChanged(pick(members), true, false, false);
            session.endTyping();
            return false;
        }
    }

    TempFolder folder;
    std::string startFile;
    bool added = false; // the last random change was 增加构件
};

// A model of the history: the states the set went through, the position in them and the
// state last saved. Every undo and redo must give the state the model expects, with the
// change flag telling exactly whether a change other than 增加构件 lies between it and the
// saved one.
TEST_F(UndoHistoryTest, RandomChangesUndoAndRedoToTheStatesTheSetWentThrough) {
    int undos = 0, redos = 0, saves = 0, savesLost = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
        openStart();
        std::vector<std::vector<std::uint8_t>> states{bytesOf(session)};
        std::size_t position = 0;
        std::size_t saved = 0;             // kNeverAgain once it cannot come back
        std::vector<bool> addition{false}; // the step into each state added a member
        auto changed = [&] {
            if (saved == kNeverAgain)
                return true;
            for (std::size_t j = std::min(saved, position) + 1; j <= std::max(saved, position); ++j)
                if (!addition[j])
                    return true;
            return false;
        };

        for (int event = 0; event < 150 && !HasFailure(); ++event) {
            SCOPED_TRACE("event " + std::to_string(event));
            const int roll = pick(40);
            if (roll < 8 && session.canUndo()) {
                session.undo();
                ++undos;
                ASSERT_GT(position, 0u);
                --position;
            } else if (roll < 12 && session.canRedo()) {
                session.redo();
                ++redos;
                ASSERT_LT(position + 1, states.size());
                ++position;
            } else if (roll == 12) { // a save is slow: it waits for the disk
                view.saveChoices.push_back(folder.file("saved.stl"));
                ASSERT_TRUE(session.saveDataSet());
                saved = position;
                ++saves;
                continue;
            } else {
                const std::size_t before = session.history().position();
                const bool typingOpen = session.history().typingOpen();
                const bool typing = randomChange(rng);
                const std::size_t after = session.history().position();
                if (after == before + 1) {
                    states.resize(position + 1);
                    if (saved != kNeverAgain && saved > position) {
                        saved = kNeverAgain; // the saved state was on the branch just dropped
                        ++savesLost;
                    }
                    states.push_back(bytesOf(session));
                    addition.resize(position + 1);
                    addition.push_back(added);
                    ++position;
                } else if (after + 1 == before) { // typing came back to its start
                    ASSERT_TRUE(typing);
                    states.resize(position);
                    addition.resize(position);
                    --position;
                } else if (typing && typingOpen) { // merged into the visit's step
                    states[position] = bytesOf(session);
                } else {
                    ASSERT_EQ(after, before);
                }
                // A change without a step would be lost to undo.
                ASSERT_EQ(bytesOf(session), states[position]);
                expectListMirrorsMembers();
                continue;
            }
            ASSERT_EQ(bytesOf(session), states[position]);
            EXPECT_EQ(session.dataModified(), changed());
            EXPECT_EQ(std::memcmp(&session.currentRecord(),
                                  &session.members()[session.currentMember()],
                                  sizeof(ShaJiang_GouJian_Struct)),
                      0);
            expectListMirrorsMembers();
        }

        // Back to the start and forward to the end, whatever lay between.
        const std::vector<std::uint8_t> end = states.back();
        while (session.canRedo())
            session.redo();
        ASSERT_EQ(bytesOf(session), end);
        while (session.canUndo())
            session.undo();
        EXPECT_EQ(bytesOf(session), states.front());
        position = 0;
        EXPECT_EQ(session.dataModified(), changed());
        while (session.canRedo())
            session.redo();
        EXPECT_EQ(bytesOf(session), end);
        expectListMirrorsMembers();
    }
    // The walk reached what it is meant to check.
    EXPECT_GT(undos, 100);
    EXPECT_GT(redos, 50);
    EXPECT_GT(saves, 10);
    EXPECT_GT(savesLost, 0);
}

// Only the last steps are kept; the state they started from is as far back as undo goes,
// and a saved state that fell off the start never comes back.
TEST_F(UndoHistoryTest, KeepsTheLastThousandSteps) {
    openStart();
    const int extra = 5;
    std::vector<std::uint8_t> afterExtra;
    for (int i = 0; i < static_cast<int>(kUndoDepth) + extra; ++i) {
        session.onReadingEdited(1 + i % kPointCount, 1 + i % 2, std::to_string(i % 90) + ".5");
        if (i + 1 == extra)
            afterExtra = bytesOf(session);
    }
    int undone = 0;
    while (session.canUndo()) {
        session.undo();
        ++undone;
    }
    EXPECT_EQ(undone, static_cast<int>(kUndoDepth));
    EXPECT_EQ(bytesOf(session), afterExtra);
    EXPECT_TRUE(session.dataModified());
    EXPECT_LT(session.history().memoryBytes(), 1u << 20);
}

} // namespace
} // namespace morvik::test
