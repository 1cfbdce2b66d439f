#pragma once
// The horizontal part of a heading's alignment, which the list cells and the header
// both take from the heading format.

#include <Qt>

inline Qt::Alignment horizontalAlignment(Qt::Alignment a) {
    if (a & Qt::AlignHCenter)
        return Qt::AlignHCenter;
    if (a & Qt::AlignRight)
        return Qt::AlignRight;
    return Qt::AlignLeft;
}
