#include "app/ScreenFit.h"

#include <algorithm>

namespace morvik {

QRect fitClientArea(QSize page, QMargins frame, QRect available, QRect now, int scrollBar) {
    const int roomW = std::max(1, available.width() - frame.left() - frame.right());
    const int roomH = std::max(1, available.height() - frame.top() - frame.bottom());
    if (page.width() <= roomW && page.height() <= roomH)
        return QRect(now.topLeft(), page);

    int w = page.width();
    int h = page.height();
    // A vertical scroll bar widens the window, which may then need a horizontal one.
    const bool scrollsDown = h > roomH;
    if (scrollsDown) {
        h = roomH;
        w += scrollBar;
    }
    if (w > roomW) {
        w = roomW;
        if (!scrollsDown)
            h = std::min(h + scrollBar, roomH);
    }
    // The frame's top-left corner is kept inside the screen before the bottom-right, so
    // the title bar always stays in reach.
    const int minX = available.left() + frame.left();
    const int minY = available.top() + frame.top();
    const int x = std::max(minX, std::min(now.x(), minX + roomW - w));
    const int y = std::max(minY, std::min(now.y(), minY + roomH - h));
    return QRect(x, y, w, h);
}

} // namespace morvik
