#pragma once
// The editor of a combo column: a combo box laid over the cell, four rows in its drop-down,
// at least as wide as its widest item. Like CInPlaceEdit it ends when it loses the focus
// (Enter and Esc end it, Esc with the initial text back; Ctrl with a page or arrow key ends
// it and moves on) and reports to the grid.

#include "grid/GridTypes.h"
#include "grid/InPlaceEditorLink.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>

namespace morvik {

class CGridCtrl;
class CInPlaceList;

// The edit part of a CInPlaceList: hands Enter, Esc and Ctrl+navigation to its list.
class CComboEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kEditPartId = 1001;
    explicit CComboEdit(CInPlaceList* list);

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    CInPlaceList* m_list;
};

class CInPlaceList : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kDropDownRows = 4;

    CInPlaceList(CGridCtrl* grid, const QRect& rect, int style, int id, int row, int col,
                 const QStringList& items, const QString& text, int firstKey);

    int row() const { return m_link.row; }
    int column() const { return m_link.col; }
    int lastKey() const { return m_link.lastKey; }

    // Ends with `key` as the last key: the focus goes back to the grid.
    void finish(int key, Qt::KeyboardModifiers mods = {});
    // Restores the initial text and ends with Esc.
    void cancel();
    // Sends the result to the grid once and closes.
    void endEdit();
    // Ends because the focus left for `reason`.
    void endEditFor(Qt::FocusReason reason);
    // The grid is going away: the list ends without reporting anything.
    void abandon();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void applyFirstKey(int firstKey);

    InPlaceEditorLink m_link;
    bool m_exitOnArrows = false;
    CComboEdit* m_edit = nullptr;
};

} // namespace morvik
