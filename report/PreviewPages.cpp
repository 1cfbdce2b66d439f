#include "report/PreviewPages.h"

#include "sheet/PainterCanvas.h"
#include "sheet/RecordSheet.h"
#include <QPageRanges>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <limits>

namespace morvik {

namespace {

// The sheet prints "共%d页" from a 16-bit count; more pages cannot be numbered.
constexpr int kMaxPages = std::numeric_limits<std::int16_t>::max();

} // namespace

PreviewPages::PreviewPages(const ProjectInfo& project,
                           std::vector<ShaJiang_GouJian_Struct> pageMembers, bool batchMode,
                           const BatchResults& batch, const PrintSettings& settings)
    : project_(project), members_(std::move(pageMembers)), batchMode_(batchMode), batch_(batch),
      settings_(settings) {
    if (members_.size() > static_cast<std::size_t>(kMaxPages))
        members_.resize(kMaxPages);
    pageCount_ = std::max(1, static_cast<int>(members_.size()));
}

const ShaJiang_GouJian_Struct* PreviewPages::memberOnPage(int pageNumber) const {
    if (pageNumber < 1 || pageNumber > static_cast<int>(members_.size()))
        return nullptr;
    return &members_[static_cast<std::size_t>(pageNumber - 1)];
}

bool PreviewPages::hasSummary() const {
    return batchMode_ && members_.size() >= kMinBatchSize;
}

void PreviewPages::showSummary(bool on, QPainter& metrics, int width, int height) {
    showsSummary_ = false;
    if (!on || !hasSummary() || metrics.device() == nullptr)
        return;
    if (!summary_) {
        summary_ = summaryJob(project_, members_, settings_, batch_.batchEstimate);
        PainterCanvas canvas(metrics);
        summaryPages_ = std::min(kMaxPages, summaryPageCount(canvas, width, height, *summary_));
    }
    summary_->project = &project_;
    showsSummary_ = summaryPages_ > 0;
}

void PreviewPages::drawPage(SheetCanvas& dc, int width, int height, int pageNumber) const {
    if (showsSummary_) {
        DrawSummarySheet(dc, width, height, pageNumber, *summary_);
        return;
    }
    const ShaJiang_GouJian_Struct* member = memberOnPage(pageNumber);
    if (member == nullptr)
        return;
    RecordSheetContext context =
        sheetContext(project_, settings_, static_cast<std::int16_t>(pageCount_));
    context.batchMode = batchMode_;
    context.batch = batch_;
    DrawRecordSheet(dc, width, height, pageNumber, *member, context);
}

void PreviewPages::drawPage(QPainter& painter, int width, int height, int pageNumber) const {
    const bool drawn = showsSummary_ ? pageNumber >= 1 && pageNumber <= summaryPages_
                                     : memberOnPage(pageNumber) != nullptr;
    if (!drawn || painter.device() == nullptr)
        return;
    PainterCanvas canvas(painter);
    drawPage(canvas, width, height, pageNumber);
}

std::vector<int> PreviewPages::pagesToPrint(const QPrinter& printer) const {
    std::vector<int> chosen;
    const QPageRanges ranges = printer.pageRanges();
    const bool ranged = printer.printRange() == QPrinter::PageRange && !ranges.isEmpty();
    for (int n = 1; n <= pageCount(); ++n)
        if (!ranged || ranges.contains(n))
            chosen.push_back(n);
    if (printer.pageOrder() == QPrinter::LastPageFirst)
        std::reverse(chosen.begin(), chosen.end());

    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    if (copies == 1)
        return chosen;
    std::vector<int> order;
    order.reserve(chosen.size() * static_cast<std::size_t>(copies));
    if (printer.collateCopies()) {
        for (int c = 0; c < copies; ++c)
            order.insert(order.end(), chosen.begin(), chosen.end());
    } else {
        for (int n : chosen)
            order.insert(order.end(), static_cast<std::size_t>(copies), n);
    }
    return order;
}

bool PreviewPages::print(QPrinter& printer) const {
    const std::vector<int> pages = pagesToPrint(printer);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    bool first = true;
    for (int n : pages) {
        if (!first && !printer.newPage()) {
            painter.end();
            return false;
        }
        first = false;
        drawPage(painter, printer.width(), printer.height(), n);
    }
    return painter.end();
}

} // namespace morvik
