#pragma once
// The batch summary sheet "砂浆抗压强度贯入检测汇总表": every member of a batch with its
// results in one table, the batch results and a chart of the converted strengths against
// the batch values and the design strength. Drawn on the same canvas, with the same
// fonts, frame, header, footer and page number as the record sheet; the table runs on
// over as many A4 pages as it needs.

#include "core/Batch.h"
#include "core/Records.h"
#include "sheet/SheetCanvas.h"
#include <vector>

namespace morvik {

struct SummaryJob {
    const ProjectInfo* project = nullptr;
    std::vector<ShaJiang_GouJian_Struct> members; // the batch, in list order
    BatchOutcome batch;                           // its evaluation, as the dialog shows it
    PrintSettings settings{};
};

// The sheet's title, "砂浆抗压强度贯入检测汇总表".
QString summarySheetTitle();

// The summary of `members` (in list order) under `project`: the batch is evaluated by the
// same rule as the dialog's ticked rows, `previousEstimate` being the estimate the dialog
// held before. `project` must outlive the job.
SummaryJob summaryJob(const ProjectInfo& project, std::vector<ShaJiang_GouJian_Struct> members,
                      const PrintSettings& settings, double previousEstimate);

// How many pages the summary takes on pages of `width` × `height` device units of `dc`.
// At least 1; 0 when the job has no project.
int summaryPageCount(SheetCanvas& dc, int width, int height, const SummaryJob& job);

// Draws page `pageNumber` (1-based) of the summary. Changes nothing but the canvas and
// leaves its current font and rule style as they were; a page beyond the summary's last
// draws nothing.
void DrawSummarySheet(SheetCanvas& dc, int width, int height, int pageNumber,
                      const SummaryJob& job);

} // namespace morvik
