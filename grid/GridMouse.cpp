// Mouse handling: click to focus, prepare-edit on the focus cell, selection drags with
// automatic scrolling, divider hit tests and row/column sizing, the wheel, and list-mode
// sorting by a heading click. The mouse mode says which gesture is running.
#include "grid/CGridCtrl.h"

#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QWheelEvent>

namespace morvik {

namespace {
constexpr int kWheelNotch = 120;
constexpr int kSizingBarWidth = 2;
} // namespace

void CGridCtrl::extendSelection(const CCellID& cell) {
    switch (m_mouseMode) {
    case MouseSelectAll:
        selectAllCells();
        break;
    case MouseSelectColumns:
        selectColumns(cell);
        break;
    case MouseSelectRows:
        selectRows(cell);
        break;
    case MouseSelectCells:
        selectCells(cell);
        break;
    default:
        break;
    }
}

int CGridCtrl::mouseOverDivider(const QPoint& p) const {
    const int range = m_resizeCaptureRange;
    if (m_allowColResize && p.y() < fixedRowHeight()) {
        const CCellID id = cellFromPoint(p, true);
        QRect rect;
        if (isValid(id) && cellRect(id.row, id.col, &rect) &&
            ((p.x() - rect.left() <= range && id.col != 0) || rect.right() - p.x() <= range))
            return MouseOverColumnDivider;
    }
    if (m_allowRowResize && p.x() < fixedColumnWidth()) {
        const CCellID id = cellFromPoint(p, true);
        QRect rect;
        if (isValid(id) && cellRect(id.row, id.col, &rect) &&
            ((p.y() - rect.top() <= range && id.row != 0) || rect.bottom() - p.y() <= range))
            return MouseOverRowDivider;
    }
    return MouseIdle;
}

// The column (row) whose divider is under the point: the previous one when the point is
// near the cell's left (top) edge. Its left (top) edge goes to *edge.
int CGridCtrl::sizedIndexAt(const QPoint& p, bool columns, int* edge) const {
    const CCellID id = cellFromPoint(p, true);
    QRect rect;
    if (!isValid(id) || !cellRect(id.row, id.col, &rect))
        return -1;
    if (columns) {
        int col = id.col;
        int left = rect.left();
        if (p.x() - rect.left() <= m_resizeCaptureRange && col > 0) {
            --col;
            left -= m_colWidths[col];
        }
        *edge = left;
        return col;
    }
    int row = id.row;
    int top = rect.top();
    if (p.y() - rect.top() <= m_resizeCaptureRange && row > 0) {
        --row;
        top -= m_rowHeights[row];
    }
    *edge = top;
    return row;
}

void CGridCtrl::setSizingBar(const QRect& bar) {
    if (!m_sizingBar.isNull())
        viewport()->update(m_sizingBar);
    m_sizingBar = bar;
    if (!bar.isNull())
        viewport()->update(bar);
}

void CGridCtrl::updateCursor() {
    switch (m_mouseMode) {
    case MouseOverRowDivider:
    case MouseSizingRow:
        viewport()->setCursor(Qt::SizeVerCursor);
        break;
    case MouseOverColumnDivider:
    case MouseSizingColumn:
        viewport()->setCursor(Qt::SizeHorCursor);
        break;
    case MouseDragging:
        break;
    default:
        viewport()->setCursor(Qt::ArrowCursor);
        break;
    }
}

bool CGridCtrl::inButtonGesture() const {
    switch (m_mouseMode) {
    case MouseSelectAll:
    case MouseSelectColumns:
    case MouseSelectRows:
    case MouseSelectCells:
    case MouseSizingRow:
    case MouseSizingColumn:
    case MousePrepareEdit:
    case MousePrepareDrag:
        return true;
    default:
        return false;
    }
}

// The gesture of the left button is over without its release: a modal window took the
// mouse (and swallowed the release), the focus went elsewhere, or the pointer came back with
// no button held. The grid returns to idle so that the next key starts an edit again.
void CGridCtrl::loseMouse() {
    ++m_mouseLosses;
    stopAutoScroll();
    if (!inButtonGesture())
        return;
    setSizingBar(QRect());
    m_mouseMode = MouseIdle;
    updateCursor();
}

void CGridCtrl::focusOutEvent(QFocusEvent* e) {
    QAbstractScrollArea::focusOutEvent(e);
    if (e->reason() != Qt::PopupFocusReason)
        loseMouse();
}

void CGridCtrl::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton) {
        setFocus(Qt::MouseFocusReason);
        return;
    }
    if (e->button() != Qt::LeftButton)
        return;
    const QPoint pos = e->position().toPoint();
    m_hadFocusAtPress = hasFocus();
    m_leftClickDownPoint = pos;
    m_leftClickDownCell = cellFromPoint(pos, true);
    if (!isValid(m_leftClickDownCell))
        return;
    m_selectionStartCell = (e->modifiers() & Qt::ShiftModifier) ? m_focusCell : m_leftClickDownCell;
    // Taking the focus ends a running edit, and the owner may refuse its value with a modal
    // message box that swallows this press's release: then the press is dropped.
    const int lossesBefore = m_mouseLosses;
    setFocus(Qt::MouseFocusReason);
    if (m_mouseLosses != lossesBefore) {
        loseMouse();
        return;
    }
    if (m_leftClickDownCell == m_focusCell) {
        m_mouseMode = MousePrepareEdit;
        return;
    }
    if (m_mouseMode != MouseOverColumnDivider && m_mouseMode != MouseOverRowDivider) {
        setFocusCell(-1, -1);
        setFocusCell(std::max(m_leftClickDownCell.row, m_fixedRows),
                     std::max(m_leftClickDownCell.col, m_fixedCols));
    }
    if (m_allowDragAndDrop && m_hadFocusAtPress &&
        (itemState(m_leftClickDownCell.row, m_leftClickDownCell.col) & CellSelected)) {
        m_mouseMode = MousePrepareDrag;
        return;
    }
    if (m_mouseMode == MouseIdle) {
        const int divider = mouseOverDivider(pos);
        if (divider != MouseIdle)
            m_mouseMode = divider;
        updateCursor();
    }
    const QRect client = viewport()->rect();
    if (m_mouseMode == MouseOverColumnDivider) {
        m_sizingIndex = sizedIndexAt(pos, true, &m_sizingEdge);
        m_mouseMode = MouseSizingColumn;
        const int x = std::max(pos.x(), m_sizingEdge);
        setSizingBar(QRect(x, 0, kSizingBarWidth, client.height()));
    } else if (m_mouseMode == MouseOverRowDivider) {
        m_sizingIndex = sizedIndexAt(pos, false, &m_sizingEdge);
        m_mouseMode = MouseSizingRow;
        const int y = std::max(pos.y(), m_sizingEdge);
        setSizingBar(QRect(0, y, client.width(), kSizingBarWidth));
    } else {
        m_prevSelection.clear();
        if (e->modifiers() & Qt::ControlModifier)
            m_prevSelection = m_selection;
        if (m_leftClickDownCell.row < m_fixedRows) {
            onFixedRowClick(m_leftClickDownCell);
        } else if (m_leftClickDownCell.col < m_fixedCols) {
            onFixedColumnClick(m_leftClickDownCell);
        } else {
            m_mouseMode = m_listMode ? MouseSelectRows : MouseSelectCells;
            extendSelection(m_leftClickDownCell);
        }
        startAutoScroll();
    }
    m_lastMousePoint = pos;
}

void CGridCtrl::onFixedRowClick(const CCellID& cell) {
    if (!m_listMode) {
        m_mouseMode = cell.col < m_fixedCols ? MouseSelectAll : MouseSelectColumns;
        extendSelection(cell);
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
    sortRowsByColumn(cell.col, m_ascending, m_fixedRows, m_rowCount - 1);
    QApplication::restoreOverrideCursor();
    viewport()->update();
}

void CGridCtrl::onFixedColumnClick(const CCellID& cell) {
    m_mouseMode = cell.row < m_fixedRows ? MouseSelectAll : MouseSelectRows;
    extendSelection(cell);
}

void CGridCtrl::sortRowsByColumn(int col, bool ascending, int low, int high) {
    if (high <= low)
        return;
    const QString middle = itemText((low + high) / 2, col);
    int lo = low, hi = high;
    auto before = [&](const QString& a, const QString& b) {
        return ascending ? QString::compare(a, b) < 0 : QString::compare(a, b) > 0;
    };
    while (lo <= hi) {
        while (lo < high && before(itemText(lo, col), middle))
            ++lo;
        while (hi > low && before(middle, itemText(hi, col)))
            --hi;
        if (lo <= hi) {
            if (itemText(lo, col) != itemText(hi, col)) {
                std::swap(m_rows[lo], m_rows[hi]);
                std::swap(m_rowHeights[lo], m_rowHeights[hi]); // a row keeps its height
            }
            ++lo;
            --hi;
        }
    }
    if (low < hi)
        sortRowsByColumn(col, ascending, low, hi);
    if (lo < high)
        sortRowsByColumn(col, ascending, lo, high);
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    const QRect client = viewport()->rect();
    if (!client.contains(pos) && m_mouseMode != MouseDragging)
        return;
    if (!(e->buttons() & Qt::LeftButton) || m_mouseMode == MouseIdle) {
        if (!(e->buttons() & Qt::LeftButton)) {
            if (inButtonGesture())
                loseMouse(); // the release went to another window
            const int divider = mouseOverDivider(pos);
            if (divider != MouseIdle)
                m_mouseMode = divider;
            else if (m_mouseMode == MouseOverColumnDivider || m_mouseMode == MouseOverRowDivider)
                m_mouseMode = MouseIdle;
            updateCursor();
        }
        if (m_mouseMode == MouseIdle && m_titleTips)
            offerTitleTip(pos);
        m_lastMousePoint = pos;
        return;
    }
    if (!isValid(m_leftClickDownCell)) {
        m_lastMousePoint = pos;
        return;
    }
    switch (m_mouseMode) {
    case MouseSelectColumns:
    case MouseSelectRows:
    case MouseSelectCells: {
        const CCellID id = cellFromPoint(pos, true);
        if (isValid(id) && id != m_focusCell) {
            extendSelection(id);
            if (id.row >= m_fixedRows && id.col >= m_fixedCols)
                setFocusCell(id);
        }
        break;
    }
    case MouseSizingColumn:
        setSizingBar(QRect(std::max(pos.x(), m_sizingEdge), 0, kSizingBarWidth, client.height()));
        break;
    case MouseSizingRow:
        setSizingBar(QRect(0, std::max(pos.y(), m_sizingEdge), client.width(), kSizingBarWidth));
        break;
    case MousePrepareDrag:
        startDrag();
        break;
    default:
        break;
    }
    m_lastMousePoint = pos;
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    const QPoint pos = e->position().toPoint();
    stopAutoScroll();
    switch (m_mouseMode) {
    case MousePrepareEdit:
        beginCellEdit(m_focusCell.row, m_focusCell.col, KeyLeftButton);
        break;
    case MousePrepareDrag:
        resetSelectedRange();
        break;
    case MouseSizingColumn:
        setSizingBar(QRect());
        if (pos != m_leftClickDownPoint && m_sizingIndex >= 0) {
            setColumnWidth(m_sizingIndex, std::max(pos.x(), m_sizingEdge) - m_sizingEdge);
            resetScrollBars();
            viewport()->update();
        }
        break;
    case MouseSizingRow:
        setSizingBar(QRect());
        if (pos != m_leftClickDownPoint && m_sizingIndex >= 0) {
            setRowHeight(m_sizingIndex, std::max(pos.y(), m_sizingEdge) - m_sizingEdge);
            resetScrollBars();
            viewport()->update();
        }
        break;
    default:
        break;
    }
    m_mouseMode = MouseIdle;
    updateCursor();
    if (isValid(m_leftClickDownCell))
        QMetaObject::invokeMethod(
            this, [this] { emit command(m_controlId); }, Qt::QueuedConnection);
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    const QPoint pos = e->position().toPoint();
    if (m_mouseMode == MouseOverColumnDivider) {
        int edge = 0;
        const int col = sizedIndexAt(pos, true, &edge);
        if (col >= 0)
            autoSizeColumn(col);
        viewport()->update();
    } else if (m_mouseMode == MouseOverRowDivider) {
        int edge = 0;
        const int row = sizedIndexAt(pos, false, &edge);
        if (row >= 0)
            autoSizeRow(row);
        viewport()->update();
    } else if (m_mouseMode == MouseIdle) {
        if (isValid(m_leftClickDownCell) && m_leftClickDownCell.row >= m_fixedRows &&
            m_leftClickDownCell.col >= m_fixedCols) {
            beginCellEdit(m_focusCell.row, m_focusCell.col, KeyLeftButton);
        } else if (m_listMode) {
            const CCellID id = cellFromPoint(pos, true);
            if (isValid(id) && id.col < m_fixedCols && id.row >= m_fixedRows)
                beginCellEdit(id.row, id.col, KeyLeftButton);
        }
    }
}

void CGridCtrl::wheelEvent(QWheelEvent* e) {
    const int delta = e->angleDelta().y();
    // Touchpads and fine wheels send parts of a notch (15, 30 units): they add up until a
    // whole line or page is reached. Turning the other way starts afresh.
    if ((delta > 0 && m_wheelRemainder < 0) || (delta < 0 && m_wheelRemainder > 0))
        m_wheelRemainder = 0;
    auto post = [this](ScrollCode code, int times) {
        for (int i = 0; i < times; ++i)
            QMetaObject::invokeMethod(
                this, [this, code] { scrollBy(Qt::Vertical, code); }, Qt::QueuedConnection);
    };
    if (m_rowsPerWheelNotch == -1) {
        m_wheelRemainder += delta;
        const int pages = m_wheelRemainder / kWheelNotch;
        m_wheelRemainder -= pages * kWheelNotch;
        if (pages > 0)
            post(PageBack, pages);
        else
            post(PageForward, -pages);
    } else {
        // Counted in notch units times lines per notch, so no fraction of a line is lost.
        m_wheelRemainder += m_rowsPerWheelNotch * delta;
        const int lines = m_wheelRemainder / kWheelNotch;
        m_wheelRemainder -= lines * kWheelNotch;
        if (lines > 0)
            post(LineBack, lines);
        else
            post(LineForward, -lines);
    }
    e->accept();
}

void CGridCtrl::startAutoScroll() {
    m_autoScrollTimer.start(m_autoScrollInterval, this);
}

void CGridCtrl::stopAutoScroll() {
    m_autoScrollTimer.stop();
}

void CGridCtrl::timerEvent(QTimerEvent* e) {
    if (e->timerId() != m_autoScrollTimer.timerId()) {
        QAbstractScrollArea::timerEvent(e);
        return;
    }
    const QPoint pos = viewport()->mapFromGlobal(QCursor::pos());
    const QRect client = viewport()->rect();
    const Qt::KeyboardModifiers mods = QGuiApplication::keyboardModifiers();
    const int x = std::clamp(pos.x(), 0, client.right());
    const int y = std::clamp(pos.y(), 0, client.bottom());
    if (pos.y() > client.bottom()) {
        handleKeyDown(KeyDown, mods);
        extendSelection(cellFromPoint(QPoint(x, client.bottom()), true));
    } else if (pos.y() < fixedRowHeight()) {
        handleKeyDown(KeyUp, mods);
        extendSelection(cellFromPoint(QPoint(x, fixedRowHeight() + 1), true));
    }
    if (pos.x() > client.right()) {
        handleKeyDown(KeyRight, mods);
        extendSelection(cellFromPoint(QPoint(client.right(), y), true));
    } else if (pos.x() < fixedColumnWidth()) {
        handleKeyDown(KeyLeft, mods);
        extendSelection(cellFromPoint(QPoint(fixedColumnWidth() + 1, y), true));
    }
}

void CGridCtrl::startDrag() {
    const CCellRange range = selectedRange();
    sendNotify(GridBeginDrag, range.minRow, range.minCol);
    m_mouseMode = MouseDragging;
    QByteArray bytes = copyTextFromSelection();
    if (!bytes.isEmpty())
        bytes.chop(1); // the terminating zero
    auto* mime = new QMimeData;
    mime->setText(gbkToText(bytes));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    const Qt::DropAction done = drag->exec(Qt::CopyAction | Qt::MoveAction);
    if (done == Qt::MoveAction)
        cutSelectedText();
    m_mouseMode = MouseIdle;
}

// Drop target: plain text over an editable cell is accepted, that cell is highlighted, and
// Ctrl makes it a copy.
void CGridCtrl::setDragOverCell(const CCellID& cellId) {
    if (cellId == m_dragOverCell)
        return;
    if (CGridCell* old = cell(m_dragOverCell.row, m_dragOverCell.col)) {
        old->state &= ~std::uint32_t(CellDropTarget);
        redrawCell(m_dragOverCell.row, m_dragOverCell.col);
    }
    m_dragOverCell = cellId;
    if (CGridCell* now = cell(cellId.row, cellId.col)) {
        now->state |= CellDropTarget;
        redrawCell(cellId.row, cellId.col);
    }
}

void CGridCtrl::dragEnterEvent(QDragEnterEvent* e) {
    dragMoveEvent(e);
}

void CGridCtrl::dragMoveEvent(QDragMoveEvent* e) {
    const CCellID id = cellFromPoint(e->position().toPoint(), true);
    if (!e->mimeData()->hasText() || !isValid(id) || !isCellEditable(id.row, id.col)) {
        setDragOverCell(CCellID());
        e->ignore();
        return;
    }
    setDragOverCell(id);
    e->setDropAction((e->modifiers() & Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction);
    e->accept();
}

void CGridCtrl::dragLeaveEvent(QDragLeaveEvent* e) {
    setDragOverCell(CCellID());
    e->accept();
}

void CGridCtrl::dropEvent(QDropEvent* e) {
    const CCellID id = cellFromPoint(e->position().toPoint(), true);
    setDragOverCell(CCellID());
    if (!m_allowDragAndDrop || !e->mimeData()->hasText() || !isValid(id) ||
        !isCellEditable(id.row, id.col)) {
        e->ignore();
        return;
    }
    m_mouseMode = MouseIdle;
    pasteTextToGrid(id, textToGbk(e->mimeData()->text()));
    e->setDropAction((e->modifiers() & Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction);
    e->accept();
}

} // namespace morvik
