#pragma once
// The mouse state machine of the grid. A press decides the gesture (one of the grid's mouse
// modes) through one hit test; moves and the release act on the gesture running. It also
// runs the automatic scrolling of a selection dragged past the edge and turns the wheel
// into scroll steps.

#include "grid/GridSelection.h"

#include <QBasicTimer>
#include <QPoint>
#include <QRect>

class QMouseEvent;
class QWheelEvent;

namespace morvik {

class CGridCtrl;

class GridMouse {
public:
    static constexpr int kResizeCaptureRange = 3;  // pixels either side of a divider
    static constexpr int kAutoScrollInterval = 25; // milliseconds

    explicit GridMouse(CGridCtrl& grid) : m_grid(grid) {}

    int mode = 0; // CGridCtrl::MouseMode
    // The inverted bar of a row or column being sized; empty when none.
    QRect sizingBar;

    void press(QMouseEvent* e);
    void move(QMouseEvent* e);
    void release(QMouseEvent* e);
    void doubleClick(QMouseEvent* e);
    void wheel(QWheelEvent* e);
    // The auto-scroll timer fired; false for another timer.
    bool timer(int timerId);
    // The button's gesture is over without its release: a modal window took the mouse, the
    // focus went elsewhere, or the pointer came back with no button held. The grid returns
    // to idle so that the next key starts an edit again.
    void lose();
    bool inButtonGesture() const;
    // Extends the selection of the running selection gesture to the cell.
    void extendSelection(const CCellID& cell);

private:
    // The divider mode at a point: over a row divider, a column divider, or idle.
    int dividerAt(const QPoint& p) const;
    // The line whose divider is under the point (the previous one near its start edge);
    // its start edge goes to *edge.
    int sizedIndexAt(const QPoint& p, Qt::Orientation o, int* edge) const;
    QRect barAt(const QPoint& p) const;
    void beginSizing(const QPoint& p, Qt::Orientation o);
    void pressOnCells(QMouseEvent* e);
    void updateCursor();
    void setSizingBar(const QRect& bar);

    CGridCtrl& m_grid;
    QPoint m_downPoint;
    CCellID m_downCell;
    QBasicTimer m_autoScroll;
    Qt::Orientation m_sizing = Qt::Horizontal;
    int m_sizingIndex = -1;
    int m_sizingEdge = 0; // start edge of the line being sized
    // Counts the times the grid lost the mouse, so a press can tell that a modal window came
    // and went while it gave the grid the focus.
    int m_losses = 0;
    int m_wheelRemainder = 0; // wheel angle not yet turned into lines or pages
};

} // namespace morvik
