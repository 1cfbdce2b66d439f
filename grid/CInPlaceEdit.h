#pragma once
// The single-line editor laid over a cell while it is edited. It lives from the grid's
// begin-edit step until it loses the keyboard focus; then it reports its text and the key
// that ended it to the grid (CGridCtrl::onInPlaceEditEnd) and deletes itself.
//
// First key: a click (1) or Enter puts the caret at the end; Backspace deletes the last
// character; Tab, Space and the navigation keys select all; any other key replaces the text.
// Tab and Enter end the edit, Esc ends it with the initial text back; the arrows and page
// keys end it when it was not opened by a click, or with Ctrl. The seventh character typed
// into a cell of a column below 17 ends the edit as a Tab would (never from inside the
// editor's construction: a first key that fills the cell advances from the event loop).
// Ctrl+Tab ends the edit in place and passes the key to the grid. The second click of the
// double click that opened the editor is ignored, so it selects nothing.

#include "grid/GridTypes.h"
#include "grid/InPlaceEditorLink.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>

namespace morvik {

class CGridCtrl;

class CInPlaceEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kAutoAdvanceLength = 7;
    static constexpr int kAutoAdvanceColumnLimit = 17;

    CInPlaceEdit(CGridCtrl* grid, const QRect& rect, std::uint32_t format, int id, int row, int col,
                 const QString& text, int firstKey);

    int row() const { return m_link.row; }
    int column() const { return m_link.col; }
    int lastKey() const { return m_link.lastKey; }
    bool exitsOnArrows() const { return m_exitOnArrows; }
    // The grid is going away: the editor ends without reporting anything.
    void abandon();

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void typeCharacter(QChar ch, QKeyEvent* e, Qt::KeyboardModifiers mods);
    void growToFit();
    void finish(int key, Qt::KeyboardModifiers mods = {});
    void endEdit();
    void advanceIfFull();
    bool isSecondClickOfOpening();

    InPlaceEditorLink m_link;
    bool m_exitOnArrows;
    QRect m_rect;
    // While the constructor runs nothing may end the edit: the first key only asks for the
    // automatic advance, which follows from the event loop.
    bool m_constructing = true;
    QElapsedTimer m_openedByClick; // valid when a click opened the editor
};

// The editor alignment that matches a cell's text format.
Qt::Alignment editorAlignment(std::uint32_t format);

} // namespace morvik
