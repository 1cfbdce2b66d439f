// Header, footer and page number: where the print settings put them on a sheet.
#include "sheet/PageNumbering.h"
#include "sheet/SheetPage.h"

namespace morvik {

namespace {
// Text above a rule stands on it with a gap of a third of its height; text below a rule
// hangs a third of its height beneath it.
constexpr int kGapThirds = 3;
constexpr int kAboveRuleThirds = 4;
} // namespace

void drawTopRuleAndHeader(SheetPage& page) {
    const PrintSettings& settings = *page.context.settings;
    const SheetGeometry& g = page.g;
    if (drawsTopRule(settings))
        page.rule(g.left, g.top, g.right, g.top);
    if (settings.printHeader == 0)
        return;
    const QString text = fieldText(settings.headerText);
    const TextSize size = page.measure(text);
    const int x = static_cast<int>((g.right - size.width - g.left) * 0.5 + g.left);
    const int y =
        static_cast<int>(g.top - size.height * kAboveRuleThirds / static_cast<double>(kGapThirds));
    page.dc.drawText(x, y, text);
}

void drawFooterAndPageNumber(SheetPage& page) {
    const PrintSettings& settings = *page.context.settings;
    const SheetGeometry& g = page.g;
    if (settings.printFooter != 0) {
        page.rule(g.left, g.bottom, g.right, g.bottom);
        const QString text = fieldText(settings.footerText);
        const TextSize size = page.measure(text);
        page.dc.drawText((g.right - size.width + g.left) / 2, g.bottom + size.height / kGapThirds,
                         text);
    }
    if (settings.printPageNumber == 0)
        return;

    const PageNumberPosition position = pagePosition(settings);
    // At the bottom the page number gets its rule even when the footer drew it already.
    if (isBottomPosition(position))
        page.rule(g.left, g.bottom, g.right, g.bottom);
    const QString text = pageNumberText(settings, page.pageNumber, page.context.totalPages);
    const TextSize size = page.measure(text);
    const int below = g.bottom + size.height / kGapThirds;
    const int above = g.top - (kAboveRuleThirds * size.height) / kGapThirds;
    int x = g.left;
    int y = below;
    switch (position) {
    case PageNumberPosition::BottomRight:
        x = g.right - size.width;
        break;
    case PageNumberPosition::BottomCentre:
        x = (g.left + g.right - size.width) / 2;
        break;
    case PageNumberPosition::BottomLeft:
        break;
    case PageNumberPosition::TopRight:
        x = g.right - size.width;
        y = above;
        break;
    case PageNumberPosition::TopCentre:
        x = (g.left + g.right - size.width) / 2;
        y = above;
        break;
    case PageNumberPosition::TopLeft:
        y = above;
        break;
    }
    page.dc.drawText(x, y, text);
}

} // namespace morvik
