#pragma once
// What the member list tells its owner when a row's state changes. The state of a row is a
// set of bits: the selected and focused states, and its check mark, which is always
// exactly one of kListUnchecked and kListChecked.
#include <QMetaType>

namespace morvik {

inline constexpr unsigned kListFocused = 0x0001;
inline constexpr unsigned kListSelected = 0x0002;
inline constexpr unsigned kListUnchecked = 0x1000;
inline constexpr unsigned kListChecked = 0x2000;
inline constexpr unsigned kListCheckMask = 0xF000;

struct ListItemChange {
    int row = -1;
    unsigned oldState = 0;
    unsigned newState = 0;

    // The row has just gained the selected state (a selection change, not a check change).
    bool becameSelected() const {
        return (newState & kListSelected) && !(oldState & kListSelected);
    }
    bool becameDeselected() const {
        return (oldState & kListSelected) && !(newState & kListSelected);
    }
    // The check mark went from clear to ticked or from ticked to clear.
    bool checkChanged() const { return (oldState & kListCheckMask) != (newState & kListCheckMask); }
    bool isChecked() const { return (newState & kListCheckMask) == kListChecked; }
};

// Whether a programmatic change of the list tells the owner about itself.
enum class ListNotify { Send, Quiet };

} // namespace morvik

Q_DECLARE_METATYPE(morvik::ListItemChange)
