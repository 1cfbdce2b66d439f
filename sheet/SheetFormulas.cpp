// The remarks box, the formula box with the member's two results, and the signature line.
#include "core/ResultText.h"
#include "sheet/SheetPage.h"
#include <algorithm>

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

// The x at which `size` is centred on `centre`.
int centredOn(int centre, const TextSize& size) {
    return centre - size.width / 2;
}

// Size of "101" in the body font: the fraction bar is as wide, the sum sign centred on it.
TextSize fractionBar(SheetPage& page) {
    return page.measure(QStringLiteral("101"));
}

// The fraction 1/10 at x in the body font; returns the x after its bar.
int drawFraction(SheetPage& page, int x, int y1) {
    SheetCanvas& dc = page.dc;
    const TextSize bar = fractionBar(page);
    page.rule(x, y1 + bar.height / 2, x + bar.width, y1 + bar.height / 2);
    const int centre = x + bar.width / 2;
    const TextSize one = dc.measureText(QStringLiteral("1"));
    dc.drawText(centredOn(centre, one), y1 - one.height / 2 - kFractionGap, QStringLiteral("1"));
    const TextSize ten = dc.measureText(QStringLiteral("10"));
    dc.drawText(centredOn(centre, ten), y1 + ten.height / 2 + kFractionGap, QStringLiteral("10"));
    return x + bar.width;
}

// The sum sign at x with its limits 10 above and i=1 below, vertically centred on the
// fraction bar; leaves the small font selected and returns the x after the sign.
int drawSum(SheetPage& page, int x, int y1) {
    SheetCanvas& dc = page.dc;
    const int barHeight = fractionBar(page).height;
    dc.selectFont(page.sign);
    const TextSize sum = dc.measureText(QStringLiteral("∑"));
    const int top = y1 + (barHeight - sum.height) / 2;
    dc.drawText(x, top, QStringLiteral("∑"));
    dc.selectFont(page.small);
    const int centre = x + sum.width / 2;
    const TextSize upper = dc.measureText(QStringLiteral("10"));
    dc.drawText(centredOn(centre, upper), top - upper.height, QStringLiteral("10"));
    const TextSize lower = dc.measureText(QStringLiteral("i=1"));
    dc.drawText(centredOn(centre, lower), y1 + (barHeight + sum.height) / 2, QStringLiteral("i=1"));
    return x + sum.width;
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

    const int sumX = drawFraction(page, x, y1);
    x = drawSum(page, sumX, y1);

    dc.selectFont(page.body);
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
    // The signed sheet must say what the member's estimate field says: one decimal by
    // the program's rounding rule. (Rounding to two decimals first and letting printf
    // take the last digit turned a stored 4.55 into 4.5 here while the dialog showed 4.6.)
    const QString result = isPresent(estimate)
                               ? " = " + QString::fromStdString(strengthText(estimate)) + " (MPa)"
                               : QStringLiteral(" = -- (MPa)");
    dc.drawText(x, y2, result);
}

} // namespace

void drawRemarksBox(SheetPage& page) {
    const SheetGeometry& g = page.g;
    const int h = page.h;
    const int top = page.y + kTableRowsLines * h;
    const int foot = top + kRemarksLines * h;
    page.openBox(top, foot);
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
    const int h = page.h;
    const int top = page.y;
    const int foot = top + kFormulaLines * h;
    page.openBox(top, foot);
    drawMeanDepthFormula(page, top + h);
    drawEstimateFormula(page, top + 4 * h);
}

void drawSignatureLine(SheetPage& page) {
    drawSignatures(page, page.y + kSignatureLines * page.h, fieldText(page.member.testDate));
}

void drawSignatures(SheetPage& page, int y, const QString& testDate) {
    const SheetGeometry& g = page.g;
    const ProjectInfo& p = *page.context.project;
    const int h = page.h;
    page.dc.drawText(g.left, y, "复核：" + fieldText(p.reviewer));
    // Measured from the page's left edge, not from L.
    page.dc.drawText(kSignatureColumn * h, y, "主检：" + fieldText(p.chiefInspector));
    // A batch's range of dates may be wider than the column; it then ends at R.
    const QString date = "检测日期：" + testDate;
    const int x = std::min(g.right - kSignatureColumn * h, g.right - page.measure(date).width);
    page.dc.drawText(x, y + kTestDateDrop * h, date);
}

} // namespace morvik
