// The mouse: click to focus, prepare-edit on the focus cell, selection drags with automatic
// scrolling, divider hit tests and row/column sizing, the wheel, and list-mode sorting by a
// heading click.
#include "grid/GridMouse.h"
#include "grid/CGridCtrl.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QWheelEvent>

namespace morvik {

namespace {
constexpr int kWheelNotch = 120;
constexpr int kSizingBarWidth = 2;

int along(const QPoint& p, Qt::Orientation o) {
    return o == Qt::Horizontal ? p.x() : p.y();
}
int startOf(const QRect& r, Qt::Orientation o) {
    return o == Qt::Horizontal ? r.left() : r.top();
}
int endOf(const QRect& r, Qt::Orientation o) {
    return o == Qt::Horizontal ? r.right() : r.bottom();
}
int indexOf(const CCellID& c, Qt::Orientation o) {
    return o == Qt::Horizontal ? c.col : c.row;
}
} // namespace

bool GridMouse::inButtonGesture() const {
    switch (mode) {
    case CGridCtrl::MouseSelectAll:
    case CGridCtrl::MouseSelectColumns:
    case CGridCtrl::MouseSelectRows:
    case CGridCtrl::MouseSelectCells:
    case CGridCtrl::MouseSizingRow:
    case CGridCtrl::MouseSizingColumn:
    case CGridCtrl::MousePrepareEdit:
    case CGridCtrl::MousePrepareDrag:
        return true;
    default:
        return false;
    }
}

void GridMouse::extendSelection(const CCellID& cell) {
    static const std::pair<int, SelectionSpan> kSpans[] = {
        {CGridCtrl::MouseSelectAll, SelectionSpan::All},
        {CGridCtrl::MouseSelectColumns, SelectionSpan::Columns},
        {CGridCtrl::MouseSelectRows, SelectionSpan::Rows},
        {CGridCtrl::MouseSelectCells, SelectionSpan::Cells},
    };
    for (const auto& [selecting, span] : kSpans)
        if (mode == selecting)
            m_grid.setSpan(span, cell);
}

// A column divider is hit only in the heading rows, a row divider only in the heading
// columns: within the capture range of a cell's start edge (not that of the first line) or
// of its end edge.
int GridMouse::dividerAt(const QPoint& p) const {
    auto near = [&](Qt::Orientation o) {
        const CCellID id = m_grid.cellFromPoint(p, true);
        QRect rect;
        if (!m_grid.isValid(id) || !m_grid.cellRect(id.row, id.col, &rect))
            return false;
        const int at = along(p, o);
        return (at - startOf(rect, o) <= kResizeCaptureRange && indexOf(id, o) != 0) ||
               endOf(rect, o) - at <= kResizeCaptureRange;
    };
    if (m_grid.m_allowColResize && p.y() < m_grid.fixedRowHeight() && near(Qt::Horizontal))
        return CGridCtrl::MouseOverColumnDivider;
    if (m_grid.m_allowRowResize && p.x() < m_grid.fixedColumnWidth() && near(Qt::Vertical))
        return CGridCtrl::MouseOverRowDivider;
    return CGridCtrl::MouseIdle;
}

int GridMouse::sizedIndexAt(const QPoint& p, Qt::Orientation o, int* edge) const {
    const CCellID id = m_grid.cellFromPoint(p, true);
    QRect rect;
    if (!m_grid.isValid(id) || !m_grid.cellRect(id.row, id.col, &rect))
        return -1;
    int index = indexOf(id, o);
    int start = startOf(rect, o);
    if (along(p, o) - start <= kResizeCaptureRange && index > 0) {
        --index;
        start -= m_grid.axis(o).size(index);
    }
    *edge = start;
    return index;
}

QRect GridMouse::barAt(const QPoint& p) const {
    const QRect client = m_grid.viewport()->rect();
    const int at = std::max(along(p, m_sizing), m_sizingEdge);
    return m_sizing == Qt::Horizontal ? QRect(at, 0, kSizingBarWidth, client.height())
                                      : QRect(0, at, client.width(), kSizingBarWidth);
}

void GridMouse::setSizingBar(const QRect& bar) {
    if (!sizingBar.isNull())
        m_grid.viewport()->update(sizingBar);
    sizingBar = bar;
    if (!bar.isNull())
        m_grid.viewport()->update(bar);
}

void GridMouse::updateCursor() {
    QWidget* vp = m_grid.viewport();
    switch (mode) {
    case CGridCtrl::MouseOverRowDivider:
    case CGridCtrl::MouseSizingRow:
        vp->setCursor(Qt::SizeVerCursor);
        break;
    case CGridCtrl::MouseOverColumnDivider:
    case CGridCtrl::MouseSizingColumn:
        vp->setCursor(Qt::SizeHorCursor);
        break;
    case CGridCtrl::MouseDragging:
        break;
    default:
        vp->setCursor(Qt::ArrowCursor);
        break;
    }
}

void GridMouse::lose() {
    ++m_losses;
    m_autoScroll.stop();
    if (!inButtonGesture())
        return;
    setSizingBar(QRect());
    mode = CGridCtrl::MouseIdle;
    updateCursor();
}

void GridMouse::beginSizing(const QPoint& p, Qt::Orientation o) {
    m_sizing = o;
    m_sizingIndex = sizedIndexAt(p, o, &m_sizingEdge);
    mode = o == Qt::Horizontal ? CGridCtrl::MouseSizingColumn : CGridCtrl::MouseSizingRow;
    setSizingBar(barAt(p));
}

void GridMouse::press(QMouseEvent* e) {
    if (e->button() == Qt::RightButton) {
        m_grid.setFocus(Qt::MouseFocusReason);
        return;
    }
    if (e->button() != Qt::LeftButton)
        return;
    const QPoint pos = e->position().toPoint();
    const bool hadFocus = m_grid.hasFocus();
    m_downPoint = pos;
    m_downCell = m_grid.cellFromPoint(pos, true);
    if (!m_grid.isValid(m_downCell))
        return;
    GridSelection& sel = m_grid.m_sel;
    sel.start = (e->modifiers() & Qt::ShiftModifier) ? sel.focus : m_downCell;
    // Taking the focus ends a running edit, and the owner may refuse its value with a modal
    // message box that swallows this press's release: then the press is dropped.
    const int lossesBefore = m_losses;
    m_grid.setFocus(Qt::MouseFocusReason);
    if (m_losses != lossesBefore) {
        lose();
        return;
    }
    if (m_downCell == sel.focus) {
        mode = CGridCtrl::MousePrepareEdit;
        return;
    }
    if (mode != CGridCtrl::MouseOverColumnDivider && mode != CGridCtrl::MouseOverRowDivider) {
        m_grid.setFocusCell(-1, -1);
        m_grid.setFocusCell(std::max(m_downCell.row, m_grid.fixedRowCount()),
                            std::max(m_downCell.col, m_grid.fixedColumnCount()));
    }
    if (m_grid.m_allowDragAndDrop && hadFocus &&
        (m_grid.itemState(m_downCell.row, m_downCell.col) & CellSelected)) {
        mode = CGridCtrl::MousePrepareDrag;
        return;
    }
    if (mode == CGridCtrl::MouseIdle) {
        const int divider = dividerAt(pos);
        if (divider != CGridCtrl::MouseIdle)
            mode = divider;
        updateCursor();
    }
    if (mode == CGridCtrl::MouseOverColumnDivider)
        beginSizing(pos, Qt::Horizontal);
    else if (mode == CGridCtrl::MouseOverRowDivider)
        beginSizing(pos, Qt::Vertical);
    else
        pressOnCells(e);
}

void GridMouse::pressOnCells(QMouseEvent* e) {
    GridSelection& sel = m_grid.m_sel;
    sel.forgetPrevious();
    if (e->modifiers() & Qt::ControlModifier)
        sel.rememberCurrent();
    if (m_downCell.row < m_grid.fixedRowCount()) {
        m_grid.onFixedRowClick(m_downCell);
    } else if (m_downCell.col < m_grid.fixedColumnCount()) {
        m_grid.onFixedColumnClick(m_downCell);
    } else {
        mode = m_grid.m_listMode ? CGridCtrl::MouseSelectRows : CGridCtrl::MouseSelectCells;
        extendSelection(m_downCell);
    }
    m_autoScroll.start(kAutoScrollInterval, &m_grid);
}

void GridMouse::move(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (!m_grid.viewport()->rect().contains(pos) && mode != CGridCtrl::MouseDragging)
        return;
    const bool leftHeld = e->buttons() & Qt::LeftButton;
    if (!leftHeld || mode == CGridCtrl::MouseIdle) {
        if (!leftHeld) {
            if (inButtonGesture())
                lose(); // the release went to another window
            const int divider = dividerAt(pos);
            if (divider != CGridCtrl::MouseIdle)
                mode = divider;
            else if (mode == CGridCtrl::MouseOverColumnDivider ||
                     mode == CGridCtrl::MouseOverRowDivider)
                mode = CGridCtrl::MouseIdle;
            updateCursor();
        }
        if (mode == CGridCtrl::MouseIdle && m_grid.m_titleTips)
            m_grid.offerTitleTip(pos);
        return;
    }
    if (!m_grid.isValid(m_downCell))
        return;
    switch (mode) {
    case CGridCtrl::MouseSelectColumns:
    case CGridCtrl::MouseSelectRows:
    case CGridCtrl::MouseSelectCells: {
        const CCellID id = m_grid.cellFromPoint(pos, true);
        if (m_grid.isValid(id) && id != m_grid.focusCell()) {
            extendSelection(id);
            if (id.row >= m_grid.fixedRowCount() && id.col >= m_grid.fixedColumnCount())
                m_grid.setFocusCell(id);
        }
        break;
    }
    case CGridCtrl::MouseSizingColumn:
    case CGridCtrl::MouseSizingRow:
        setSizingBar(barAt(pos));
        break;
    case CGridCtrl::MousePrepareDrag:
        m_grid.startDrag();
        break;
    default:
        break;
    }
}

void GridMouse::release(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    const QPoint pos = e->position().toPoint();
    m_autoScroll.stop();
    switch (mode) {
    case CGridCtrl::MousePrepareEdit:
        m_grid.beginCellEdit(m_grid.focusCell().row, m_grid.focusCell().col, KeyLeftButton);
        break;
    case CGridCtrl::MousePrepareDrag:
        m_grid.resetSelectedRange();
        break;
    case CGridCtrl::MouseSizingColumn:
    case CGridCtrl::MouseSizingRow:
        setSizingBar(QRect());
        if (pos != m_downPoint && m_sizingIndex >= 0) {
            const int size = std::max(along(pos, m_sizing), m_sizingEdge) - m_sizingEdge;
            (m_sizing == Qt::Horizontal ? m_grid.m_store.columns() : m_grid.m_store.rows())
                .setSize(m_sizingIndex, size);
            m_grid.resetScrollBars();
            m_grid.viewport()->update();
        }
        break;
    default:
        break;
    }
    mode = CGridCtrl::MouseIdle;
    updateCursor();
    if (m_grid.isValid(m_downCell)) {
        CGridCtrl* grid = &m_grid;
        QMetaObject::invokeMethod(
            grid, [grid] { emit grid->command(grid->controlId()); }, Qt::QueuedConnection);
    }
}

void GridMouse::doubleClick(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    const QPoint pos = e->position().toPoint();
    if (mode == CGridCtrl::MouseOverColumnDivider || mode == CGridCtrl::MouseOverRowDivider) {
        const Qt::Orientation o =
            mode == CGridCtrl::MouseOverColumnDivider ? Qt::Horizontal : Qt::Vertical;
        int edge = 0;
        const int index = sizedIndexAt(pos, o, &edge);
        if (index >= 0)
            m_grid.autoSize(o, index);
        m_grid.viewport()->update();
    } else if (mode == CGridCtrl::MouseIdle) {
        const int fixedRows = m_grid.fixedRowCount();
        const int fixedCols = m_grid.fixedColumnCount();
        if (m_grid.isValid(m_downCell) && m_downCell.row >= fixedRows &&
            m_downCell.col >= fixedCols) {
            m_grid.beginCellEdit(m_grid.focusCell().row, m_grid.focusCell().col, KeyLeftButton);
        } else if (m_grid.m_listMode) {
            const CCellID id = m_grid.cellFromPoint(pos, true);
            if (m_grid.isValid(id) && id.col < fixedCols && id.row >= fixedRows)
                m_grid.beginCellEdit(id.row, id.col, KeyLeftButton);
        }
    }
}

void GridMouse::wheel(QWheelEvent* e) {
    const int delta = e->angleDelta().y();
    // Touchpads and fine wheels send parts of a notch (15, 30 units): they add up until a
    // whole line or page is reached. Turning the other way starts afresh.
    if ((delta > 0 && m_wheelRemainder < 0) || (delta < 0 && m_wheelRemainder > 0))
        m_wheelRemainder = 0;
    const int perNotch = m_grid.rowsPerWheelNotch();
    const bool pages = perNotch == -1;
    // Lines are counted in notch units times lines per notch, so no fraction is lost.
    m_wheelRemainder += pages ? delta : perNotch * delta;
    const int steps = m_wheelRemainder / kWheelNotch;
    m_wheelRemainder -= steps * kWheelNotch;
    const auto code = steps > 0 ? (pages ? CGridCtrl::PageBack : CGridCtrl::LineBack)
                                : (pages ? CGridCtrl::PageForward : CGridCtrl::LineForward);
    CGridCtrl* grid = &m_grid;
    for (int i = 0; i < std::abs(steps); ++i)
        QMetaObject::invokeMethod(
            grid, [grid, code] { grid->scrollBy(Qt::Vertical, code); }, Qt::QueuedConnection);
    e->accept();
}

bool GridMouse::timer(int timerId) {
    if (timerId != m_autoScroll.timerId())
        return false;
    QWidget* vp = m_grid.viewport();
    const QPoint pos = vp->mapFromGlobal(QCursor::pos());
    const QRect client = vp->rect();
    const Qt::KeyboardModifiers mods = QGuiApplication::keyboardModifiers();
    const int x = std::clamp(pos.x(), 0, client.right());
    const int y = std::clamp(pos.y(), 0, client.bottom());
    const int fixedH = m_grid.fixedRowHeight();
    const int fixedW = m_grid.fixedColumnWidth();
    // One step towards the pointer, then the selection reaches the cell at the edge.
    auto step = [&](int key, const QPoint& edgeCell) {
        m_grid.handleKey(key, mods);
        extendSelection(m_grid.cellFromPoint(edgeCell, true));
    };
    if (pos.y() > client.bottom())
        step(KeyDown, QPoint(x, client.bottom()));
    else if (pos.y() < fixedH)
        step(KeyUp, QPoint(x, fixedH + 1));
    if (pos.x() > client.right())
        step(KeyRight, QPoint(client.right(), y));
    else if (pos.x() < fixedW)
        step(KeyLeft, QPoint(fixedW + 1, y));
    return true;
}

// --- the grid's side of the mouse ----------------------------------------------------------

int CGridCtrl::mouseMode() const {
    return m_mouse->mode;
}

void CGridCtrl::mousePressEvent(QMouseEvent* e) {
    m_mouse->press(e);
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* e) {
    m_mouse->move(e);
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* e) {
    m_mouse->release(e);
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* e) {
    m_mouse->doubleClick(e);
}

void CGridCtrl::wheelEvent(QWheelEvent* e) {
    m_mouse->wheel(e);
}

void CGridCtrl::timerEvent(QTimerEvent* e) {
    if (!m_mouse->timer(e->timerId()))
        QAbstractScrollArea::timerEvent(e);
}

void CGridCtrl::focusOutEvent(QFocusEvent* e) {
    QAbstractScrollArea::focusOutEvent(e);
    if (e->reason() != Qt::PopupFocusReason)
        m_mouse->lose();
}

void CGridCtrl::onFixedRowClick(const CCellID& cell) {
    if (!m_listMode) {
        m_mouse->mode = cell.col < fixedColumnCount() ? MouseSelectAll : MouseSelectColumns;
        m_mouse->extendSelection(cell);
        return;
    }
    if (!m_sortOnClick)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (cell.col == m_sortColumn) {
        m_ascending = !m_ascending;
    } else {
        m_ascending = true;
        m_sortColumn = cell.col;
    }
    resetSelectedRange();
    m_store.sortRows(cell.col, m_ascending, fixedRowCount(), rowCount() - 1);
    QApplication::restoreOverrideCursor();
    viewport()->update();
}

void CGridCtrl::onFixedColumnClick(const CCellID& cell) {
    m_mouse->mode = cell.row < fixedRowCount() ? MouseSelectAll : MouseSelectRows;
    m_mouse->extendSelection(cell);
}

} // namespace morvik
