#include "sheet/SummaryLayout.h"

#include <algorithm>

namespace morvik {

namespace {
// In halves of h.
constexpr int kRowHalves = 3;
constexpr int kHeadingHalves = 6;
constexpr int kProjectBlockHalves = 17; // five rows of 3h/2, the box and a gap
constexpr int kBatchFrameHalves = 4;    // the heading line and the margin below the last
constexpr int kBatchLineHalves = 3;
constexpr int kChartHalves = 50;
constexpr int kGapHalves = 2;             // between the blocks
constexpr int kBodyStartHalves = 4;       // from the page count to the first block
constexpr int kBottomClearanceHalves = 1; // kept clear above the bottom rule

int halves(int h, int count) {
    return count * h / 2;
}
} // namespace

int summaryRowHeight(int h) {
    return halves(h, kRowHalves);
}
int summaryHeadingHeight(int h) {
    return halves(h, kHeadingHalves);
}
int summaryProjectBlockHeight(int h) {
    return halves(h, kProjectBlockHalves);
}
int summaryBatchBlockHeight(int h, int lines) {
    return halves(h, kBatchFrameHalves + kBatchLineHalves * std::max(0, lines));
}
int summaryChartHeight(int h) {
    return halves(h, kChartHalves);
}

std::vector<SummaryPagePlan> planSummary(const SheetGeometry& g, const SummaryMetrics& m,
                                         int members) {
    const int h = std::max(1, m.h);
    const int limit = g.bottom - halves(h, kBottomClearanceHalves);
    const int bodyTop = m.pageCountY + halves(h, kBodyStartHalves);
    const int gap = halves(h, kGapHalves);
    const int rowHeight = std::max(1, summaryRowHeight(h));
    const int batchHeight = summaryBatchBlockHeight(h, m.batchLines);

    std::vector<SummaryPagePlan> pages;
    SummaryPagePlan page;
    page.tableTop = bodyTop + summaryProjectBlockHeight(h);
    int y = page.tableTop;
    auto nextPage = [&] {
        pages.push_back(page);
        page = SummaryPagePlan{};
        page.tableTop = bodyTop;
        y = bodyTop;
    };

    int row = 0;
    while (row < members) {
        const int room = (limit - y - summaryHeadingHeight(h)) / rowHeight;
        const int take = std::min(std::max(room, 1), members - row);
        page.firstRow = row;
        page.rowCount = take;
        row += take;
        y += summaryHeadingHeight(h) + take * rowHeight;
        if (row < members)
            nextPage();
    }
    // The batch block and the chart are never split; each goes on the next page when the
    // rest of this one is too short for it.
    if (page.rowCount > 0 && y + gap + batchHeight > limit)
        nextPage();
    page.batchTop = y + (page.rowCount > 0 ? gap : 0);
    y = page.batchTop + batchHeight;
    if (y + gap + summaryChartHeight(h) > limit)
        nextPage();
    else
        y += gap;
    page.chartTop = y;
    pages.push_back(page);
    return pages;
}

} // namespace morvik
