#include "grid/GridSelection.h"

#include <algorithm>

namespace morvik {

void GridSelection::noteState(int row, int col, std::uint32_t before, std::uint32_t after) {
    if ((before & CellSelected) && !(after & CellSelected))
        m_selected.remove(key(row, col));
    else if (!(before & CellSelected) && (after & CellSelected))
        m_selected.insert(key(row, col), CCellID(row, col));
}

void GridSelection::dropBeyond(int rows, int cols) {
    for (auto* set : {&m_selected, &m_previous})
        set->removeIf([&](const auto& entry) {
            return entry.value().row >= rows || entry.value().col >= cols;
        });
}

void GridSelection::clear() {
    m_selected.clear();
    m_previous.clear();
    focus = CCellID();
}

CCellRange GridSelection::bounds(int rows, int cols) const {
    CCellRange r{rows, cols, -1, -1};
    for (const CCellID& id : m_selected) {
        r.minRow = std::min(r.minRow, id.row);
        r.minCol = std::min(r.minCol, id.col);
        r.maxRow = std::max(r.maxRow, id.row);
        r.maxCol = std::max(r.maxCol, id.col);
    }
    return r;
}

std::vector<CCellID> GridSelection::sortedCells() const {
    std::vector<CCellID> out(m_selected.begin(), m_selected.end());
    std::sort(out.begin(), out.end(), [](const CCellID& a, const CCellID& b) {
        return a.row != b.row ? a.row < b.row : a.col < b.col;
    });
    return out;
}

// Unlike columns, rows have no fixed-line condition: a drag from a row heading up into the
// heading rows takes them into the selection.
std::optional<CCellRange> GridSelection::spanTo(SelectionSpan span, const CCellID& current,
                                                const GridCellStore& store,
                                                bool singleRowList) const {
    const int fixedRows = store.rows().fixedCount();
    const int fixedCols = store.columns().fixedCount();
    const int lastRow = store.rowCount() - 1;
    const int lastCol = store.columnCount() - 1;
    switch (span) {
    case SelectionSpan::All:
        return CCellRange{fixedRows, fixedCols, lastRow, lastCol};
    case SelectionSpan::Columns:
        if (current.col < fixedCols)
            return std::nullopt;
        return CCellRange{fixedRows, std::min(start.col, current.col), lastRow,
                          std::max(start.col, current.col)};
    case SelectionSpan::Rows:
        if (singleRowList)
            return CCellRange{current.row, fixedCols, current.row, lastCol};
        return CCellRange{std::min(start.row, current.row), fixedCols,
                          std::max(start.row, current.row), lastCol};
    case SelectionSpan::Cells:
        if (!store.isValid(current.row, current.col) || current.row < fixedRows ||
            current.col < fixedCols)
            return std::nullopt;
        return CCellRange{std::min(start.row, current.row), std::min(start.col, current.col),
                          std::max(start.row, current.row), std::max(start.col, current.col)};
    }
    return std::nullopt;
}

void GridSelection::setSelected(GridCellStore& store, int row, int col, bool on) {
    CGridCell* c = store.cell(row, col);
    if (!c)
        return;
    const std::uint32_t after =
        on ? (c->state | CellSelected) : (c->state & ~std::uint32_t(CellSelected));
    noteState(row, col, c->state, after);
    c->state = after;
}

void GridSelection::apply(const CCellRange& range, GridCellStore& store, bool keepPrevious,
                          const std::function<void(int, int)>& changed) {
    const auto current = m_selected; // copy: deselecting changes the set
    for (const CCellID& id : current) {
        setSelected(store, id.row, id.col, false);
        if (!range.contains(id))
            changed(id.row, id.col);
    }
    if (keepPrevious) {
        for (const CCellID& id : std::as_const(m_previous)) {
            if (!store.isValid(id.row, id.col))
                continue;
            setSelected(store, id.row, id.col, true);
            changed(id.row, id.col);
        }
    }
    // Validity here does not ask for the minimum row to be below the maximum: an inverted
    // row span simply selects nothing.
    if (range.minRow < 0 || range.minCol < 0 || range.maxRow < 0 || range.maxCol < 0 ||
        range.maxRow >= store.rowCount() || range.maxCol >= store.columnCount() ||
        range.maxCol < range.minCol)
        return;
    for (int r = range.minRow; r <= range.maxRow; ++r)
        for (int c = range.minCol; c <= range.maxCol; ++c) {
            if (contains(r, c))
                continue;
            setSelected(store, r, c, true);
            changed(r, c);
        }
}

} // namespace morvik
