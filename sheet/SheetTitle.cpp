#include "sheet/SheetPage.h"

namespace morvik {

namespace {
constexpr int kTitlePoints = 22;
// The page count stands 2.5 title heights below T, its left edge 10 lines left of R.
constexpr double kPageCountTitleHeights = 5 * 0.5;
constexpr int kPageCountLinesFromRight = 10;
} // namespace

int titleHeight(SheetCanvas& dc, const QString& title) {
    const SheetCanvas::FontId font = dc.createFont(sheetFace(), kTitlePoints);
    const SheetCanvas::FontId previous = dc.selectFont(font);
    const int height = dc.measureText(title).height;
    dc.selectFont(previous);
    dc.deleteFont(font);
    return height;
}

int pageCountY(const SheetGeometry& g, int titleHeight) {
    return static_cast<int>(titleHeight * kPageCountTitleHeights + g.top);
}

void drawTitle(SheetPage& page, const QString& title) {
    SheetCanvas& dc = page.dc;
    const SheetGeometry& g = page.g;
    const SheetCanvas::FontId font = dc.createFont(sheetFace(), kTitlePoints);
    const SheetCanvas::FontId previous = dc.selectFont(font);
    const TextSize size = dc.measureText(title);
    page.titleHeight = size.height;
    const int x = static_cast<int>((g.right - size.width - g.left) * 0.5 + g.left);
    const int y = static_cast<int>(size.height * 0.5 + g.top);
    dc.drawText(x, y, title);
    dc.selectFont(previous);
    dc.deleteFont(font);
}

void drawPageCount(SheetPage& page) {
    const QString text =
        QString::asprintf("共%d页 第%d页", int(page.context.totalPages), page.pageNumber);
    page.measure(text);
    page.y = pageCountY(page.g, page.titleHeight);
    page.dc.drawText(page.g.right - kPageCountLinesFromRight * page.h, page.y, text);
}

} // namespace morvik
