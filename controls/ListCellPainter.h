#pragma once
// How one cell of the member list is drawn. Plain functions on a QPainter so that the list
// and tests (rendering into an image) share them.
#include "controls/ColorRef.h"
#include "controls/ListRowData.h"

#include <QRect>
#include <QString>
#include <Qt>

class QPainter;

namespace morvik {

// Text keeps this distance from the cell's left and right edges.
inline constexpr int kListTextInset = 5;
// Side of the check box square in column 0 (the desktop's menu check mark width).
inline constexpr int kListCheckBoxWidth = 13;
// Distance of the check box from the cell's left edge.
inline constexpr int kListCheckBoxLeft = 2;

// The list-wide colours a cell can fall back on.
struct ListColours {
    ColorRef text = 0;
    ColorRef background = 0;
    ColorRef highlight = 0;
    ColorRef highlightText = 0;
    // The flat check box: its frame, face and mark.
    ColorRef checkFrame = 0;
    ColorRef checkFace = 0;
    ColorRef checkMark = 0;
};

struct CellColours {
    ColorRef text = 0;
    ColorRef background = 0;
};

// The colours of a cell: those stored for it in the row data, or the list's own when the row
// has none. A selected cell on the list's background takes the highlight colours instead; a
// cell with a background of its own keeps it even when selected.
CellColours listCellColours(const ListRowData* data, int column, bool selected,
                            const ListColours& list);

struct ListCellLook {
    QRect rect;
    QString text;
    CellColours colours;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool withCheckBox = false;
    bool checked = false;
};

QRect listCheckBoxRect(const QRect& cell);
QRect listTextRect(const QRect& cell, bool withCheckBox);

void drawListCell(QPainter& painter, const ListCellLook& cell, const ListColours& list);

// The dotted frame of the focused row, just inside `row`, in `colour`.
void drawListFocusFrame(QPainter& painter, const QRect& row, ColorRef colour);

} // namespace morvik
