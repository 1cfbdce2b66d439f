#include "sheet/PageNumberClearance.h"

#include "sheet/PageNumbering.h"
#include "sheet/PainterCanvas.h"
#include "sheet/RecordSheet.h"
#include "sheet/RecordingCanvas.h"
#include "sheet/SheetPdf.h"
#include <QImage>
#include <QPainter>
#include <QRect>
#include <algorithm>
#include <vector>

namespace morvik {

namespace {

constexpr double kInchesPerMetre = 1 / 0.0254;

struct TextBox {
    QRect rect;
    QString text;
    bool operator==(const TextBox& o) const { return rect == o.rect && text == o.text; }
};

// Lays a sheet out on another canvas's fonts and metrics and keeps only where each text
// would stand; nothing is drawn.
class TextBoxCanvas : public SheetCanvas {
public:
    explicit TextBoxCanvas(SheetCanvas& metrics) : metrics_(metrics) {}

    int logPixelsY() const override { return metrics_.logPixelsY(); }
    FontId createFont(const QString& face, int points) override {
        return metrics_.createFont(face, points);
    }
    FontId selectFont(FontId font) override { return metrics_.selectFont(font); }
    void deleteFont(FontId font) override { metrics_.deleteFont(font); }
    TextSize measureText(const QString& text) override { return metrics_.measureText(text); }
    void drawText(int x, int y, const QString& text) override {
        const TextSize size = metrics_.measureText(text);
        boxes.push_back({QRect(x, y, size.width, size.height), text});
    }
    void moveTo(int, int) override {}
    void lineTo(int, int) override {}
    void setRuleStyle(RuleStyle, int) override {}
    void fillRect(int, int, int, int, int) override {}

    std::vector<TextBox> boxes;

private:
    SheetCanvas& metrics_;
};

std::vector<TextBox> layOut(const PrintSettings& settings, SheetCanvas& dc, int width, int height) {
    const ProjectInfo project{};
    const RecordSheetContext context = sheetContext(project, settings, kCheckedPageNumber);
    TextBoxCanvas boxes(dc);
    DrawRecordSheet(boxes, width, height, kCheckedPageNumber, newMemberRecord(1), context);
    return std::move(boxes.boxes);
}

// The texts of `with` that `without` lacks: what one setting adds to the sheet.
std::vector<TextBox> addedBy(std::vector<TextBox> with, const std::vector<TextBox>& without) {
    for (const TextBox& box : without) {
        const auto it = std::find(with.begin(), with.end(), box);
        if (it != with.end())
            with.erase(it);
    }
    return with;
}

// The centre positions are refused with the same words; take them from there, so each
// message is written once.
Message edgeConflict(bool top) {
    PrintSettings probe{};
    probe.printPageNumber = 1;
    probe.printHeader = top ? 1 : 0;
    probe.printFooter = top ? 0 : 1;
    probe.pageNumberPosition = static_cast<std::uint8_t>(top ? PageNumberPosition::TopCentre
                                                             : PageNumberPosition::BottomCentre);
    return placementConflict(probe).value();
}

} // namespace

std::optional<Message> pageNumberOverlap(const PrintSettings& settings, SheetCanvas& dc, int width,
                                         int height) {
    if (settings.printPageNumber == 0)
        return std::nullopt;
    const bool top = !isBottomPosition(pagePosition(settings));
    if ((top ? settings.printHeader : settings.printFooter) == 0)
        return std::nullopt;

    PrintSettings withoutNumber = settings;
    withoutNumber.printPageNumber = 0;
    PrintSettings bare = withoutNumber;
    (top ? bare.printHeader : bare.printFooter) = 0;

    const std::vector<TextBox> withEdge = layOut(withoutNumber, dc, width, height);
    const std::vector<TextBox> number = addedBy(layOut(settings, dc, width, height), withEdge);
    const std::vector<TextBox> edge = addedBy(withEdge, layOut(bare, dc, width, height));
    for (const TextBox& a : number)
        for (const TextBox& b : edge)
            if (a.rect.intersects(b.rect))
                return edgeConflict(top);
    return std::nullopt;
}

std::optional<Message> pageNumberOverlap(const PrintSettings& settings) {
    if (settings.printPageNumber == 0)
        return std::nullopt;
    const PageSizeUnits page = a4PageUnits(kDefaultPdfDpi);

    // 宋体 itself sets a Chinese character one cell wide and a Latin one half a cell, which
    // is what the recording canvas measures.
    RecordingCanvas songMetrics(kDefaultPdfDpi);
    if (auto conflict = pageNumberOverlap(settings, songMetrics, page.width, page.height))
        return conflict;

    QImage device(1, 1, QImage::Format_RGB32);
    const int dotsPerMetre = qRound(kDefaultPdfDpi * kInchesPerMetre);
    device.setDotsPerMeterX(dotsPerMetre);
    device.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&device);
    PainterCanvas installed(painter);
    return pageNumberOverlap(settings, installed, page.width, page.height);
}

} // namespace morvik
