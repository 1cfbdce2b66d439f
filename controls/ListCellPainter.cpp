#include "controls/ListCellPainter.h"
#include "controls/Alignment.h"

#include <QPainter>
#include <QPolygon>

namespace morvik {

namespace {

// The tick inside a 13-pixel box: a short stroke down and a long stroke up, three pixels
// thick, the shape of the desktop's flat check mark.
const QPoint kTickPoints[] = {{3, 5}, {5, 7}, {9, 3}};
constexpr int kTickThickness = 3;

void drawCheckBox(QPainter& p, const QRect& box, bool checked, const ListColours& list) {
    p.fillRect(box, colorFromRef(list.checkFace));
    p.setPen(QPen(colorFromRef(list.checkFrame), 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    if (!checked)
        return;
    p.setPen(QPen(colorFromRef(list.checkMark), 0));
    for (int dy = 0; dy < kTickThickness; ++dy) {
        QPolygon line;
        for (const QPoint& pt : kTickPoints)
            line << box.topLeft() + pt + QPoint(0, dy);
        p.drawPolyline(line);
    }
}

} // namespace

CellColours listCellColours(const ListRowData* data, int column, bool selected,
                            const ListColours& list) {
    CellColours c{list.text, list.background};
    if (data && column >= 0) {
        const size_t i = size_t(column);
        if (i < data->textColours.size())
            c.text = data->textColours[i];
        if (i < data->backColours.size())
            c.background = data->backColours[i];
    }
    if (selected && c.background == list.background)
        c = {list.highlightText, list.highlight};
    return c;
}

QRect listCheckBoxRect(const QRect& cell) {
    return QRect(cell.left() + kListCheckBoxLeft,
                 cell.top() + (cell.height() - kListCheckBoxWidth) / 2, kListCheckBoxWidth,
                 kListCheckBoxWidth);
}

QRect listTextRect(const QRect& cell, bool withCheckBox) {
    QRect r = cell.adjusted(kListTextInset, 0, -kListTextInset, 0);
    if (withCheckBox)
        r.setLeft(r.left() + kListCheckBoxWidth);
    return r;
}

void drawListCell(QPainter& painter, const ListCellLook& cell, const ListColours& list) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(cell.rect);
    painter.fillRect(cell.rect, colorFromRef(cell.colours.background));
    if (!cell.text.isEmpty()) {
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.setPen(colorFromRef(cell.colours.text));
        painter.drawText(
            listTextRect(cell.rect, cell.withCheckBox),
            horizontalAlignment(cell.alignment) | Qt::AlignVCenter | Qt::TextSingleLine, cell.text);
    }
    if (cell.withCheckBox)
        drawCheckBox(painter, listCheckBoxRect(cell.rect), cell.checked, list);
    painter.restore();
}

void drawListFocusFrame(QPainter& painter, const QRect& row, ColorRef colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Every other pixel, as the desktop's focus rectangle.
    QPen dots(colorFromRef(colour), 0, Qt::CustomDashLine);
    dots.setDashPattern({1, 1});
    painter.setPen(dots);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(row.adjusted(0, 0, -1, -1));
    painter.restore();
}

} // namespace morvik
