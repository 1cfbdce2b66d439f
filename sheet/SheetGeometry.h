#pragma once
// The frame every position of the record sheet is derived from.

namespace morvik {

struct SheetGeometry {
    int left;           // L
    int right;          // R
    int top;            // T, the top rule
    int bottom;         // B, the bottom rule
    int middle;         // M = (L + R) / 2
    double middleExact; // Md = (L + R) × 0.5
    int halfWidth;      // HW = (R − L) / 2
};

// The frame of a page of `width` × `height` device units.
SheetGeometry sheetGeometry(int width, int height);

// Width of a data column of the reading table for line height `lineHeight`.
int dataColumnWidth(const SheetGeometry& g, int lineHeight);

} // namespace morvik
