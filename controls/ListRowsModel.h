#pragma once
// The rows of the member list: per row the texts on screen, the list's own copy with the
// cell colours (ListRowData), the check mark, and the state last reported to the owner.
// Only CSortListCtrl changes it; the view reads it to draw. The check mark is also column
// 0's check state, so that screen readers read the ticks the list paints itself.
#include "controls/ListRowData.h"
#include "controls/ListSort.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <memory>
#include <vector>

namespace morvik {

struct ListRow {
    QStringList shown;
    std::unique_ptr<ListRowData> data;
    bool checked = false;
    unsigned reportedState = 0;
};

class ListRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The label editor may open on column 0, but nothing it types is kept; the check state
    // changes only through setChecked.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    void appendHeading(const ListHeading& heading);
    const ListHeading& heading(int column) const { return headings_[size_t(column)]; }

    int appendRow(ListRow row);
    // Puts rows[i] at row at[i] (ascending, without repeats, all below the count it makes);
    // the rows there keep their order and fill the places between. One insertion for a
    // single run of neighbouring rows, else one reset, as for removal. After a reset the
    // owner restores the selection.
    void insertSortedRows(const std::vector<int>& at, std::vector<ListRow> rows);
    bool setShownText(int row, int column, const QString& text);
    // Sets the shown text of `column` in rows first, first + 1, ... (all present), with one
    // change reported for the rows whose text differed.
    void setShownColumn(int column, int first, const QStringList& texts);
    void removeRowAt(int row);
    // Removes the rows of `rows` (ascending, without repeats, all present): one removal for
    // a single run of neighbouring rows, else one reset, so the cost does not grow with the
    // number of runs. After a reset the owner restores the selection.
    void removeSortedRows(const std::vector<int>& rows);
    void removeAllRows();

    ListRow& row(int r) { return rows_[size_t(r)]; }
    const ListRow& row(int r) const { return rows_[size_t(r)]; }
    bool hasRow(int r) const { return r >= 0 && r < int(rows_.size()); }
    void rowChanged(int r);
    // Ticks or unticks row `r` (present); a change is reported as a change of column 0's
    // check state. False when the row already was so.
    bool setChecked(int r, bool checked);

    // Reorders the rows stably by `less`, keeping selection and current row with them.
    template <class Less> void sortRows(Less less);

private:
    void applyOrder(const std::vector<int>& order);

    std::vector<ListHeading> headings_;
    std::vector<ListRow> rows_;
};

template <class Less> void ListRowsModel::sortRows(Less less) {
    std::vector<int> order(rows_.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return less(rows_[size_t(a)], rows_[size_t(b)]); });
    applyOrder(order);
}

} // namespace morvik
