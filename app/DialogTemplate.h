#pragma once
// The controls of the main dialog in template order, with their places in dialog units.
// The dialog creates its widgets from this table; nothing else reads it.
#include <vector>

namespace morvik {

// Client size of the dialog in dialog units.
inline constexpr int kMainDialogWidthDu = 440;
inline constexpr int kMainDialogHeightDu = 441;
// The dialog font: 宋体 9 pt.
inline constexpr int kMainDialogFontPoints = 9;

enum class TemplateKind {
    Edit,          // single line
    MultiLineEdit, // Enter breaks no line
    NumberEdit,    // centred, digits only
    ResultEdit,    // centred, read-only
    DatePicker,
    DropDownList,
    GroupBox,
    ReadingGrid,
    Button, // owner-drawn
    HiddenButton,
    CheckBox,
    MemberList,
    Label,
    RightLabel,
};

struct TemplateControl {
    int id; // 0 for a static control without an id
    TemplateKind kind;
    const char* caption; // UTF-8
    int x, y, w, h;      // dialog units
    int buddy = 0;       // a label: the id of the field it names
};

const std::vector<TemplateControl>& mainDialogTemplate();

// The fields that take the focus by Tab, in order.
const std::vector<int>& mainDialogTabOrder();

// The controls Tab reaches after those fields, in their order on screen (top to bottom,
// left to right), so that the whole dialog can be worked without a mouse: 批检测, the
// member list, the reading grid (which keeps Tab for its cells; Ctrl+Tab leaves it) and
// the visible buttons.
const std::vector<int>& mainDialogKeyboardStops();

// Text limits of the edit fields, in characters.
int editCharacterLimit(int id);

} // namespace morvik
