#include "controls/ListRowsModel.h"

#include <algorithm>

namespace morvik {

int ListRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int ListRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(headings_.size());
}

QVariant ListRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::CheckStateRole) {
        if (index.column() != 0)
            return {};
        return int(rows_[size_t(index.row())].checked ? Qt::Checked : Qt::Unchecked);
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const QStringList& shown = rows_[size_t(index.row())].shown;
    return index.column() < shown.size() ? shown[index.column()] : QString();
}

QVariant ListRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= int(headings_.size()))
        return {};
    if (role == Qt::DisplayRole)
        return headings_[size_t(section)].name;
    if (role == Qt::TextAlignmentRole)
        return int(headings_[size_t(section)].alignment | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags ListRowsModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == 0)
        f |= Qt::ItemIsEditable | Qt::ItemIsUserCheckable;
    return f;
}

bool ListRowsModel::setData(const QModelIndex&, const QVariant&, int) {
    return false;
}

void ListRowsModel::appendHeading(const ListHeading& heading) {
    const int c = int(headings_.size());
    beginInsertColumns({}, c, c);
    headings_.push_back(heading);
    endInsertColumns();
}

int ListRowsModel::appendRow(ListRow row) {
    const int r = int(rows_.size());
    beginInsertRows({}, r, r);
    rows_.push_back(std::move(row));
    endInsertRows();
    return r;
}

void ListRowsModel::insertSortedRows(const std::vector<int>& at, std::vector<ListRow> rows) {
    if (rows.empty())
        return;
    const int first = at.front();
    const int last = at.back();
    if (last - first + 1 == int(rows.size())) {
        beginInsertRows({}, first, last);
        rows_.insert(rows_.begin() + first, std::make_move_iterator(rows.begin()),
                     std::make_move_iterator(rows.end()));
        endInsertRows();
        return;
    }
    // Like a scattered removal, a scattered insertion is one reset, not one per run. The
    // rows are merged from the end, in place, so no row is moved twice.
    beginResetModel();
    size_t kept = rows_.size();
    rows_.resize(rows_.size() + rows.size());
    size_t next = rows.size();
    for (size_t r = rows_.size(); r-- > size_t(first);) {
        if (next > 0 && size_t(at[next - 1]) == r)
            rows_[r] = std::move(rows[--next]);
        else
            rows_[r] = std::move(rows_[--kept]);
    }
    endResetModel();
}

bool ListRowsModel::setShownText(int r, int column, const QString& text) {
    if (!hasRow(r) || column < 0 || column >= int(headings_.size()))
        return false;
    QStringList& shown = rows_[size_t(r)].shown;
    while (shown.size() <= column)
        shown.append(QString());
    shown[column] = text;
    const QModelIndex i = index(r, column);
    emit dataChanged(i, i, {Qt::DisplayRole});
    return true;
}

void ListRowsModel::setShownColumn(int column, int first, const QStringList& texts) {
    int top = -1;
    int bottom = -1;
    for (int i = 0; i < texts.size(); ++i) {
        QStringList& shown = rows_[size_t(first + i)].shown;
        while (shown.size() <= column)
            shown.append(QString());
        if (shown[column] == texts[i])
            continue;
        shown[column] = texts[i];
        if (top < 0)
            top = first + i;
        bottom = first + i;
    }
    if (top >= 0)
        emit dataChanged(index(top, column), index(bottom, column), {Qt::DisplayRole});
}

void ListRowsModel::removeRowAt(int r) {
    if (!hasRow(r))
        return;
    beginRemoveRows({}, r, r);
    rows_.erase(rows_.begin() + r);
    endRemoveRows();
}

void ListRowsModel::removeSortedRows(const std::vector<int>& rows) {
    if (rows.empty())
        return;
    const int first = rows.front();
    const int last = rows.back();
    if (last - first + 1 == int(rows.size())) {
        beginRemoveRows({}, first, last);
        rows_.erase(rows_.begin() + first, rows_.begin() + last + 1);
        endRemoveRows();
        return;
    }
    // Every removal makes the view and its header walk all remaining rows, so scattered rows
    // go in one reset instead of one removal per run.
    beginResetModel();
    size_t kept = size_t(first);
    size_t next = 0;
    for (size_t r = size_t(first); r < rows_.size(); ++r) {
        if (next < rows.size() && size_t(rows[next]) == r) {
            ++next;
            continue;
        }
        rows_[kept++] = std::move(rows_[r]);
    }
    rows_.erase(rows_.begin() + std::ptrdiff_t(kept), rows_.end());
    endResetModel();
}

void ListRowsModel::removeAllRows() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void ListRowsModel::rowChanged(int r) {
    if (hasRow(r) && !headings_.empty())
        emit dataChanged(index(r, 0), index(r, int(headings_.size()) - 1));
}

bool ListRowsModel::setChecked(int r, bool checked) {
    bool& mark = rows_[size_t(r)].checked;
    if (mark == checked)
        return false;
    mark = checked;
    const QModelIndex i = index(r, 0);
    emit dataChanged(i, i, {Qt::CheckStateRole});
    return true;
}

void ListRowsModel::applyOrder(const std::vector<int>& order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(order.size());
    std::vector<ListRow> sorted;
    sorted.reserve(rows_.size());
    for (size_t i = 0; i < order.size(); ++i) {
        newRowOf[size_t(order[i])] = int(i);
        sorted.push_back(std::move(rows_[size_t(order[i])]));
    }
    rows_ = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before)
        after.append(index(newRowOf[size_t(i.row())], i.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace morvik
