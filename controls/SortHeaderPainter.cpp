#include "controls/SortHeaderPainter.h"
#include "controls/Alignment.h"

#include <QPainter>
#include <cstdlib>

namespace morvik {

namespace {

constexpr int kQuarter = 4;

void plotPolyline(QPainter& p, std::initializer_list<QPoint> points, ColorRef colour) {
    p.setPen(QPen(colorFromRef(colour), 0));
    const QPoint* prev = nullptr;
    for (const QPoint& pt : points) {
        if (prev)
            for (const QPoint& px : linePixels(*prev, pt))
                p.drawPoint(px);
        prev = &pt;
    }
}

} // namespace

std::vector<QPoint> linePixels(QPoint from, QPoint to) {
    std::vector<QPoint> pixels;
    const int dx = std::abs(to.x() - from.x());
    const int dy = std::abs(to.y() - from.y());
    const int sx = from.x() < to.x() ? 1 : -1;
    const int sy = from.y() < to.y() ? 1 : -1;
    int err = dx - dy;
    QPoint p = from;
    while (p != to) {
        pixels.push_back(p);
        const int e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            p.rx() += sx;
        }
        if (e2 < dx) {
            err += dx;
            p.ry() += sy;
        }
    }
    return pixels;
}

void drawSortArrow(QPainter& painter, const QRect& rect, SortArrow arrow, const HeaderPens& pens) {
    if (arrow == SortArrow::None)
        return;
    // Right and bottom as exclusive edges, the quarter height as the arrow's unit.
    const int r = rect.x() + rect.width();
    const int b = rect.y() + rect.height();
    const int q = rect.height() / kQuarter;
    if (arrow == SortArrow::Ascending) {
        plotPolyline(painter, {{r - 2 * q, q}, {r - q, b - q - 1}, {r - 3 * q - 2, b - q - 1}},
                     pens.light);
        plotPolyline(painter, {{r - 3 * q - 1, b - q - 1}, {r - 2 * q, q - 1}}, pens.dark);
    } else {
        plotPolyline(painter, {{r - q - 1, q}, {r - 2 * q - 1, b - q}}, pens.light);
        plotPolyline(painter, {{r - 2 * q - 2, b - q}, {r - 3 * q - 1, q}, {r - q - 1, q}},
                     pens.dark);
    }
}

void drawHeadingFace(QPainter& painter, const HeadingLook& heading, const HeaderPens& pens) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(heading.rect);
    painter.fillRect(heading.rect, colorFromRef(kHeaderFaceColour));
    const QString text = heading.text.left(kHeaderMaxTextChars);
    const int q = heading.rect.height() / kQuarter;
    QRect textRect = heading.rect.adjusted(q, 0, -q, 0);
    if (heading.pressed)
        textRect.translate(kHeaderPressedTextShift);
    if (!text.isEmpty()) {
        painter.drawText(textRect,
                         horizontalAlignment(heading.alignment) | Qt::AlignVCenter |
                             Qt::TextSingleLine | Qt::TextDontClip,
                         text);
    }
    drawSortArrow(painter, heading.rect, heading.arrow, pens);
    painter.restore();
}

} // namespace morvik
