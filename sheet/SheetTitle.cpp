#include "sheet/SheetPage.h"

namespace morvik {

namespace {
const QString kTitle = QStringLiteral("砂浆抗压强度贯入检测记录表");
constexpr int kTitlePoints = 22;
// The page count stands 2.5 title heights below T, its left edge 10 lines left of R.
constexpr double kPageCountTitleHeights = 5 * 0.5;
constexpr int kPageCountLinesFromRight = 10;
} // namespace

void drawTitle(SheetPage& page) {
    SheetCanvas& dc = page.dc;
    const SheetGeometry& g = page.g;
    const SheetCanvas::FontId title = dc.createFont(QStringLiteral("宋体"), kTitlePoints);
    const SheetCanvas::FontId previous = dc.selectFont(title);
    const TextSize size = dc.measureText(kTitle);
    page.titleHeight = size.height;
    const int x = static_cast<int>((g.right - size.width - g.left) * 0.5 + g.left);
    const int y = static_cast<int>(size.height * 0.5 + g.top);
    dc.drawText(x, y, kTitle);
    dc.selectFont(previous);
    dc.deleteFont(title);
}

void drawPageCount(SheetPage& page) {
    const QString text =
        QString::asprintf("共%d页 第%d页", int(page.context.totalPages), page.pageNumber);
    page.measure(text);
    page.y = static_cast<int>(page.titleHeight * kPageCountTitleHeights + page.g.top);
    page.dc.drawText(page.g.right - kPageCountLinesFromRight * page.h, page.y, text);
}

} // namespace morvik
