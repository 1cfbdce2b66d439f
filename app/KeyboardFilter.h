#pragma once
// The keyboard handling of the main dialog, applied to every event before any widget of
// the dialog's own window sees it (message boxes and other dialogs keep their keys):
//   1. the accelerators (Ctrl+D / Delete, Ctrl+I / Insert, Ctrl+A, Ctrl+N, Ctrl+O, Ctrl+S,
//      Ctrl+Z, Ctrl+Y / Ctrl+Shift+Z) and F1 run their command wherever the focus is, also
//      inside an edit field; only typing not yet ended in a field takes Ctrl+Z and Ctrl+Y;
//   2. while the reading grid or its cell editor has the focus and the mouse pointer lies
//      over the grid, a typed character other than '0'-'9', '-', '.', Backspace or Tab is
//      dropped (Enter and Esc included); keys that type no character pass;
//   3. Enter ends nothing: outside the grid and the member list, which use it themselves,
//      it is dropped (Ctrl+Enter passes: it breaks a line in a multi-line field).
#include <QObject>
#include <QPoint>
#include <Qt>
#include <functional>

class QKeyEvent;
class QWidget;

namespace morvik {

struct Accelerator {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int command;
};

// The command of a key press in the accelerator table, or 0.
int acceleratorCommand(int key, Qt::KeyboardModifiers modifiers);

// Whether a typed character may reach the reading grid while the pointer is over it.
bool passesReadingGridFilter(const QKeyEvent& event);

class MainDialogKeyFilter : public QObject {
    Q_OBJECT
public:
    // `dialog` is the main dialog, `grid` the reading grid and `list` the member list inside
    // it; `runCommand` receives the command ids.
    MainDialogKeyFilter(QWidget& dialog, QWidget& grid, QWidget& list,
                        std::function<void(int)> runCommand);

    void setPointerPosition(std::function<QPoint()> where);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool pointerOverGrid() const;

    QWidget& dialog_;
    QWidget& grid_;
    QWidget& list_;
    std::function<void(int)> runCommand_;
    std::function<QPoint()> pointer_;
};

} // namespace morvik
