#pragma once
// Record sheets and the batch summary as PDF files: A4 portrait pages, the whole page
// without margins. Needs a QGuiApplication (fonts).

#include "core/Batch.h"
#include "core/Records.h"
#include "sheet/SheetCanvas.h"
#include "sheet/SummarySheet.h"
#include <QIODevice>
#include <QPageLayout>
#include <QString>
#include <functional>
#include <vector>

namespace morvik {

struct SheetJob {
    const ProjectInfo* project = nullptr;
    std::vector<ShaJiang_GouJian_Struct> members; // page n shows members[n - 1]
    bool batchMode = false;
    BatchResults batch;
    PrintSettings settings{};
};

constexpr int kDefaultPdfDpi = 600;

struct PageSizeUnits {
    int width;
    int height;
};

// The A4 page in device units at `dotsPerInch` as printers report it: 2480 × 3508 at
// 300 dpi, scaled and rounded (4960 × 7016 at 600 dpi).
PageSizeUnits a4PageUnits(int dotsPerInch);

// A document of sheets: its page count on pages of the given size of a canvas, and page n.
struct SheetDocument {
    std::function<int(SheetCanvas& dc, int width, int height)> pageCount;
    std::function<void(SheetCanvas& dc, int width, int height, int pageNumber)> drawPage;
};

// Writes `document` as A4 pages at `dotsPerInch` to `device`. The same document gives the
// same bytes: the file carries no creation date.
bool writeSheetsPdf(QIODevice& device, const SheetDocument& document, int dotsPerInch,
                    QString* error = nullptr);

// Writes `document` on the pages of `layout` at `dotsPerInch`, each sheet laid on the
// printable area inside the layout's margins, as a printer with that paper and that
// printable area lays it out.
bool writeSheetsPdf(QIODevice& device, const SheetDocument& document, const QPageLayout& layout,
                    int dotsPerInch, QString* error = nullptr);

// The record sheets of `job` (page n showing members[n - 1]) and the summary sheet of
// `job` as documents; both refer to their job, which must outlive them.
SheetDocument recordSheetDocument(const SheetJob& job);
SheetDocument summarySheetDocument(const SummaryJob& job);

// Writes page n of the job as page n of members.size() at `dotsPerInch` to `path`. The
// file is replaced only when the whole document was written; any failure (the file
// cannot be created, a full device, a size limit) returns false with a reason in `error`
// and leaves an existing file as it was. False as well when the job has no page.
bool writeRecordSheetsPdf(const QString& path, const SheetJob& job, int dotsPerInch,
                          QString* error = nullptr);

// The same document written to an open device (a buffer, for a caller that stores the
// bytes itself).
bool writeRecordSheetsPdf(QIODevice& device, const SheetJob& job, int dotsPerInch,
                          QString* error = nullptr);

// The summary sheet of `job` as PDF, to a device or through a file replaced only when
// complete, as the record sheets.
bool writeSummaryPdf(QIODevice& device, const SummaryJob& job, int dotsPerInch,
                     QString* error = nullptr);
bool writeSummaryPdf(const QString& path, const SummaryJob& job, int dotsPerInch,
                     QString* error = nullptr);

} // namespace morvik
