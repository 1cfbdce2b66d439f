// Keyboard navigation, the start and end of a cell edit, and the notifications to the owner.
#include "grid/CGridCtrl.h"
#include "grid/CInPlaceEdit.h"

#include <QKeyEvent>
#include <QScrollBar>

namespace morvik {

namespace {

// The key code of a key press in the grid's numbering; 0 for keys the grid has no use for.
int gridKeyOf(const QKeyEvent* e) {
    if (const int nav = navigationKeyOf(e->key()))
        return nav;
    switch (e->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return KeyTab;
    case Qt::Key_End:
        return KeyEnd;
    case Qt::Key_Home:
        return KeyHome;
    case Qt::Key_Delete:
        return KeyDelete;
    default:
        if (e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
            return e->key(); // letters share their codes with the upper-case characters
        return 0;
    }
}

bool isNavigationKey(int key) {
    return key == KeyTab || (key >= KeyPageUp && key <= KeyDown);
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
        loseMouse();
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
    const int key = gridKeyOf(e);
    Qt::KeyboardModifiers mods = e->modifiers();
    if (e->key() == Qt::Key_Backtab)
        mods |= Qt::ShiftModifier;
    bool handled = key != 0 && handleKeyDown(key, mods);
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

bool CGridCtrl::handleKeyDown(int key, Qt::KeyboardModifiers mods) {
    if (!isValid(m_focusCell))
        return false;
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    bool handled = false;
    if (ctrl) {
        switch (key) {
        case 'A':
            onEditSelectAll();
            handled = true;
            break;
        case 'C':
            onEditCopy();
            handled = true;
            break;
        case 'V':
            onEditPaste();
            handled = true;
            break;
        case 'X':
            onEditCut();
            handled = true;
            break;
        default:
            break;
        }
    }
    if (!isValid(m_focusCell)) // a command may have cleared the focus
        return handled;

    const CCellID focus = m_focusCell;
    const QString text = itemText(focus.row, focus.col);
    CCellID next = focus;
    bool wrap = false;
    switch (key) {
    case KeyTab:
        if (!shift) {
            if (text.isEmpty())
                return true;
            if (focus.col < m_colCount - 2) {
                ++next.col;
            } else if (focus.col == m_colCount - 2 && focus.row < m_rowCount - 1) {
                ++next.row;
                next.col = m_fixedCols;
                wrap = true;
            } else {
                return handled;
            }
        } else {
            if (focus.col > m_fixedCols) {
                --next.col;
            } else if (focus.col == m_fixedCols && focus.row > m_fixedRows) {
                --next.row;
                next.col = m_colCount - 1;
                wrap = true;
            } else {
                return handled;
            }
        }
        break;
    case KeyPageUp: {
        const CCellID before = topLeftNonFixedCell();
        scrollBy(Qt::Vertical, PageBack);
        const int moved = before.row - topLeftNonFixedCell().row;
        next.row = moved == 0 ? m_fixedRows : std::max(m_fixedRows, focus.row - moved);
        break;
    }
    case KeyPageDown: {
        const CCellID before = topLeftNonFixedCell();
        scrollBy(Qt::Vertical, PageForward);
        const int moved = topLeftNonFixedCell().row - before.row;
        next.row = moved == 0 ? m_rowCount - 1 : std::min(m_rowCount - 1, focus.row + moved);
        break;
    }
    case KeyEnd:
        scrollBy(Qt::Vertical, ToEnd);
        next.row = m_rowCount - 1;
        break;
    case KeyHome:
        scrollBy(Qt::Vertical, ToStart);
        next.row = m_fixedRows;
        break;
    case KeyLeft:
        if (focus.col > m_fixedCols)
            --next.col;
        break;
    case KeyUp:
        if (focus.row > m_fixedRows)
            --next.row;
        break;
    case KeyRight:
        if (focus.col < m_colCount - 1)
            ++next.col;
        break;
    case KeyDown:
        if (focus.row < m_rowCount - 1)
            ++next.row;
        break;
    case KeyDelete:
        if (isCellEditable(focus.row, focus.col)) {
            sendNotify(GridBeginEdit, focus.row, focus.col);
            setItemText(focus.row, focus.col, QString());
            setModified(focus.row, focus.col);
            sendNotify(GridEndEdit, focus.row, focus.col);
            redrawCell(focus.row, focus.col);
        }
        return true;
    default:
        return handled;
    }

    if (next == focus)
        return true;
    if (m_mouseMode == MouseIdle) {
        m_prevSelection.clear();
        m_mouseMode = m_listMode ? MouseSelectRows : MouseSelectCells;
        if (!shift || key == KeyTab)
            m_selectionStartCell = next;
        if (m_mouseMode == MouseSelectRows)
            selectRows(next);
        else
            selectCells(next);
        m_mouseMode = MouseIdle;
    }
    setFocusCell(next);

    if (!fullyVisibleNonFixedCellRange().contains(next)) {
        ensureVisible(next.row, next.col);
        switch (key) {
        case KeyTab:
            if (shift && wrap) {
                scrollBy(Qt::Vertical, LineBack);
                scrollBy(Qt::Horizontal, ToEnd);
            } else if (wrap) {
                scrollBy(Qt::Vertical, LineForward);
                scrollBy(Qt::Horizontal, ToStart);
            } else {
                scrollBy(Qt::Horizontal, shift ? LineBack : LineForward);
            }
            break;
        case KeyLeft:
            scrollBy(Qt::Horizontal, LineBack);
            break;
        case KeyRight:
            scrollBy(Qt::Horizontal, LineForward);
            break;
        case KeyUp:
            scrollBy(Qt::Vertical, LineBack);
            break;
        case KeyDown:
            scrollBy(Qt::Vertical, LineForward);
            break;
        default:
            break;
        }
        viewport()->update();
    }
    return true;
}

bool CGridCtrl::handleCharacter(const QString& text, Qt::KeyboardModifiers mods) {
    if (text.isEmpty() || (mods & (Qt::ControlModifier | Qt::AltModifier)) ||
        m_mouseMode != MouseIdle)
        return false;
    const QChar ch = text.at(0);
    if (ch == QChar(KeyTab) && m_handleTabKey)
        return false;
    // Enter and Esc belong to the window around the grid; Delete is a key, not a character.
    if (ch.unicode() < KeySpace && ch.unicode() != KeyBackspace)
        return false;
    if (ch.unicode() == 0x7F)
        return false;
    beginCellEdit(m_focusCell.row, m_focusCell.col, ch.unicode());
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
    QWidget* editor = createInPlaceEditor(rect, itemFormat(row, col), kInPlaceEditId, row, col,
                                          itemText(row, col), firstKey);
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
    viewport()->setFocusProxy(nullptr);
    endCellEdit(row, col, result.item.text);
    redrawCell(row, col);
    sendNotify(GridEndEdit, row, col);
    if (isNavigationKey(key)) {
        handleKeyDown(key, mods);
        beginCellEdit(m_focusCell.row, m_focusCell.col, key);
    }
}

} // namespace morvik
