#include "grid/CInPlaceEdit.h"
#include "grid/CGridCtrl.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>

namespace morvik {

Qt::Alignment editorAlignment(std::uint32_t format) {
    if (format & FormatRight)
        return Qt::AlignRight | Qt::AlignVCenter;
    if (format & FormatCentre)
        return Qt::AlignHCenter | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

CInPlaceEdit::CInPlaceEdit(CGridCtrl* grid, const QRect& rect, std::uint32_t format, int id,
                           int row, int col, const QString& text, int firstKey)
    : QLineEdit(grid->viewport()), m_link(grid, id, row, col, text),
      m_exitOnArrows(firstKey != KeyLeftButton), m_rect(rect) {
    setObjectName(QStringLiteral("CInPlaceEdit"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrame(true);
    setAlignment(editorAlignment(format));
    setGeometry(rect);
    setFont(grid->font());
    setText(text);
    show();
    setFocus(Qt::OtherFocusReason);

    switch (firstKey) {
    case KeyLeftButton:
    case KeyEnter:
        deselect();
        end(false);
        break;
    case KeyBackspace:
        end(false);
        typeCharacter(QChar(KeyBackspace), nullptr, {});
        break;
    case KeyTab:
    case KeySpace:
    case KeyPageUp:
    case KeyPageDown:
    case KeyEnd:
    case KeyHome:
    case KeyLeft:
    case KeyUp:
    case KeyRight:
    case KeyDown:
        selectAll();
        break;
    default:
        selectAll();
        typeCharacter(QChar(firstKey), nullptr, {});
        break;
    }
    if (firstKey == KeyLeftButton)
        m_openedByClick.start();
    m_constructing = false;
}

bool CInPlaceEdit::event(QEvent* e) {
    // The editor wants every key: Tab must not move the focus, and Alt+key must not reach
    // the dialog's mnemonics.
    if (e->type() == QEvent::ShortcutOverride) {
        e->accept();
        return true;
    }
    if (e->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) {
            keyPressEvent(ke);
            return true;
        }
    }
    return QLineEdit::event(e);
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* e) {
    const Qt::KeyboardModifiers mods =
        e->modifiers() | (e->key() == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
    e->accept();
    if (mods & Qt::AltModifier)
        return; // system characters are swallowed
    const int navKey = navigationKeyOf(e->key());
    switch (e->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (mods & Qt::ControlModifier) {
            // Ctrl+Tab is no Tab for the cells: the edit ends where it is and the key goes
            // on to the grid, which hands the focus to the next control.
            QKeyEvent passOn(e->type(), e->key(), e->modifiers(), e->text());
            const QPointer<CGridCtrl> grid = m_link.grid;
            finish(0);
            if (grid)
                QCoreApplication::sendEvent(grid, &passOn);
            return;
        }
        typeCharacter(QChar(KeyTab), e, mods);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        typeCharacter(QChar(KeyEnter), e, mods);
        return;
    case Qt::Key_Escape:
        typeCharacter(QChar(KeyEscape), e, mods);
        return;
    case Qt::Key_Backspace:
        typeCharacter(QChar(KeyBackspace), e, mods);
        return;
    default:
        break;
    }
    if (navKey != 0) {
        if (m_exitOnArrows || (mods & Qt::ControlModifier))
            finish(navKey, mods);
        else
            QLineEdit::keyPressEvent(e);
        e->accept();
        return;
    }
    const QString text = e->text();
    if (!text.isEmpty() && !(mods & Qt::ControlModifier) && text.at(0).isPrint()) {
        typeCharacter(text.at(0), e, mods);
        return;
    }
    QLineEdit::keyPressEvent(e);
    e->accept();
}

void CInPlaceEdit::typeCharacter(QChar ch, QKeyEvent* e, Qt::KeyboardModifiers mods) {
    switch (ch.unicode()) {
    case KeyTab:
    case KeyEnter:
        finish(ch.unicode(), mods);
        return;
    case KeyEscape:
        setText(m_link.initialText);
        finish(KeyEscape, mods);
        return;
    case KeyBackspace:
        if (e)
            QLineEdit::keyPressEvent(e);
        else
            backspace();
        break;
    default:
        if (e)
            QLineEdit::keyPressEvent(e);
        else
            insert(QString(ch));
        break;
    }
    growToFit();
    if (m_constructing) {
        // A Backspace on a long text can leave seven characters: the edit may advance, but
        // only once this editor stands, never from inside its construction.
        QMetaObject::invokeMethod(this, &CInPlaceEdit::advanceIfFull, Qt::QueuedConnection);
        return;
    }
    advanceIfFull();
}

void CInPlaceEdit::advanceIfFull() {
    if (!m_link.ended && text().length() >= kAutoAdvanceLength &&
        m_link.col < kAutoAdvanceColumnLimit)
        finish(KeyTab);
}

// The click that opened the editor may be the first of a double click; its second click
// lands on the editor and must neither move the caret nor select a word.
bool CInPlaceEdit::isSecondClickOfOpening() {
    if (!m_openedByClick.isValid())
        return false;
    if (m_openedByClick.elapsed() > QApplication::doubleClickInterval()) {
        m_openedByClick.invalidate();
        return false;
    }
    return true;
}

void CInPlaceEdit::mousePressEvent(QMouseEvent* e) {
    if (isSecondClickOfOpening()) {
        e->accept();
        return;
    }
    QLineEdit::mousePressEvent(e);
}

void CInPlaceEdit::mouseDoubleClickEvent(QMouseEvent* e) {
    if (isSecondClickOfOpening()) {
        m_openedByClick.invalidate();
        e->accept();
        return;
    }
    QLineEdit::mouseDoubleClickEvent(e);
}

void CInPlaceEdit::growToFit() {
    const QFontMetrics fm(font());
    const int needed = fm.horizontalAdvance(text() + QStringLiteral("  "));
    if (needed <= width())
        return;
    QRect r = geometry();
    int right = r.left() + needed - 1;
    if (m_link.grid)
        right = std::min(right, m_link.grid->viewport()->rect().right());
    r.setRight(right);
    setGeometry(r);
}

void CInPlaceEdit::finish(int key, Qt::KeyboardModifiers mods) {
    m_link.handBack(key, mods);
    // Without an active window no focus change arrives; the edit still ends.
    endEdit();
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (e->reason() == Qt::PopupFocusReason)
        return; // the editor's own context menu
    if (e->reason() == Qt::ActiveWindowFocusReason) {
        // The window was deactivated, possibly because it is being destroyed, with the
        // owner's destructor already run. The result goes out from the event loop instead,
        // and is dropped with this editor if the window is gone by then.
        QMetaObject::invokeMethod(this, &CInPlaceEdit::endEdit, Qt::QueuedConnection);
        return;
    }
    endEdit();
}

void CInPlaceEdit::abandon() {
    m_link.abandon();
}

void CInPlaceEdit::endEdit() {
    if (m_link.startEnding())
        m_link.report(this, text());
}

} // namespace morvik
