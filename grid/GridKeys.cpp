// Key codes, key actions and the end of an edit, shared by the grid and its editors.
#include "grid/CGridCtrl.h"
#include "grid/GridNavigation.h"
#include "grid/InPlaceEditorLink.h"

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
    static const struct {
        int key;
        bool ctrl; // the action needs Ctrl held
        GridAction action;
    } kActions[] = {
        {'A', true, GridAction::SelectAll},
        {'C', true, GridAction::Copy},
        {'V', true, GridAction::Paste},
        {'X', true, GridAction::Cut},
        {KeyPageUp, false, GridAction::PageUp},
        {KeyPageDown, false, GridAction::PageDown},
        {KeyEnd, false, GridAction::Bottom},
        {KeyHome, false, GridAction::Top},
        {KeyLeft, false, GridAction::Left},
        {KeyUp, false, GridAction::Up},
        {KeyRight, false, GridAction::Right},
        {KeyDown, false, GridAction::Down},
        {KeyDelete, false, GridAction::ClearCell},
    };
    if (gridKey == KeyTab)
        return (mods & Qt::ShiftModifier) ? GridAction::PreviousCell : GridAction::NextCell;
    const bool ctrl = mods & Qt::ControlModifier;
    for (const auto& a : kActions)
        if (a.key == gridKey && (ctrl || !a.ctrl))
            return a.action;
    return GridAction::None;
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

void InPlaceEditorLink::handBack(int key, Qt::KeyboardModifiers mods) {
    lastKey = key;
    endModifiers = mods;
    if (grid)
        grid->setFocus(Qt::OtherFocusReason);
}

bool InPlaceEditorLink::startEnding() {
    if (ended)
        return false;
    ended = true;
    return true;
}

void InPlaceEditorLink::report(QWidget* editor, const QString& text) {
    const GridEditResult result = endEditResult(id, row, col, text, lastKey);
    editor->hide();
    editor->deleteLater();
    if (grid)
        grid->onInPlaceEditEnd(result, endModifiers);
}

} // namespace morvik
