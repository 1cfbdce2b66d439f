// Key codes, key actions and end-of-edit records shared by the grid and its editors.
#include "grid/GridNavigation.h"

#include <iterator>

namespace morvik {

namespace {

struct KeyCode {
    int qt;
    int grid;
};

// The navigation keys come first: the editors end on them.
constexpr KeyCode kKeyCodes[] = {
    {Qt::Key_PageUp, KeyPageUp}, {Qt::Key_PageDown, KeyPageDown}, {Qt::Key_Left, KeyLeft},
    {Qt::Key_Up, KeyUp},         {Qt::Key_Right, KeyRight},       {Qt::Key_Down, KeyDown},
    {Qt::Key_Tab, KeyTab},       {Qt::Key_Backtab, KeyTab},       {Qt::Key_End, KeyEnd},
    {Qt::Key_Home, KeyHome},     {Qt::Key_Delete, KeyDelete},
};
constexpr int kNavigationKeyCodes = 6;

int lookUp(int qtKey, int entries) {
    for (int i = 0; i < entries; ++i)
        if (kKeyCodes[i].qt == qtKey)
            return kKeyCodes[i].grid;
    return 0;
}

} // namespace

int navigationKeyOf(int qtKey) {
    return lookUp(qtKey, kNavigationKeyCodes);
}

int gridKeyOf(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return qtKey; // letters share their codes with the upper-case characters
    return lookUp(qtKey, int(std::size(kKeyCodes)));
}

GridAction gridActionOf(int gridKey, Qt::KeyboardModifiers mods) {
    if (mods & Qt::ControlModifier) {
        switch (gridKey) {
        case 'A':
            return GridAction::SelectAll;
        case 'C':
            return GridAction::Copy;
        case 'V':
            return GridAction::Paste;
        case 'X':
            return GridAction::Cut;
        default:
            break;
        }
    }
    switch (gridKey) {
    case KeyTab:
        return (mods & Qt::ShiftModifier) ? GridAction::PreviousCell : GridAction::NextCell;
    case KeyPageUp:
        return GridAction::PageUp;
    case KeyPageDown:
        return GridAction::PageDown;
    case KeyEnd:
        return GridAction::Bottom;
    case KeyHome:
        return GridAction::Top;
    case KeyLeft:
        return GridAction::Left;
    case KeyUp:
        return GridAction::Up;
    case KeyRight:
        return GridAction::Right;
    case KeyDown:
        return GridAction::Down;
    case KeyDelete:
        return GridAction::ClearCell;
    default:
        return GridAction::None;
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
