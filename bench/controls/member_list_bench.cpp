// Filling the member list: adding 10,000 rows to an empty list, and refilling a list that
// already holds 10,000 rows (every row deleted, then added again), as opening a large data
// file does. Deleting 9,999 of 10,000 ticked members, one row at a time from the last as the
// delete command goes, and as one set. The list is shown, with the first row selected, so
// the view's own bookkeeping is included.
#include "controls/CSortListCtrl.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <vector>

using namespace morvik;

namespace {

constexpr int kRows = 10000;

void fill(CSortListCtrl& list) {
    for (int i = 0; i < kRows; ++i)
        list.addRow({QString::number(i + 1), QStringLiteral("G%1").arg(i + 1, 3, 10, QChar('0')),
                     QStringLiteral("4.12"), QStringLiteral("6.3")});
}

struct ShownList {
    ShownList() {
        list.setHeadings(QStringLiteral("序号,40;构件编号,90;平均值,60;抗压强度,60"));
        list.resize(260, 200);
        list.show();
        QApplication::processEvents();
    }
    CSortListCtrl list;
};

void BM_AddRowsToEmptyList(benchmark::State& state) {
    ShownList shown;
    for (auto _ : state) {
        state.PauseTiming();
        shown.list.deleteAllRows();
        QApplication::processEvents();
        state.ResumeTiming();
        fill(shown.list);
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_AddRowsToEmptyList)->Unit(benchmark::kMillisecond);

void BM_RefillFullList(benchmark::State& state) {
    ShownList shown;
    fill(shown.list);
    for (auto _ : state) {
        shown.list.deleteAllRows();
        fill(shown.list);
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_RefillFullList)->Unit(benchmark::kMillisecond);

// What deleting members leaves: the first row, selected. The target is under 100 ms.
void deleteAllButFirst(CSortListCtrl& list, bool asOneSet) {
    if (asOneSet) {
        std::vector<int> rows;
        for (int r = 1; r < kRows; ++r)
            rows.push_back(r);
        list.deleteRows(rows);
    } else {
        for (int r = kRows - 1; r >= 1; --r)
            list.deleteRow(r);
    }
}

void BM_DeleteRows(benchmark::State& state) {
    const bool asOneSet = state.range(0) != 0;
    ShownList shown;
    for (auto _ : state) {
        state.PauseTiming();
        shown.list.deleteAllRows();
        fill(shown.list);
        shown.list.setRowSelected(0, true, ListNotify::Quiet);
        QApplication::processEvents();
        state.ResumeTiming();
        deleteAllButFirst(shown.list, asOneSet);
        QApplication::processEvents();
    }
    if (shown.list.rowCount() != 1 || shown.list.selectedRow() != 0)
        state.SkipWithError("the first row did not remain selected");
    state.SetItemsProcessed(state.iterations() * (kRows - 1));
}
BENCHMARK(BM_DeleteRows)->ArgName("asOneSet")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Ticked members scattered through the list: every other row goes.
void BM_DeleteEveryOtherRowAsOneSet(benchmark::State& state) {
    ShownList shown;
    for (auto _ : state) {
        state.PauseTiming();
        shown.list.deleteAllRows();
        fill(shown.list);
        QApplication::processEvents();
        std::vector<int> rows;
        for (int r = 1; r < kRows; r += 2)
            rows.push_back(r);
        state.ResumeTiming();
        shown.list.deleteRows(rows);
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * (kRows / 2));
}
BENCHMARK(BM_DeleteEveryOtherRowAsOneSet)->Unit(benchmark::kMillisecond);

} // namespace
