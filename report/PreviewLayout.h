#pragma once
// Where the pages of the print preview stand: rows of one or two sheets of paper, scaled
// from printer pixels to screen pixels, with a gap around each. Content coordinates start
// at the top-left corner of the whole strip of pages; the view scrolls over them.

#include <QRect>
#include <QSize>

namespace morvik {

constexpr int kPreviewGap = 16;             // screen pixels between and around the pages
constexpr double kPreviewZoomStep = 1.25;   // one step of 放大 or 缩小
constexpr int kPreviewMinPageWidth = 60;    // screen pixels, smallest zoom
constexpr int kPreviewMaxPageWidth = 12000; // screen pixels, largest zoom

struct PreviewLayout {
    QSize paper;       // the sheet of paper in printer pixels
    int pageCount = 1; // 1 or more
    int columns = 1;   // pages side by side: 1 or 2
    double scale = 1;  // screen pixels per printer pixel

    // A page on screen, in whole pixels.
    QSize slot() const;
    int rows() const;
    QSize contentSize() const;
    // The sheet of page `pageNumber` (1-based) in content coordinates.
    QRect pageRect(int pageNumber) const;
    // The first page of the row that covers content height `y` (the row above when `y`
    // falls in a gap); clamped to the pages there are.
    int pageAt(int y) const;

    // The scale at which `columns` pages fill `width` screen pixels with their gaps.
    static double fitWidthScale(QSize paper, int columns, int width);
    // The scale at which a row of pages fits `viewport` entirely.
    static double fitPageScale(QSize paper, int columns, QSize viewport);
    // `scale` kept within the smallest and largest zoom for `paper`.
    static double clampScale(QSize paper, double scale);
};

} // namespace morvik
