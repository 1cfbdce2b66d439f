#pragma once
// The list's own copy of one row: the text of every cell, which sorting reads, and the
// colours each cell is drawn in. All three arrays are sized by the list's column count at
// the time the row was added.
#include "controls/ColorRef.h"

#include <QString>
#include <vector>

namespace morvik {

struct ListRowData {
    std::vector<QString> texts;
    std::vector<ColorRef> textColours;
    std::vector<ColorRef> backColours;
};

} // namespace morvik
