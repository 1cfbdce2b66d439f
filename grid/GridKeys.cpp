// Key codes and end-of-edit records shared by the grid and its editors.
#include "grid/GridTypes.h"

namespace morvik {

int navigationKeyOf(int qtKey) {
    switch (qtKey) {
    case Qt::Key_PageUp:
        return KeyPageUp;
    case Qt::Key_PageDown:
        return KeyPageDown;
    case Qt::Key_Left:
        return KeyLeft;
    case Qt::Key_Up:
        return KeyUp;
    case Qt::Key_Right:
        return KeyRight;
    case Qt::Key_Down:
        return KeyDown;
    default:
        return 0;
    }
}

GridEditResult endEditResult(int id, int row, int col, const QString& text, int lastKey) {
    GridEditResult result;
    result.idFrom = id;
    result.code = GridEndEdit;
    result.item.row = row;
    result.item.col = col;
    result.item.mask = ItemText | ItemData;
    result.item.text = text;
    result.item.data = lastKey;
    return result;
}

} // namespace morvik
