#pragma once
// The pages of one print preview and of the print run started from it. The main dialog
// has no document view, so this object plays that part: the preview and the printer both
// ask it for page n, and it draws the record sheet of the n-th member chosen when the
// preview started.
//
//   main dialog data (copied) -> PreviewPages -> QPainter of the preview or the printer

#include "core/Batch.h"
#include "core/Records.h"
#include "sheet/SheetCanvas.h"
#include "sheet/SummarySheet.h"
#include <cstdint>
#include <optional>
#include <vector>

class QPainter;
class QPrinter;

namespace morvik {

class PreviewPages {
public:
    // `pageMembers` are the members of the pages in page order: the ticked rows in list
    // order, else the current member, else none. Everything is copied, so later changes
    // to the data set never reach a page. The page count is the number of page members,
    // or 1 when there is none (a single blank page), limited to the 16-bit count the
    // sheet prints.
    PreviewPages(const ProjectInfo& project, std::vector<ShaJiang_GouJian_Struct> pageMembers,
                 bool batchMode, const BatchResults& batch, const PrintSettings& settings);

    // totalPages: 1 or more; the summary's own count while the summary shows.
    int pageCount() const { return showsSummary_ ? summaryPages_ : pageCount_; }

    // The batch summary sheet goes with a preview of a batch: batch mode on and two or
    // more members, which are then the ticked ones.
    bool hasSummary() const;
    bool showsSummary() const { return showsSummary_; }
    // Switches the pages to the summary sheet (laid out on pages of `width` × `height`
    // device pixels of the painter's device) or back to the record sheets. The summary
    // refers to these pages' own project: copies made afterwards show the record sheets.
    void showSummary(bool on, QPainter& metrics, int width, int height);

    // The member drawn on page `pageNumber` (1-based); nullptr for a page without one.
    const ShaJiang_GouJian_Struct* memberOnPage(int pageNumber) const;

    // Draws page `pageNumber` of `width` × `height` device units: a record sheet, or a page
    // of the summary while it shows. A record page without a member draws nothing at all,
    // not even the title.
    void drawPage(SheetCanvas& dc, int width, int height, int pageNumber) const;

    // Draws page `pageNumber` on the painter's device, the page being `width` × `height`
    // device pixels (the printable area of a printer); the device gives the resolution.
    void drawPage(QPainter& painter, int width, int height, int pageNumber) const;

    // The page numbers `printer` asks for, in the order they go to the device: its page
    // range (all pages unless it holds a range), each page repeated for the copies the
    // device cannot make itself, collated or not as the printer says.
    std::vector<int> pagesToPrint(const QPrinter& printer) const;

    // The print run: the pages of pagesToPrint() through `printer`, page n numbered n.
    // False when painting on the printer could not start (no device, unwritable output
    // file), a page could not be added or the output could not be finished.
    bool print(QPrinter& printer) const;

private:
    ProjectInfo project_;
    std::vector<ShaJiang_GouJian_Struct> members_;
    bool batchMode_;
    BatchResults batch_;
    PrintSettings settings_;
    int pageCount_;
    std::optional<SummaryJob> summary_; // made when first shown
    int summaryPages_ = 0;
    bool showsSummary_ = false;
};

} // namespace morvik
