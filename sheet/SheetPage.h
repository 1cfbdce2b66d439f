#pragma once
// Internal to the record sheet: the state one page is drawn with, handed from block to
// block in drawing order. Each block advances `y` the way the layout prescribes.

#include "sheet/RecordSheet.h"
#include "sheet/SheetGeometry.h"
#include <QString>

namespace morvik {

struct SheetPage {
    SheetCanvas& dc;
    const SheetGeometry g;
    const RecordSheetContext& context;
    const ShaJiang_GouJian_Struct& member;
    const int pageNumber;

    SheetCanvas::FontId body = SheetCanvas::kNoFont;
    SheetCanvas::FontId small = SheetCanvas::kNoFont;        // sub- and superscripts, sum limits
    SheetCanvas::FontId sign = SheetCanvas::kNoFont;         // the sum sign
    SheetCanvas::FontId previousFont = SheetCanvas::kNoFont; // current before the page
    int titleHeight = 0;                                     // th
    int h = 0;                                               // height of the body font as measured
    int y = 0;                                               // the running vertical position

    void rule(int x1, int y1, int x2, int y2) {
        dc.moveTo(x1, y1);
        dc.lineTo(x2, y2);
    }
    // The sides and the foot of a box across the sheet, from the left top corner round to
    // the right one; its top is the rule of what stands above it.
    void openBox(int top, int foot) {
        dc.moveTo(g.left, top);
        dc.lineTo(g.left, foot);
        dc.lineTo(g.right, foot);
        dc.lineTo(g.right, top);
    }
    // Measures in the body font (which is current) and keeps its height as h.
    TextSize measure(const QString& text) {
        const TextSize size = dc.measureText(text);
        h = size.height;
        return size;
    }
};

// A stored GBK field as text.
QString fieldText(const char* field, std::size_t width);
template <std::size_t N> QString fieldText(const char (&field)[N]) {
    return fieldText(field, N);
}

// Entry `index` of a word list; empty when the list or the entry is missing.
QString listEntry(const std::vector<std::string>* list, std::size_t index);

// Names of a mortar code: any kind but plastering prints as masonry mortar, and a
// variety outside the kind's list as the kind's first variety.
struct MortarNames {
    QString kind;
    QString variety;
};
MortarNames mortarNames(const RecordSheetContext& c, std::uint8_t code);

// `text` shortened with an ellipsis until it is at most `extent` wide in the current font.
QString elidedText(SheetCanvas& dc, const QString& text, int extent);

// The face every font of a sheet is created from, and the size of its body font.
const QString& sheetFace();
constexpr int kBodyPoints = 11;

// Creates the body, small and sign fonts and selects the body font; closePageFonts
// selects the font that was current before and deletes the three.
void openPageFonts(SheetPage& page);
void closePageFonts(SheetPage& page);

// The height of `title` in the title font, and the y of the page count below it.
int titleHeight(SheetCanvas& dc, const QString& title);
int pageCountY(const SheetGeometry& g, int titleHeight);

// The blocks of a page, top to bottom.
void drawTitle(SheetPage& page, const QString& title);
void drawTopRuleAndHeader(SheetPage& page);
void drawPageCount(SheetPage& page);
void drawBatchBlock(SheetPage& page);
void drawInformationBox(SheetPage& page); // leaves y at the box's bottom rule
void drawReadingTable(SheetPage& page);   // heading and rows; leaves y at the heading's foot
void drawRemarksBox(SheetPage& page);     // leaves y at the box's foot
void drawFormulaBox(SheetPage& page);
void drawSignatureLine(SheetPage& page);
// 复核 and 主检 at `y`, the test date `testDate` below them at the right.
void drawSignatures(SheetPage& page, int y, const QString& testDate);
void drawFooterAndPageNumber(SheetPage& page);

} // namespace morvik
