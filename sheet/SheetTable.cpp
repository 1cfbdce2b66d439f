// The table of the 16 measuring points: a two-line heading and eight rows, each row
// holding point r + 1 in the left half and point r + 9 in the right half.
#include "core/ResultText.h"
#include "sheet/SheetPage.h"
#include <array>

namespace morvik {

namespace {

constexpr int kRowsPerHalf = 8;
constexpr int kHeadingLines = 4; // the heading is 4h high, a row 2h
constexpr int kRowLines = 2;
constexpr int kValuesPerPoint = 3; // unevenness, penetrometer reading, depth
// The second heading line is nudged right by fractions of h to sit under the first:
// h/7 under "不平整度", 8h/7 under "贯入深度", and left by h/3 under "贯入深度测量".
constexpr int kNudgeSevenths = 7;
constexpr int kUnitNudgeSevenths = 8;
constexpr double kNudgeThirds = 3.0;

// The x of the seven vertical rules of the table.
std::array<int, 7> columnRules(const SheetGeometry& g, int h, int cw) {
    return {g.left + 2 * h,   g.left + 2 * h + cw,   g.left + 2 * h + 2 * cw,  g.middle,
            g.middle + 2 * h, g.middle + 2 * h + cw, g.middle + 2 * h + 2 * cw};
}

void drawColumnRules(SheetPage& page, int cw, int top, int bottom) {
    for (int x : columnRules(page.g, page.h, cw))
        page.rule(x, top, x, bottom);
}

void drawHeadingTexts(SheetPage& page, int cw, int top) {
    const SheetGeometry& g = page.g;
    const int h = page.h;
    const int L = g.left;
    const double Md = g.middleExact;
    const int ya = top + h / 2;
    const int yc = top + 5 * h / 2;
    SheetCanvas& dc = page.dc;
    auto both = [&dc](int xLeft, int xRight, int y, const QString& text) {
        dc.drawText(xLeft, y, text);
        dc.drawText(xRight, y, text);
    };
    // The heading positions are not symmetric between the halves; both are kept as the
    // sheet has always printed them.
    both(L + h / 2, g.middle + h / 2, ya, QStringLiteral("序"));
    both(L + h / 2, g.middle + h / 2, yc, QStringLiteral("号"));
    both(static_cast<int>(cw * 0.5 + L), (g.right + cw + L) / 2, ya, QStringLiteral("不平整度"));
    const int seventh = h / kNudgeSevenths;
    both(static_cast<int>(L + seventh + cw * 0.5), static_cast<int>(seventh + Md + cw * 0.5), yc,
         QStringLiteral("读数(mm)"));
    both((3 * cw) / 2 + L - h, static_cast<int>(Md - h + (3 * cw) * 0.5), ya,
         QStringLiteral("贯入深度测量"));
    both(static_cast<int>(L - h / kNudgeThirds + (3 * cw) * 0.5),
         static_cast<int>(Md + (3 * cw) * 0.5), yc, QStringLiteral("表读数(mm)"));
    both((5 * cw) / 2 + L, static_cast<int>(Md + (5 * cw) * 0.5), ya, QStringLiteral("贯入深度"));
    both(static_cast<int>(kUnitNudgeSevenths * h / static_cast<double>(kNudgeSevenths) + L +
                          (5 * cw) * 0.5),
         static_cast<int>((kUnitNudgeSevenths * h) / kNudgeSevenths + Md + (5 * cw) * 0.5), yc,
         QStringLiteral("(mm)"));
}

// Point `index` (0-based) in one half of the row at `top`: its number and its three
// values, each centred on its column; a missing value leaves its cell empty.
void drawPoint(SheetPage& page, int cw, int top, int index, bool rightHalf) {
    const SheetGeometry& g = page.g;
    const ShaJiang_GouJian_Struct& m = page.member;
    const int h = page.h;
    const int y = top + h / 2;

    const QString number = QString::number(index + 1);
    const int numberCentre = (rightHalf ? g.middle : g.left) + h;
    page.dc.drawText(numberCentre - page.measure(number).width / 2, y, number);

    const float values[kValuesPerPoint] = {m.unevenness[index], m.gaugeReading[index],
                                           m.depth[index]};
    for (int column = 0; column < kValuesPerPoint; ++column) {
        if (!isPresent(values[column]))
            continue;
        const QString text = QString::fromStdString(depthText(values[column]));
        const int halfText = page.measure(text).width / 2;
        const int offset = ((2 * column + 1) * cw) / 2; // cw/2, (3cw)/2, (5cw)/2
        const int x = rightHalf ? static_cast<int>(2 * h + g.middleExact + offset - halfText)
                                : offset + g.left + 2 * h - halfText;
        page.dc.drawText(x, y, text);
    }
}

} // namespace

void drawReadingTable(SheetPage& page) {
    const SheetGeometry& g = page.g;
    const int h = page.h;
    const int cw = dataColumnWidth(g, h);

    const int headingTop = page.y;
    const int headingFoot = headingTop + kHeadingLines * h;
    page.dc.moveTo(g.right, headingTop);
    page.dc.lineTo(g.right, headingFoot);
    page.dc.lineTo(g.left, headingFoot);
    page.dc.lineTo(g.left, headingTop);
    drawColumnRules(page, cw, headingTop, headingFoot);
    drawHeadingTexts(page, cw, headingTop);

    for (int r = 0; r < kRowsPerHalf; ++r) {
        const int top = headingFoot + kRowLines * h * r;
        const int foot = top + kRowLines * h;
        page.openBox(top, foot);
        drawColumnRules(page, cw, top, foot);
        drawPoint(page, cw, top, r, false);
        drawPoint(page, cw, top, r + kRowsPerHalf, true);
    }
    page.y = headingFoot;
}

} // namespace morvik
