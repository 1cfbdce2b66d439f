#pragma once
// The plain records of the grid control: cell identifiers and ranges, the item descriptor
// through which callers read and write a cell, the notification records sent to the owner,
// and the colour and text-format encodings the cells store.

#include "controls/ColorRef.h"

#include <QByteArray>
#include <QFont>
#include <QString>
#include <QtGlobal>
#include <cstdint>

namespace morvik {

// Colours are stored as 0x00BBGGRR values, as in the data the program keeps.
using GridColour = ColorRef;
// A cell colour equal to this marker means "use the control's default colour".
constexpr GridColour kDefaultColour = 0xFF000000u;
constexpr GridColour kGridLineColour = 0xC0C0C0u;
constexpr GridColour colourRef(int r, int g, int b) {
    return GridColour(r & 0xFF) | (GridColour(g & 0xFF) << 8) | (GridColour(b & 0xFF) << 16);
}
inline QColor toQColor(GridColour c) {
    return colorFromRef(c);
}
inline GridColour fromQColor(const QColor& c) {
    return colorRefFrom(c);
}

// The clipboard and drag texts of the grid are GBK bytes.
QByteArray textToGbk(const QString& text);
QString gbkToText(const QByteArray& bytes); // stops at the first zero byte

// Cell text-format flags, in the encoding of the classic DrawText flags. Vertical
// alignment only applies to single-line formats, as in that encoding.
enum GridFormat : std::uint32_t {
    FormatLeft = 0x0000,
    FormatCentre = 0x0001,
    FormatRight = 0x0002,
    FormatVCentre = 0x0004,
    FormatBottom = 0x0008,
    FormatWordBreak = 0x0010,
    FormatSingleLine = 0x0020,
    FormatNoPrefix = 0x0800,
    FormatEndEllipsis = 0x8000,
};

// Cell state flags (combinable).
enum GridCellState : std::uint32_t {
    CellFocused = 0x01,
    CellSelected = 0x02,
    CellDropTarget = 0x04,
    CellReadOnly = 0x08,
    CellModified = 0x20,
};

// Which members of a GridItem are meant.
enum GridItemMask : std::uint32_t {
    ItemText = 0x01,
    ItemImage = 0x02,
    ItemData = 0x04,
    ItemState = 0x08,
    ItemBackColour = 0x10,
    ItemTextColour = 0x20,
    ItemFormat = 0x40,
    ItemFont = 0x80,
};

// Grid-line modes.
enum GridLineMode : int {
    GridLinesNone = 0,
    GridLinesHorizontal = 1,
    GridLinesVertical = 2,
    GridLinesBoth = 3,
};

// Notification codes sent to the owner (the values of the classic list-view codes).
constexpr int GridFocusLeaving = -100;
constexpr int GridFocusEntered = -101;
constexpr int GridBeginDrag = -109;
constexpr int GridBeginEdit = -175;
constexpr int GridEndEdit = -176;

// Key codes the grid and its editors exchange (the classic virtual-key numbering), and the
// pseudo first key that stands for a left-button click.
enum GridKey : int {
    KeyLeftButton = 1,
    KeyBackspace = 8,
    KeyTab = 9,
    KeyEnter = 13,
    KeyEscape = 27,
    KeySpace = 32,
    KeyPageUp = 33,
    KeyPageDown = 34,
    KeyEnd = 35,
    KeyHome = 36,
    KeyLeft = 37,
    KeyUp = 38,
    KeyRight = 39,
    KeyDown = 40,
    KeyDelete = 46,
};

// A cell: row then column. (-1, -1) is no cell.
struct CCellID {
    int row = -1;
    int col = -1;
    CCellID() = default;
    CCellID(int r, int c) : row(r), col(c) {}
    bool operator==(const CCellID& o) const { return row == o.row && col == o.col; }
    bool operator!=(const CCellID& o) const { return !(*this == o); }
};

// An inclusive rectangle of cells. Validity against a grid is checked by the grid.
struct CCellRange {
    int minRow = -1;
    int minCol = -1;
    int maxRow = -1;
    int maxCol = -1;
    bool contains(const CCellID& c) const {
        return c.row >= minRow && c.row <= maxRow && c.col >= minCol && c.col <= maxCol;
    }
};

// Several properties of one cell, read or written at once; mask says which are meant.
struct GridItem {
    int row = 0;
    int col = 0;
    std::uint32_t mask = 0;
    std::uint32_t state = 0;
    std::uint32_t format = 0;
    QString text;
    int image = -1;
    GridColour backColour = kDefaultColour;
    GridColour textColour = kDefaultColour;
    qintptr data = 0;
    QFont font;
};

class CGridCtrl;

// What the grid tells its owner: sender, the grid's control id, code, and the cell.
struct GridNotify {
    const CGridCtrl* sender = nullptr;
    int idFrom = 0;
    int code = 0;
    int row = -1;
    int col = -1;
};

// What an in-place editor reports when it ends: its id, code GridEndEdit, and an item with
// the cell, mask ItemText | ItemData, the final text and, as data, the key that ended it.
struct GridEditResult {
    int idFrom = 0;
    int code = GridEndEdit;
    GridItem item;
};

// The end-of-edit record of editor `id` for cell (row, col).
GridEditResult endEditResult(int id, int row, int col, const QString& text, int lastKey);

// The grid's code of a Qt navigation key (Page Up/Down and the arrows); 0 for any other
// key. The editors end on these, the grid moves its focus with them.
int navigationKeyOf(int qtKey);

} // namespace morvik

Q_DECLARE_METATYPE(morvik::GridNotify)
Q_DECLARE_METATYPE(morvik::CCellID)
