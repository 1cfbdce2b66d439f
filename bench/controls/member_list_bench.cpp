// Filling the member list: adding 10,000 rows to an empty list, and refilling a list that
// already holds 10,000 rows (every row deleted, then added again), as opening a large data
// file does. The list is shown, so the view's own bookkeeping is included.
#include "controls/CSortListCtrl.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>

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

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
