#pragma once
// What a key does in the grid. A key press first becomes one of these actions; a movement
// then gives the cell it leads to, and the grid applies that cell in one place (select,
// focus, scroll). Clipboard actions go to the grid's clipboard commands.

#include "grid/GridTypes.h"

namespace morvik {

enum class GridAction {
    None,
    NextCell,     // Tab: right, wrapping to the next row before the last column
    PreviousCell, // Shift+Tab: left, wrapping to the last column of the row above
    PageUp,
    PageDown,
    Bottom, // End
    Top,    // Home
    Left,
    Up,
    Right,
    Down,
    ClearCell, // Delete
    SelectAll, // Ctrl+A
    Copy,      // Ctrl+C
    Paste,     // Ctrl+V
    Cut,       // Ctrl+X
};

// The action of a key in the grid's numbering (GridKey; letters by their upper-case code).
GridAction gridActionOf(int gridKey, Qt::KeyboardModifiers mods);

// The grid's code of a Qt key: the navigation keys, Tab (Backtab too), End, Home, Delete
// and the letters; 0 for keys the grid has no use for.
int gridKeyOf(int qtKey);

// Tab and the keys from Page Up to Down: the grid keeps them whether they moved anything.
inline bool isNavigationKey(int gridKey) {
    return gridKey == KeyTab || (gridKey >= KeyPageUp && gridKey <= KeyDown);
}

// Where a movement leads, and whether it wrapped to another row.
struct CursorMove {
    CCellID target;
    bool wrap = false;
};

} // namespace morvik
