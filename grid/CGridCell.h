#pragma once
// One cell of the grid. The grid owns one of these per cell; callers reach them through the
// grid's item operations.

#include "grid/GridTypes.h"

namespace morvik {

class CGridCell {
public:
    std::uint32_t state = 0;  // GridCellState flags
    std::uint32_t format = 0; // GridFormat flags
    QString text;
    int image = -1; // index into the grid's image list, -1 = none
    GridColour backColour = kDefaultColour;
    GridColour textColour = kDefaultColour;
    QFont font;
    qintptr data = 0; // the caller's value
};

} // namespace morvik
