// The main dialog with a large data set: 10,000 members, each with 16 readings. A change of
// mortar variety (every member evaluated again, every list row rewritten), opening the
// file until the list is filled and member 1 shown, 全选 with batch mode on, a member
// switch through the list, the dialog from construction to its first paint, and undo and
// redo of a variety change, of deleting half the members and of one reading. Each
// includes the events the change leaves behind (painting the shown rows), as the user
// waits for them too.
#include "app/CMorvikDlg.h"
#include "controls/CSortListCtrl.h"
#include "core/Records.h"
#include "io/DataFile.h"
#include "tests/support/PromptScripted.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace morvik;

namespace {

constexpr int kMembers = 10000;

// A data file of kMembers members with readings that give every member a result.
class LargeFile {
public:
    LargeFile() {
        DataSet data;
        data.members.reserve(kMembers);
        for (int i = 0; i < kMembers; ++i) {
            ShaJiang_GouJian_Struct m = newMemberRecord(i + 1);
            for (int p = 0; p < kPointCount; ++p) {
                m.unevenness[p] = 0.5f + 0.01f * float(p);
                m.gaugeReading[p] = 4.0f + 0.001f * float(i % 500) + 0.02f * float(p);
                updatePointDepth(m, p);
            }
            data.members.push_back(m);
        }
        path_ = dir_.filePath(QStringLiteral("large.stl")).toStdString();
        if (writeDataFile(path_, data) != WriteResult::Written)
            std::fprintf(stderr, "bench: cannot write %s\n", path_.c_str());
    }
    const std::string& path() const { return path_; }

private:
    QTemporaryDir dir_;
    std::string path_;
};

const LargeFile& largeFile() {
    static const LargeFile file;
    return file;
}

struct ShownDialog {
    explicit ShownDialog(bool open = true) : dialog(prompt, [] { return CivilDate{2024, 3, 9}; }) {
        dialog.start();
        dialog.show();
        QApplication::processEvents();
        if (open) {
            dialog.session().openPath(largeFile().path());
            QApplication::processEvents();
        }
    }
    ScriptedPrompt prompt;
    CMorvikDlg dialog;
};

void BM_VarietyChange(benchmark::State& state) {
    ShownDialog shown;
    int variety = 0;
    for (auto _ : state) {
        variety = (variety + 1) % 3;
        shown.dialog.session().onVarietyChanged(variety);
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * kMembers);
}
BENCHMARK(BM_VarietyChange)->Unit(benchmark::kMillisecond);

void BM_OpenLargeFile(benchmark::State& state) {
    ShownDialog shown(false);
    for (auto _ : state) {
        shown.dialog.session().openPath(largeFile().path());
        QApplication::processEvents();
    }
    if (shown.dialog.memberList()->rowCount() != kMembers)
        state.SkipWithError("the list was not filled");
    state.SetItemsProcessed(state.iterations() * kMembers);
}
BENCHMARK(BM_OpenLargeFile)->Unit(benchmark::kMillisecond);

void BM_ToggleAllWithBatchMode(benchmark::State& state) {
    ShownDialog shown;
    Session& session = shown.dialog.session();
    session.toggleAllChecks();
    session.toggleBatchMode(true);
    if (!session.batchMode())
        state.SkipWithError("batch mode did not come on");
    for (auto _ : state) {
        session.toggleAllChecks(); // clears all, then ticks all, in turn
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * kMembers);
}
BENCHMARK(BM_ToggleAllWithBatchMode)->Unit(benchmark::kMillisecond);

// The user selects another row: the list tells the dialog, the session switches. With the
// argument 0 the repaint that follows is left out, to tell the work from the painting.
void BM_MemberSwitch(benchmark::State& state) {
    const bool paint = state.range(0) != 0;
    ShownDialog shown;
    CSortListCtrl& list = *shown.dialog.memberList();
    int k = 0;
    for (auto _ : state) {
        const int row = (k++ % 2) ? 1 : kMembers / 2;
        list.setRowState(row, kListSelected | kListFocused, kListSelected | kListFocused);
        if (paint)
            QApplication::processEvents();
    }
    if (shown.dialog.session().currentMember() != ((k - 1) % 2 ? 1 : kMembers / 2))
        state.SkipWithError("the member did not switch");
}
BENCHMARK(BM_MemberSwitch)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_ConstructionToFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        ScriptedPrompt prompt;
        CMorvikDlg dialog(prompt);
        dialog.start();
        dialog.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(dialog.grab(QRect(0, 0, 1, 1)));
        state.PauseTiming();
        dialog.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ConstructionToFirstPaint)->Unit(benchmark::kMillisecond);

// Undo (argument 0) or redo (argument 1) of the last step over the large data set, with the
// repaint it leaves; the other direction is run untimed between the timed ones.
void timeUndoOrRedo(benchmark::State& state, Session& session) {
    const bool redo = state.range(0) != 0;
    if (!session.canUndo())
        state.SkipWithError("no step to undo");
    for (auto _ : state) {
        if (redo) {
            state.PauseTiming();
            session.undo();
            QApplication::processEvents();
            state.ResumeTiming();
            session.redo();
            QApplication::processEvents();
        } else {
            session.undo();
            QApplication::processEvents();
            state.PauseTiming();
            session.redo();
            QApplication::processEvents();
            state.ResumeTiming();
        }
    }
}

void BM_UndoVarietyChange(benchmark::State& state) {
    ShownDialog shown;
    shown.dialog.session().onVarietyChanged(1);
    timeUndoOrRedo(state, shown.dialog.session());
}
BENCHMARK(BM_UndoVarietyChange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_UndoDeleteHalf(benchmark::State& state) {
    ShownDialog shown;
    Session& session = shown.dialog.session();
    session.toggleAllChecks();
    for (int row = 0; row < kMembers; row += 2)
        shown.dialog.memberList()->setRowChecked(row, false);
    shown.prompt.answers.push_back(PromptAnswer::Yes);
    session.deleteCheckedMembers();
    if (session.memberCount() != kMembers / 2)
        state.SkipWithError("the ticked half was not deleted");
    timeUndoOrRedo(state, session);
}
BENCHMARK(BM_UndoDeleteHalf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One reading, as the last of 1,000 reading steps; the counter is the memory of those steps.
void BM_UndoReading(benchmark::State& state) {
    ShownDialog shown;
    Session& session = shown.dialog.session();
    for (int i = 0; i < 1000; ++i)
        session.onReadingEdited(1 + i % kPointCount, 1 + i % 2, std::to_string(i % 90) + ".5");
    state.counters["history_bytes"] = double(session.history().memoryBytes());
    timeUndoOrRedo(state, session);
}
BENCHMARK(BM_UndoReading)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
