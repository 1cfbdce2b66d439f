// Dragging the selected cells out as text, and the drop target that takes text into an
// editable cell. Nothing registers the drop target unless the owner asks for it.
#include "grid/CGridCtrl.h"
#include "grid/GridMouse.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

namespace morvik {

void CGridCtrl::startDrag() {
    const CCellRange range = selectedRange();
    sendNotify(GridBeginDrag, range.minRow, range.minCol);
    m_mouse->mode = MouseDragging;
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
    m_mouse->mode = MouseIdle;
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
    m_mouse->mode = MouseIdle;
    pasteTextToGrid(id, textToGbk(e->mimeData()->text()));
    e->setDropAction((e->modifiers() & Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction);
    e->accept();
}

} // namespace morvik
