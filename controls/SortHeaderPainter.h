#pragma once
// How the member list's header draws one heading: the face, the text and the sort arrow.
// Plain functions on a QPainter so that the header and tests (rendering into an image)
// share them.
#include "controls/ColorRef.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <Qt>
#include <vector>

class QPainter;

namespace morvik {

inline constexpr ColorRef kHeaderFaceColour = kFaceColour;
inline constexpr int kHeaderFontPoints = 9;
inline constexpr int kHeaderMaxTextChars = 255;
// After the last heading the face continues in a strip this far from its right edge and
// this wide, so the header never shows the platform's own colour there.
inline constexpr int kHeaderStripGap = 2;
inline constexpr int kHeaderStripWidth = 500;
// A pressed heading's text moves this far right and down.
inline constexpr QPoint kHeaderPressedTextShift{1, 2};

enum class SortArrow { None, Ascending, Descending };

struct HeaderPens {
    ColorRef light = 0;
    ColorRef dark = 0;
};

struct HeadingLook {
    QRect rect; // the face to fill; text and arrow are placed inside it
    QString text;
    Qt::Alignment alignment = Qt::AlignLeft;
    SortArrow arrow = SortArrow::None;
    bool pressed = false;
};

// The pixels of a 1-pixel line from `from` to `to` as the desktop draws it: the first point
// is drawn, the last one is not, so joined segments never draw a corner twice.
std::vector<QPoint> linePixels(QPoint from, QPoint to);

// The arrow of the sort column in the right part of `rect`: pointing up for ascending,
// down for descending, drawn with a light and a dark pen for a chiselled look.
void drawSortArrow(QPainter& painter, const QRect& rect, SortArrow arrow, const HeaderPens& pens);

// Fills the face and draws the text (narrowed by a quarter of the height on each side,
// single line, vertically centred) and the arrow, with the painter's current font.
void drawHeadingFace(QPainter& painter, const HeadingLook& heading, const HeaderPens& pens);

} // namespace morvik
