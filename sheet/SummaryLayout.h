#pragma once
// Where the blocks of the summary go: how many table rows each page holds, and which page
// carries the batch block and the chart. Everything is measured in the line height h of
// the body font, so the plan holds at any resolution.

#include "sheet/SheetGeometry.h"
#include <vector>

namespace morvik {

struct SummaryPagePlan {
    int firstRow = 0;  // index of the first member in the table on this page
    int rowCount = 0;  // table rows on this page (0: no table)
    int tableTop = 0;  // y of the table heading's top rule
    int batchTop = -1; // y of the batch block's top rule; −1 when not on this page
    int chartTop = -1; // y of the chart's top; −1 when not on this page
};

struct SummaryMetrics {
    int h = 0;          // height of the body font
    int pageCountY = 0; // y of the page count, where every page's body starts from
    int batchLines = 3; // lines of text under the batch block's heading
};

// Heights of the blocks, in device units for line height h.
int summaryRowHeight(int h);
int summaryHeadingHeight(int h);
int summaryProjectBlockHeight(int h); // from the page count's line to the table's top
int summaryBatchBlockHeight(int h, int lines);
int summaryChartHeight(int h); // chart, labels and signature line

// The pages of a summary of `members` members (at least one page, each holding at least
// one row when rows remain, so a table of any length ends). The batch block and the chart
// follow the last row on its page where they fit.
std::vector<SummaryPagePlan> planSummary(const SheetGeometry& g, const SummaryMetrics& m,
                                         int members);

} // namespace morvik
