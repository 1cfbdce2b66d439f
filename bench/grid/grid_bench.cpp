// The reading grid: painting the reading table (17 x 4) and a 10,000-row grid onto an image
// of the widget's size, and typing a reading from the end of its edit to the repaint that
// shows it.
#include "grid/CGridCtrl.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

using namespace morvik;

namespace {

void layOut(CGridCtrl& g, int rows) {
    g.setDrawingAllowed(false);
    g.setRowCount(rows);
    g.setColumnCount(4);
    g.setFixedRowCount(1);
    g.setFixedColumnCount(1);
    g.setColumnWidth(0, 52);
    for (int c = 1; c < 4; ++c)
        g.setColumnWidth(c, 100);
    g.setRowHeight(0, 40);
    for (int r = 1; r < rows; ++r) {
        g.setRowHeight(r, 20);
        g.setItemText(r, 0, QString::number(r));
        g.setItemText(r, 1, QStringLiteral("0.5%1").arg(r % 10));
        g.setItemText(r, 2, QStringLiteral("4.8%1").arg(r % 10));
        g.setItemText(r, 3, QStringLiteral("4.3%1").arg(r % 10));
    }
    g.setItemText(0, 1, QStringLiteral("不平整读数(mm)"));
    g.setItemText(0, 2, QStringLiteral("贯入仪读数(mm)"));
    g.setItemText(0, 3, QStringLiteral("贯入深度(mm)"));
    g.setDrawingAllowed(true);
    g.resize(400, 420);
    g.resetScrollBars();
    g.setFocusCell(5, 2);
}

void paintGrid(benchmark::State& state, int rows) {
    CGridCtrl grid;
    layOut(grid, rows);
    QImage image(grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&image);
        grid.onDraw(p, image.rect());
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_PaintReadingGrid(benchmark::State& state) {
    paintGrid(state, 17);
}
BENCHMARK(BM_PaintReadingGrid)->Unit(benchmark::kMicrosecond);

void BM_Paint10000RowGrid(benchmark::State& state) {
    paintGrid(state, 10000);
}
BENCHMARK(BM_Paint10000RowGrid)->Unit(benchmark::kMicrosecond);

// A reading ends its edit with Enter; the grid stores it, tells the owner and repaints.
void BM_TypeReading(benchmark::State& state) {
    QWidget window;
    window.resize(400, 420);
    auto* grid = new CGridCtrl(&window);
    layOut(*grid, 17);
    grid->setGeometry(0, 0, 400, 420);
    window.show();
    QApplication::processEvents();
    int i = 0;
    for (auto _ : state) {
        const QString text = (i++ % 2) ? QStringLiteral("4.80") : QStringLiteral("4.81");
        grid->onInPlaceEditEnd(endEditResult(CGridCtrl::kInPlaceEditId, 5, 2, text, KeyEnter));
        QApplication::processEvents();
    }
}
BENCHMARK(BM_TypeReading)->Unit(benchmark::kMicrosecond);

} // namespace
