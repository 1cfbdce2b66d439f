#include "app/KeyboardFilter.h"

#include "app/DialogIds.h"
#include "app/FieldUndo.h"

#include <QCursor>
#include <QKeyEvent>
#include <QWidget>
#include <array>

namespace morvik {

namespace {

constexpr std::array<Accelerator, 11> kAccelerators{{
    {Qt::Key_D, Qt::ControlModifier, kCmdDeleteMembers},
    {Qt::Key_I, Qt::ControlModifier, kCmdAddMember},
    {Qt::Key_A, Qt::ControlModifier, kCmdToggleAllChecks},
    {Qt::Key_N, Qt::ControlModifier, kIdNewFile},
    {Qt::Key_O, Qt::ControlModifier, kIdOpen},
    {Qt::Key_S, Qt::ControlModifier, kIdSave},
    {Qt::Key_Delete, Qt::NoModifier, kCmdDeleteMembers},
    {Qt::Key_Insert, Qt::NoModifier, kCmdAddMember},
    {Qt::Key_Z, Qt::ControlModifier, kCmdUndo},
    {Qt::Key_Y, Qt::ControlModifier, kCmdRedo},
    {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, kCmdRedo},
}};

// Characters up to this code (Backspace 8 and Tab 9 among them) pass the grid filter.
constexpr char16_t kLastPassingControlCode = 9;

bool isInside(const QWidget* widget, const QWidget& ancestor) {
    return widget && (widget == &ancestor || ancestor.isAncestorOf(widget));
}

} // namespace

int acceleratorCommand(int key, Qt::KeyboardModifiers modifiers) {
    // The keypad flag only says where the key sits.
    modifiers &= ~Qt::KeypadModifier;
    for (const Accelerator& a : kAccelerators)
        if (a.key == key && a.modifiers == modifiers)
            return a.command;
    return 0;
}

bool passesReadingGridFilter(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.isEmpty())
        return true; // a key that types nothing
    // Ctrl with a letter types a control code but is a key combination (copy, paste).
    if (event.modifiers() & Qt::ControlModifier)
        return true;
    const char16_t ch = text.at(0).unicode();
    return (ch >= u'0' && ch <= u'9') || ch == u'-' || ch == u'.' || ch <= kLastPassingControlCode;
}

MainDialogKeyFilter::MainDialogKeyFilter(QWidget& dialog, QWidget& grid, QWidget& list,
                                         std::function<void(int)> runCommand)
    : dialog_(dialog), grid_(grid), list_(list), runCommand_(std::move(runCommand)),
      pointer_([] { return QCursor::pos(); }) {}

void MainDialogKeyFilter::setPointerPosition(std::function<QPoint()> where) {
    pointer_ = where ? std::move(where) : [] { return QCursor::pos(); };
}

bool MainDialogKeyFilter::pointerOverGrid() const {
    const QRect area(grid_.mapToGlobal(QPoint(0, 0)), grid_.size());
    return grid_.isVisible() && area.contains(pointer_());
}

bool MainDialogKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* receiver = static_cast<QWidget*>(watched);
    if (receiver->window() != &dialog_)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);

    if (const int command = acceleratorCommand(key->key(), key->modifiers())) {
        // Typing not yet ended in a field is taken back there first.
        if ((command == kCmdUndo || command == kCmdRedo) &&
            undoTypingInField(receiver, command == kCmdRedo))
            return true;
        runCommand_(command);
        return true;
    }
    if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
        runCommand_(kIdAboutBox);
        return true;
    }
    // Only typing that goes into the grid is filtered: with the focus in a field, the
    // pointer merely resting over the grid must not swallow what the inspector types.
    if (isInside(receiver, grid_) && pointerOverGrid() && !passesReadingGridFilter(*key))
        return true;
    // Ctrl+Enter stays with the multi-line fields, where it breaks the line.
    const bool enter = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                       !(key->modifiers() & Qt::ControlModifier);
    if (enter && !isInside(receiver, grid_) && !isInside(receiver, list_))
        return true;
    return false;
}

} // namespace morvik
