#include "grid/GridCellStore.h"

#include <utility>

namespace morvik {

GridCellStore::GridCellStore(MakeCell make, ClearCell clear)
    : m_make(std::move(make)), m_clear(std::move(clear)) {}

GridCellStore::~GridCellStore() {
    removeAll();
}

CGridCell* GridCellStore::cell(int row, int col) const {
    if (!isValid(row, col) || row >= int(m_cells.size()))
        return nullptr;
    const auto& cells = m_cells[std::size_t(row)];
    return col < int(cells.size()) ? cells[std::size_t(col)] : nullptr;
}

void GridCellStore::dispose(CGridCell* c) {
    if (!c)
        return;
    if (m_clear)
        m_clear(c);
    delete c;
}

void GridCellStore::setRowCount(int n, int size) {
    const int old = rowCount();
    for (int r = n; r < old; ++r)
        for (CGridCell* c : m_cells[std::size_t(r)])
            dispose(c);
    m_cells.resize(std::size_t(n));
    m_rows.resize(n, size);
    for (int r = old; r < n; ++r) {
        auto& cells = m_cells[std::size_t(r)];
        cells.resize(std::size_t(columnCount()), nullptr);
        for (int c = 0; c < columnCount(); ++c)
            cells[std::size_t(c)] = m_make(r, c);
    }
}

void GridCellStore::setColumnCount(int n, int size) {
    const int old = columnCount();
    for (auto& cells : m_cells) {
        for (int c = n; c < old; ++c)
            dispose(cells[std::size_t(c)]);
        cells.resize(std::size_t(n), nullptr);
    }
    m_cols.resize(n, size);
    for (int r = 0; r < rowCount(); ++r)
        for (int c = old; c < n; ++c)
            m_cells[std::size_t(r)][std::size_t(c)] = m_make(r, c);
}

void GridCellStore::swapRows(int a, int b) {
    std::swap(m_cells[std::size_t(a)], m_cells[std::size_t(b)]);
    m_rows.swap(a, b);
}

void GridCellStore::sortRows(int col, bool ascending, int low, int high) {
    if (high <= low)
        return;
    auto text = [&](int row) {
        const CGridCell* c = cell(row, col);
        return c ? c->text : QString();
    };
    auto before = [&](const QString& a, const QString& b) {
        return ascending ? QString::compare(a, b) < 0 : QString::compare(a, b) > 0;
    };
    const QString middle = text((low + high) / 2);
    int lo = low, hi = high;
    while (lo <= hi) {
        while (lo < high && before(text(lo), middle))
            ++lo;
        while (hi > low && before(middle, text(hi)))
            --hi;
        if (lo <= hi) {
            if (text(lo) != text(hi))
                swapRows(lo, hi);
            ++lo;
            --hi;
        }
    }
    if (low < hi)
        sortRows(col, ascending, low, hi);
    if (lo < high)
        sortRows(col, ascending, lo, high);
}

void GridCellStore::removeAll() {
    for (auto& cells : m_cells)
        for (CGridCell* c : cells)
            dispose(c);
    m_cells.clear();
    m_rows.clear();
    m_cols.clear();
}

} // namespace morvik
