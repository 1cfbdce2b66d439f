#include "grid/CInPlaceList.h"
#include "grid/CComboGridCtrl.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QStyle>

namespace morvik {

CComboEdit::CComboEdit(CInPlaceList* list) : QLineEdit(list), m_list(list) {}

bool CComboEdit::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride) {
        e->accept();
        return true;
    }
    return QLineEdit::event(e);
}

void CComboEdit::keyPressEvent(QKeyEvent* e) {
    if (e->modifiers() & Qt::AltModifier) {
        e->accept(); // system characters are swallowed
        return;
    }
    const int nav = navigationKeyOf(e->key());
    if (nav != 0 && (e->modifiers() & Qt::ControlModifier)) {
        m_list->finish(nav, e->modifiers());
        return;
    }
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_list->finish(KeyEnter);
        return;
    case Qt::Key_Escape:
        m_list->cancel();
        return;
    default:
        break;
    }
    QLineEdit::keyPressEvent(e);
    if (e->key() == Qt::Key_Up || e->key() == Qt::Key_Down || e->key() == Qt::Key_PageUp ||
        e->key() == Qt::Key_PageDown)
        e->ignore(); // the list moves through its items
}

void CComboEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (e->reason() != Qt::PopupFocusReason && !m_list->view()->isVisible())
        m_list->endEditFor(e->reason());
}

CInPlaceList::CInPlaceList(CGridCtrl* grid, const QRect& rect, int listStyle, int id, int row,
                           int col, const QStringList& items, const QString& text, int firstKey)
    : QComboBox(grid->viewport()), m_link(grid, id, row, col, text) {
    setObjectName(QStringLiteral("CInPlaceList"));
    setMaxVisibleItems(kDropDownRows);
    const bool editable = listStyle != CComboGridCtrl::kComboDropDownList;
    if (editable) {
        setEditable(true);
        m_edit = new CComboEdit(this);
        setLineEdit(m_edit);
        setInsertPolicy(QComboBox::NoInsert);
        setCompleter(nullptr);
    }
    addItems(items);

    setFont(grid->font());
    const QFontMetrics fm(font());
    int widest = 0;
    for (const QString& item : items)
        widest = std::max(widest, fm.horizontalAdvance(item));
    const int needed = widest + 2 * fm.horizontalAdvance(QLatin1Char(' ')) +
                       style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QRect r = rect;
    if (r.width() < needed)
        r.setWidth(needed);
    // The selection field keeps the cell's height; the drop-down shows the four rows.
    setGeometry(r);
    view()->setMinimumWidth(needed);

    const int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        setCurrentIndex(index);
    else if (editable)
        setEditText(text);
    else
        setCurrentIndex(-1);

    show();
    setFocus(Qt::OtherFocusReason);
    if (editable)
        applyFirstKey(firstKey);
}

void CInPlaceList::applyFirstKey(int firstKey) {
    switch (firstKey) {
    case KeyLeftButton:
    case KeyEnter:
        m_edit->deselect();
        m_edit->end(false);
        break;
    case KeyBackspace:
        m_edit->end(false);
        m_edit->backspace();
        break;
    case KeyPageUp:
    case KeyPageDown:
    case KeyEnd:
    case KeyHome:
    case KeyLeft:
    case KeyUp:
    case KeyRight:
    case KeyDown:
        m_edit->selectAll();
        break;
    default: // Tab and Space included: the key replaces the text
        m_edit->selectAll();
        m_edit->insert(QString(QChar(firstKey)));
        break;
    }
}

void CInPlaceList::keyPressEvent(QKeyEvent* e) {
    const int nav = navigationKeyOf(e->key());
    if (nav != 0 && (e->modifiers() & Qt::ControlModifier)) {
        finish(nav, e->modifiers());
        return;
    }
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        finish(KeyEnter);
        return;
    case Qt::Key_Escape:
        cancel();
        return;
    default:
        QComboBox::keyPressEvent(e);
        e->accept();
    }
}

void CInPlaceList::focusOutEvent(QFocusEvent* e) {
    QComboBox::focusOutEvent(e);
    // A drop-down-list ends when the focus goes to another window; its own pop-up does not.
    if (!isEditable() && e->reason() != Qt::PopupFocusReason && !view()->isVisible())
        endEditFor(e->reason());
}

void CInPlaceList::endEditFor(Qt::FocusReason reason) {
    // A deactivated window may be one whose owner is being destroyed: report from the event
    // loop, where the report is dropped with this list if the window is gone.
    if (reason == Qt::ActiveWindowFocusReason)
        QMetaObject::invokeMethod(this, &CInPlaceList::endEdit, Qt::QueuedConnection);
    else
        endEdit();
}

void CInPlaceList::abandon() {
    m_link.abandon();
}

void CInPlaceList::cancel() {
    if (isEditable())
        setEditText(m_link.initialText);
    else
        setCurrentIndex(findText(m_link.initialText, Qt::MatchExactly | Qt::MatchCaseSensitive));
    finish(KeyEscape);
}

void CInPlaceList::finish(int key, Qt::KeyboardModifiers mods) {
    m_link.handBack(key, mods);
    endEdit();
}

void CInPlaceList::endEdit() {
    if (!m_link.startEnding())
        return;
    const QString text = currentText();
    hidePopup();
    m_link.report(this, text);
}

} // namespace morvik
