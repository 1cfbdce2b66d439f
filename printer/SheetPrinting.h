#pragma once
// Printing sheets on a printer: the pages are written as PDF on the printer's paper, each
// sheet laid on its printable area at its resolution, and handed to the print scheduler as
// one job. The preview, morvik-cli print and the PDF files draw their pages with the same
// sheet code; only the paper differs.

#include "printer/PrintQueue.h"
#include "sheet/SheetPdf.h"
#include <QPageLayout>
#include <optional>
#include <string>

namespace morvik {

// The layout of `paper`: its size exactly, its unprintable margins as the margins.
QPageLayout pageLayoutOf(const QueuePaper& paper);

// Prints `document` on printer `name`, its pages laid out by `layout` at `dotsPerInch`, as
// one job titled `title`. Nothing when the scheduler took the job, else why not.
std::optional<std::string> printSheets(const SheetDocument& document, const QPageLayout& layout,
                                       int dotsPerInch, const std::string& name,
                                       const std::string& title, const QueueCopies& copies);

} // namespace morvik
