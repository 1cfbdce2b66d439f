// The remarks box, the formula box with the member's two results, and the signature line.
#include "core/Evaluation.h"
#include "core/ResultText.h"
#include "report/SheetPage.h"
#include <cstdio>

namespace morvik {

namespace {

constexpr int kTableRowsLines = 16; // the eight rows of 2h below the heading
constexpr int kRemarksLines = 5;
constexpr int kRemarksLabelColumn = 7; // the rule between label and text, in h from L
constexpr int kRemarksTextColumn = 8;
constexpr int kRemarksFitMargin = 9;   // a remark fits when narrower than R − 9h − L
constexpr int kRemarksWrapMargin = 10; // a wrapped line ends once R − width − L < 10h
constexpr int kRemarksFirstPiece = 10;
const QString kRemarksIndent = QStringLiteral("    ");
constexpr int kFormulaLines = 6;
constexpr int kSignatureLines = 8; // below the formula box's top
constexpr int kSignatureColumn = 15;
constexpr int kTestDateDrop = 3;
// Gaps of the formulas in device units; they do not scale with the resolution.
constexpr int kAfterLabelGap = 10;
constexpr int kFractionGap = 20;
constexpr int kAfterSubscriptGap = 20;

void drawWrappedRemark(SheetPage& page, int x, int top, const QString& remark) {
    const SheetGeometry& g = page.g;
    const QString text = kRemarksIndent + remark;
    int y = top;
    int start = 0;
    for (int end = kRemarksFirstPiece; end <= text.size(); ++end) {
        const QString piece = text.mid(start, end - start);
        if (g.right - page.measure(piece).width - g.left < kRemarksWrapMargin * page.h) {
            page.dc.drawText(x, y, piece);
            start = end;
            y += 3 * page.h / 2;
        }
    }
    if (start < text.size())
        page.dc.drawText(x, y, text.mid(start));
}

// Draws `text` in `font` centred on `centre` with its top at `top` computed from its
// height; returns its size.
TextSize drawCentred(SheetCanvas& dc, int centre, const QString& text,
                     int (*topFor)(int height, int base), int base) {
    const TextSize size = dc.measureText(text);
    dc.drawText(centre - size.width / 2, topFor(size.height, base), text);
    return size;
}

void drawMeanDepthFormula(SheetPage& page, int y1) {
    SheetCanvas& dc = page.dc;
    const int start = page.g.left + page.h;

    const QString label = QStringLiteral("贯入深度平均值 m");
    dc.drawText(start, y1, label);
    int x = start + page.measure(label).width + kAfterLabelGap;

    dc.selectFont(page.small);
    const TextSize dj = dc.measureText(QStringLiteral("dj"));
    dc.drawText(x, y1 + 3 * dj.height / 4, QStringLiteral("dj"));
    x += 4 * dj.width / 3;

    dc.selectFont(page.body);
    const TextSize equals = page.measure(QStringLiteral("="));
    dc.drawText(x, y1, QStringLiteral("="));
    x += 4 * equals.width / 3;

    // The fraction 1/10, its bar as wide as "101".
    const TextSize bar = page.measure(QStringLiteral("101"));
    page.rule(x, y1 + bar.height / 2, x + bar.width, y1 + bar.height / 2);
    const int sumX = x + bar.width;
    const int barCentre = x + bar.width / 2;
    drawCentred(
        dc, barCentre, QStringLiteral("1"),
        [](int height, int base) { return base - height / 2 - kFractionGap; }, y1);
    drawCentred(
        dc, barCentre, QStringLiteral("10"),
        [](int height, int base) { return base + height / 2 + kFractionGap; }, y1);

    // The sum sign with its limits above and below.
    dc.selectFont(page.sign);
    const TextSize sum = dc.measureText(QStringLiteral("∑"));
    const int sumTop = y1 + (bar.height - sum.height) / 2;
    dc.drawText(sumX, sumTop, QStringLiteral("∑"));
    dc.selectFont(page.small);
    const int sumCentre = sumX + sum.width / 2;
    drawCentred(
        dc, sumCentre, QStringLiteral("10"), [](int height, int base) { return base - height; },
        sumTop);
    drawCentred(
        dc, sumCentre, QStringLiteral("i=1"), [](int, int base) { return base; },
        y1 + (bar.height + sum.height) / 2);

    dc.selectFont(page.body);
    x = sumX + sum.width;
    dc.drawText(x, y1, QStringLiteral("d"));
    x += page.measure(QStringLiteral("d")).width;
    dc.selectFont(page.small);
    const TextSize i = dc.measureText(QStringLiteral("i"));
    dc.drawText(x, y1 + 3 * i.height / 4, QStringLiteral("i"));
    x += i.width;

    dc.selectFont(page.body);
    const float mean = page.member.meanDepth;
    const QString result = isPresent(mean)
                               ? " = " + QString::fromStdString(depthText(mean)) + " (mm)"
                               : QStringLiteral(" = -- (mm)");
    dc.drawText(x, y1, result);
}

void drawEstimateFormula(SheetPage& page, int y2) {
    SheetCanvas& dc = page.dc;
    const int start = page.g.left + page.h;

    const QString label = QStringLiteral("砂浆抗压强度推定值 f");
    dc.drawText(start, y2, label);
    const TextSize labelSize = page.measure(label);
    int x = start + labelSize.width + kAfterLabelGap;

    dc.selectFont(page.small);
    const TextSize c = dc.measureText(QStringLiteral("c"));
    dc.drawText(x, y2 - c.height / 6, QStringLiteral("c"));
    const TextSize index = dc.measureText(QStringLiteral("2,e"));
    dc.drawText(x, y2 + 2 * labelSize.height / 3, QStringLiteral("2,e"));
    x += index.width + kAfterSubscriptGap;

    dc.selectFont(page.body);
    const float estimate = page.member.memberEstimate;
    // Rounded to two decimals and then printed with one (by the C library, like every
    // number of the program), as the sheet always has.
    QString result = QStringLiteral(" = -- (MPa)");
    if (isPresent(estimate)) {
        char digits[64];
        std::snprintf(digits, sizeof digits, "%.1f", roundDigits(estimate, 2));
        result = QStringLiteral(" = ") + QLatin1String(digits) + QStringLiteral(" (MPa)");
    }
    dc.drawText(x, y2, result);
}

} // namespace

void drawRemarksBox(SheetPage& page) {
    const SheetGeometry& g = page.g;
    const int h = page.h;
    const int top = page.y + kTableRowsLines * h;
    const int foot = top + kRemarksLines * h;
    page.dc.moveTo(g.left, top);
    page.dc.lineTo(g.left, foot);
    page.dc.lineTo(g.right, foot);
    page.dc.lineTo(g.right, top);
    page.rule(g.left + kRemarksLabelColumn * h, top, g.left + kRemarksLabelColumn * h, foot);
    page.dc.drawText(g.left + 2 * h, top + 2 * h, QStringLiteral("备  注"));

    // The box does not grow: a long remark runs on below it.
    const QString remark = fieldText(page.member.remark);
    const int x = g.left + kRemarksTextColumn * h;
    if (page.measure(remark).width < g.right - kRemarksFitMargin * h - g.left)
        page.dc.drawText(x, top + 2 * h, remark);
    else
        drawWrappedRemark(page, x, top + h, remark);
    page.y = foot;
}

void drawFormulaBox(SheetPage& page) {
    const SheetGeometry& g = page.g;
    const int h = page.h;
    const int top = page.y;
    const int foot = top + kFormulaLines * h;
    page.dc.moveTo(g.left, top);
    page.dc.lineTo(g.left, foot);
    page.dc.lineTo(g.right, foot);
    page.dc.lineTo(g.right, top);
    drawMeanDepthFormula(page, top + h);
    drawEstimateFormula(page, top + 4 * h);
}

void drawSignatureLine(SheetPage& page) {
    const SheetGeometry& g = page.g;
    const ProjectInfo& p = *page.context.project;
    const int h = page.h;
    const int y = page.y + kSignatureLines * h;
    page.dc.drawText(g.left, y, "复核：" + fieldText(p.reviewer));
    // Measured from the page's left edge, not from L.
    page.dc.drawText(kSignatureColumn * h, y, "主检：" + fieldText(p.chiefInspector));
    page.dc.drawText(g.right - kSignatureColumn * h, y + kTestDateDrop * h,
                     "检测日期：" + fieldText(page.member.testDate));
}

} // namespace morvik
