#pragma once
// The typing of one visit to a text field or a reading cell's editor belongs to that field
// until the visit ends: Ctrl+Z and Ctrl+Y take it back there before they reach the data
// set's history.

class QWidget;

namespace morvik {

// Takes back (or restores, `redo`) typing in `field` when it is a text field or a cell
// editor that holds some; false when there is none and the key is the data set's.
bool undoTypingInField(QWidget* field, bool redo);

// The focus left `field`: its own undo forgets the visit, whose typing is a step of the data
// set's history now.
void forgetTypingInField(QWidget* field);

// Whether a cell editor of `grid` is open.
bool cellEditorOpen(const QWidget& grid);

} // namespace morvik
