#pragma once
// The member list: one row per member with a check box, grid lines and full-row
// selection, columns set up from one heading string, its own copy of every cell's text with
// per-cell colours, heading-click sorting, and every cell drawn by the list itself. The
// ticks are column 0's check state as well, so assistive technology reads them.
//
// For the owner:
//   - itemChanged(change) is sent whenever a row's selected, focused or check state changes,
//     by the user or by the owner's own calls; change.becameSelected() and
//     change.checkChanged() tell a selection change from a check change. Calls that take a
//     ListNotify can be made Quiet so the owner's handler does not run for its own changes.
//   - rightClicked(row, globalPos) follows a right click (row -1 below the last row).
//   - One row at most is selected, and the focused row goes with it: a click, a key or the
//     owner's own selection selects one row and moves the focus there; a drag or a modifier
//     never adds rows. Home and End select the first and the last row. Space ticks the
//     selected row (the focused one when none is selected); the focused row carries a dotted
//     frame while the list has the keyboard focus.
//   - Column 0 can be edited in place (F2, or a click on the selected row's label), but
//     nothing typed is kept: the number comes back when the editor closes. The editor leaves
//     the keys of the member commands (Insert, Delete, Ctrl+I, Ctrl+D, Ctrl+A) to the
//     owner's shortcuts.
#include "controls/CSortHeaderCtrl.h"
#include "controls/ListCellPainter.h"
#include "controls/ListItemChange.h"
#include "controls/ListRowData.h"

#include <QStringList>
#include <QTableView>
#include <vector>

namespace morvik {

class ListRowsModel;
struct ListRow;

// The desktop's window-frame colour. Qt's palette has no such role, and new rows are drawn
// in it until the first change of the system colours.
inline constexpr ColorRef kWindowFrameColour = 0x646464;
// Rows are never lower than this, so the check box always fits.
inline constexpr int kListMinRowHeight = 17;

class CSortListCtrl : public QTableView {
    Q_OBJECT
public:
    explicit CSortListCtrl(QWidget* parent = nullptr);
    ~CSortListCtrl() override;

    // Columns from "name,width;name,width;...". Columns 0 and 1 are left-aligned, the later
    // ones centred. Adds to the columns already there; returns true.
    bool setHeadings(const QString& headings);
    int columnCount() const;

    // Appends a row with one text per column (missing texts are empty, extra ones ignored);
    // every cell gets the list's current text and background colours. Returns its index.
    int addRow(const QStringList& texts);
    // Inserts rows made as addRow makes them, all in one step whose cost does not grow with
    // the number of places: texts[i] becomes row at[i], ticked as checked[i] says. The rows
    // already there keep their order, texts and states and fill the places between. Nothing
    // is reported. False, and nothing inserted, unless `at` is ascending without repeats,
    // each place lies below the row count afterwards and there is a text list and a tick
    // for every place.
    bool insertRows(const std::vector<int>& at, const std::vector<QStringList>& texts,
                    const std::vector<bool>& checked);
    // Replaces a cell's text on screen and in the stored copy; false when the cell does not
    // exist.
    bool setCellText(int row, int column, const QString& text);
    // Replaces the texts of `column` in rows first, first + 1, ... as setCellText does, in
    // one step; false, and nothing changed, when a row or the column does not exist.
    bool setColumnTexts(int column, int first, const QStringList& texts);
    QString cellText(int row, int column) const;
    // Gives one cell colours of its own (in the stored copy); false when there is none.
    bool setCellColours(int row, int column, ColorRef text, ColorRef background);
    // The stored copy of a row, or null once it has been freed.
    const ListRowData* rowData(int row) const;
    // Releases a row's stored copy; the row stays, drawn in the list's colours.
    void freeRowData(int row);
    void deleteRow(int row);
    // Deletes every listed row with its stored copy, in one step whose cost does not grow
    // with each row deleted. Order and repeats do not matter; rows that do not exist are
    // ignored. Like deleteRow, it tells the owner nothing.
    void deleteRows(const std::vector<int>& rows);
    void deleteAllRows();
    int rowCount() const;

    // State bits of kListFocused, kListSelected and one of kListChecked / kListUnchecked.
    unsigned rowState(int row) const;
    // Sets the bits of `state` that are in `mask` (focused, selected, check mark). Selecting
    // a row deselects the others and gives it the focus.
    void setRowState(int row, unsigned state, unsigned mask, ListNotify notify = ListNotify::Send);
    void setRowSelected(int row, bool selected, ListNotify notify = ListNotify::Send);
    void setRowChecked(int row, bool checked, ListNotify notify = ListNotify::Send);
    bool isRowChecked(int row) const;
    // The first selected row, or -1.
    int selectedRow() const;
    void ensureRowVisible(int row);

    // Orders the rows by the stored texts of `column` and shows the arrow there.
    void sortRows(int column, bool ascending);
    int sortColumn() const { return sortColumn_; }
    bool sortAscending() const { return sortAscending_; }
    // Whether a click on a heading sorts (on by default).
    void setSortOnHeadingClick(bool on) { sortOnHeadingClick_ = on; }
    bool sortOnHeadingClick() const { return sortOnHeadingClick_; }

    const ListColours& colours() const { return colours_; }
    CSortHeaderCtrl* sortHeader() const { return header_; }

    // Where column 0's check box of a row is drawn, in viewport coordinates.
    QRect checkBoxRect(int row) const;

signals:
    void itemChanged(const morvik::ListItemChange& change);
    void rightClicked(int row, const QPoint& globalPos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    // Also tells screen readers of every tick that changed.
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;

private:
    friend class ListCellDelegate;

    void connectHandlers();
    // A row of `texts` in the list's current colours, not yet in the list.
    ListRow newRow(const QStringList& texts, bool checked) const;
    // Selects `selected` alone and focuses `current` (-1: none), quietly.
    void restoreSelection(int selected, int current);
    void onHeadingClicked(int column);
    void onSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void onCurrentChanged(const QModelIndex& current, const QModelIndex& previous);
    unsigned actualState(int row) const;
    void reportRow(int row);
    void toggleCheck(int row);
    void readSystemColours(bool afterChange);
    void fitRowHeightToFont();
    bool onCheckBox(const QPoint& pos) const;

    ListRowsModel* model_ = nullptr;
    CSortHeaderCtrl* header_ = nullptr;
    ListColours colours_;
    int sortColumn_ = -1;
    bool sortAscending_ = true;
    bool sortOnHeadingClick_ = true;
    // While positive, state changes update the reported state without telling the owner.
    int quiet_ = 0;
    // The left press went to a check box; its release must not reach the view.
    bool checkBoxPressed_ = false;
};

} // namespace morvik
