// The keyboard: a key press becomes an action, a movement gives its target cell
// (moveCursor), and applyMove selects, focuses and scrolls to it. Then the start and the end
// of a cell edit, and the notifications to the owner.
#include "grid/CGridCtrl.h"
#include "grid/CInPlaceEdit.h"
#include "grid/GridMouse.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <optional>
#include <utility>

namespace morvik {

namespace {

// The extra scroll step of a movement whose target is not fully visible.
struct ScrollStep {
    Qt::Orientation orientation;
    bool forward;
};

std::optional<ScrollStep> scrollStepOf(GridAction action) {
    switch (action) {
    case GridAction::NextCell:
    case GridAction::Right:
        return ScrollStep{Qt::Horizontal, true};
    case GridAction::PreviousCell:
    case GridAction::Left:
        return ScrollStep{Qt::Horizontal, false};
    case GridAction::Down:
        return ScrollStep{Qt::Vertical, true};
    case GridAction::Up:
        return ScrollStep{Qt::Vertical, false};
    default:
        return std::nullopt;
    }
}

} // namespace

void CGridCtrl::sendNotify(int code, int row, int col) {
    GridNotify n;
    n.sender = this;
    n.idFrom = m_controlId;
    n.code = code;
    n.row = row;
    n.col = col;
    emit notify(n);
}

bool CGridCtrl::event(QEvent* e) {
    // A modal window opened over the grid's window takes the mouse, and with it the release
    // of any press in progress.
    if (e->type() == QEvent::WindowBlocked)
        m_mouse->lose();
    // The grid keeps Tab for moving between cells unless Ctrl is held.
    if (e->type() == QEvent::KeyPress && m_handleTabKey) {
        auto* ke = static_cast<QKeyEvent*>(e);
        if ((ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) &&
            !(ke->modifiers() & Qt::ControlModifier)) {
            keyPressEvent(ke);
            return true;
        }
    }
    return QAbstractScrollArea::event(e);
}

void CGridCtrl::keyPressEvent(QKeyEvent* e) {
    // The grid claims Tab only without Ctrl: Ctrl+Tab takes the focus to the next control of
    // the window, as Tab does in a control that does not want it.
    if ((e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) &&
        (e->modifiers() & Qt::ControlModifier)) {
        const bool back = e->key() == Qt::Key_Backtab || (e->modifiers() & Qt::ShiftModifier);
        focusNextPrevChild(!back);
        e->accept();
        return;
    }
    const int key = gridKeyOf(e->key());
    Qt::KeyboardModifiers mods = e->modifiers();
    if (e->key() == Qt::Key_Backtab)
        mods |= Qt::ShiftModifier;
    bool handled = key != 0 && handleKey(key, mods);
    if (handleCharacter(e->key() == Qt::Key_Backspace ? QString(QChar(KeyBackspace)) : e->text(),
                        mods))
        handled = true;
    // The grid wants the arrows and Tab whether or not they moved anything; Enter and Esc
    // are left to the window around it.
    if (handled || isNavigationKey(key))
        e->accept();
    else
        e->ignore();
}

bool CGridCtrl::handleKey(int key, Qt::KeyboardModifiers mods) {
    if (!isValid(m_sel.focus))
        return false;
    const GridAction action = gridActionOf(key, mods);
    if (action == GridAction::None)
        return false;
    if (runClipboardAction(action))
        return true;
    if (action == GridAction::ClearCell) {
        clearFocusCell();
        return true;
    }
    const CursorMove move = moveCursor(action, m_sel.focus);
    if (move.target != m_sel.focus)
        applyMove(action, move, mods & Qt::ShiftModifier);
    else if (tabLeavesGrid(action, m_sel.focus))
        leaveByTab(action == GridAction::NextCell);
    return true;
}

bool CGridCtrl::tabLeavesGrid(GridAction action, const CCellID& from) const {
    if (!m_handleTabKey)
        return false;
    const GridAxis& rows = m_store.rows();
    const GridAxis& cols = m_store.columns();
    // Tab never enters the last column, so the cell before it in the last row ends the cells.
    if (action == GridAction::NextCell)
        return from.row == rows.count() - 1 && from.col == cols.count() - 2;
    if (action == GridAction::PreviousCell)
        return from.row == rows.fixedCount() && from.col == cols.fixedCount();
    return false;
}

void CGridCtrl::leaveByTab(bool forward) {
    // Tab past either end of the cells goes on to the neighbouring control, as in any table.
    // From an open editor the focus first comes back to the grid, so the chain is walked
    // from the grid's place in it and not from the editor's.
    if (!hasFocus())
        setFocus(Qt::OtherFocusReason);
    focusNextPrevChild(forward);
}

bool CGridCtrl::runClipboardAction(GridAction action) {
    static const std::pair<GridAction, void (CGridCtrl::*)()> kCommands[] = {
        {GridAction::SelectAll, &CGridCtrl::onEditSelectAll},
        {GridAction::Copy, &CGridCtrl::onEditCopy},
        {GridAction::Paste, &CGridCtrl::onEditPaste},
        {GridAction::Cut, &CGridCtrl::onEditCut},
    };
    for (const auto& [a, command] : kCommands)
        if (a == action) {
            (this->*command)();
            return true;
        }
    return false;
}

// Page Up/Down, End and Home scroll first; the target then follows the rows that moved.
CursorMove CGridCtrl::moveCursor(GridAction action, const CCellID& from) {
    const GridAxis& rows = m_store.rows();
    const GridAxis& cols = m_store.columns();
    const int lastRow = rows.count() - 1;
    const int lastCol = cols.count() - 1;
    CursorMove move{from, false};
    CCellID& to = move.target;
    switch (action) {
    case GridAction::NextCell:
        // Tab never enters the last column, and leaves an empty cell alone.
        if (itemText(from.row, from.col).isEmpty())
            break;
        if (from.col < lastCol - 1)
            ++to.col;
        else if (from.col == lastCol - 1 && from.row < lastRow)
            move = {CCellID(from.row + 1, cols.fixedCount()), true};
        break;
    case GridAction::PreviousCell:
        if (from.col > cols.fixedCount())
            --to.col;
        else if (from.col == cols.fixedCount() && from.row > rows.fixedCount())
            move = {CCellID(from.row - 1, lastCol), true};
        break;
    case GridAction::PageUp:
    case GridAction::PageDown: {
        const bool up = action == GridAction::PageUp;
        const int before = topLeftNonFixedCell().row;
        scrollBy(Qt::Vertical, up ? PageBack : PageForward);
        const int moved = std::abs(topLeftNonFixedCell().row - before);
        if (up)
            to.row = moved == 0 ? rows.fixedCount() : std::max(rows.fixedCount(), from.row - moved);
        else
            to.row = moved == 0 ? lastRow : std::min(lastRow, from.row + moved);
        break;
    }
    case GridAction::Bottom:
        scrollBy(Qt::Vertical, ToEnd);
        to.row = lastRow;
        break;
    case GridAction::Top:
        scrollBy(Qt::Vertical, ToStart);
        to.row = rows.fixedCount();
        break;
    case GridAction::Left:
        if (from.col > cols.fixedCount())
            --to.col;
        break;
    case GridAction::Up:
        if (from.row > rows.fixedCount())
            --to.row;
        break;
    case GridAction::Right:
        if (from.col < lastCol)
            ++to.col;
        break;
    case GridAction::Down:
        if (from.row < lastRow)
            ++to.row;
        break;
    default:
        break;
    }
    return move;
}

void CGridCtrl::applyMove(GridAction action, const CursorMove& move, bool shift) {
    const CCellID next = move.target;
    const bool tab = action == GridAction::NextCell || action == GridAction::PreviousCell;
    if (m_mouse->mode == MouseIdle) {
        m_sel.forgetPrevious();
        if (!shift || tab)
            m_sel.start = next;
        setSpan(m_listMode ? SelectionSpan::Rows : SelectionSpan::Cells, next);
    }
    setFocusCell(next);
    if (fullyVisibleNonFixedCellRange().contains(next))
        return;
    ensureVisible(next.row, next.col);
    const std::optional<ScrollStep> step = scrollStepOf(action);
    if (step && move.wrap) {
        // A wrap goes one row on and to the other end of the row.
        scrollBy(Qt::Vertical, step->forward ? LineForward : LineBack);
        scrollBy(Qt::Horizontal, step->forward ? ToStart : ToEnd);
    } else if (step) {
        scrollBy(step->orientation, step->forward ? LineForward : LineBack);
    }
    viewport()->update();
}

void CGridCtrl::clearFocusCell() {
    const CCellID focus = m_sel.focus;
    if (!isCellEditable(focus.row, focus.col))
        return;
    sendNotify(GridBeginEdit, focus.row, focus.col);
    setItemText(focus.row, focus.col, QString());
    setModified(focus.row, focus.col);
    sendNotify(GridEndEdit, focus.row, focus.col);
    redrawCell(focus.row, focus.col);
}

bool CGridCtrl::handleCharacter(const QString& text, Qt::KeyboardModifiers mods) {
    if (text.isEmpty() || (mods & (Qt::ControlModifier | Qt::AltModifier)) ||
        m_mouse->mode != MouseIdle)
        return false;
    const QChar ch = text.at(0);
    if (ch == QChar(KeyTab) && m_handleTabKey)
        return false;
    // Enter and Esc belong to the window around the grid; Delete is a key, not a character.
    if (ch.unicode() < KeySpace && ch.unicode() != KeyBackspace)
        return false;
    if (ch.unicode() == 0x7F)
        return false;
    beginCellEdit(m_sel.focus.row, m_sel.focus.col, ch.unicode());
    return true;
}

void CGridCtrl::beginCellEdit(int row, int col, int firstKey) {
    ensureVisible(row, col);
    if (col > kMaxEditableColumn || !isValid(row, col) || !isCellEditable(row, col) ||
        !isCellVisible(row, col))
        return;
    sendNotify(GridBeginEdit, row, col);
    QRect rect;
    if (!cellRect(row, col, &rect))
        return;
    m_editorCell = CCellID(row, col);
    QWidget* editor = createInPlaceEditor(rect, itemFormat(row, col), kInPlaceEditId, row, col,
                                          itemText(row, col), firstKey);
    // The first key may already have ended that edit and opened the next one.
    if (m_editorCell == CCellID(row, col))
        m_editor = editor;
    // While the editor is open a click on the cells must not hand the focus to the grid
    // before the press handling has looked at it (an owner may let clicks focus the grid):
    // the press decides whether the edit ends, and nothing does on the empty area. With the
    // editor as the viewport's focus proxy the platform's click-to-focus stops there.
    if (editor && !editor->isHidden())
        viewport()->setFocusProxy(editor);
}

QWidget* CGridCtrl::createInPlaceEditor(const QRect& rect, std::uint32_t format, int id, int row,
                                        int col, const QString& text, int firstKey) {
    return new CInPlaceEdit(this, rect, format, id, row, col, text, firstKey);
}

void CGridCtrl::endCellEdit(int row, int col, const QString& text) {
    if (text != itemText(row, col)) {
        setModified(row, col);
        setItemText(row, col, text);
    }
}

void CGridCtrl::onInPlaceEditEnd(const GridEditResult& result, Qt::KeyboardModifiers mods) {
    const int row = result.item.row;
    const int col = result.item.col;
    const int key = int(result.item.data);
    m_editor = nullptr;
    m_editorCell = CCellID();
    viewport()->setFocusProxy(nullptr);
    endCellEdit(row, col, result.item.text);
    redrawCell(row, col);
    sendAccessibleCellEvent(QAccessible::NameChanged, row, col);
    sendNotify(GridEndEdit, row, col);
    if (isNavigationKey(key)) {
        handleKey(key, mods);
        // A Tab past the last cell left the grid: no editor opens behind the inspector.
        const QWidget* focus = QApplication::focusWidget();
        if (focus == this || isAncestorOf(focus))
            beginCellEdit(m_sel.focus.row, m_sel.focus.col, key);
    }
}

} // namespace morvik
