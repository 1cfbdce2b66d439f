// The main dialog with a large data set: 10,000 members, each with 16 readings. A change of
// mortar variety (every member evaluated again, every list row rewritten), opening the
// file until the list is filled and member 1 shown, 全选 with batch mode on, a member
// switch through the list, and the dialog from construction to its first paint. Each
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
                m.depth[p] = m.gaugeReading[p] - m.unevenness[p];
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

} // namespace
