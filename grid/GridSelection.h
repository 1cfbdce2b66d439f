#pragma once
// The focus cell and the selection of a grid: the selected cells (kept in step with the
// cells' CellSelected flags), the cells a Ctrl+click keeps selected from before, the cell a
// selection grows from, and the rules that turn a drag or a key into the range to select.

#include "grid/GridCellStore.h"

#include <QHash>
#include <functional>
#include <optional>
#include <vector>

namespace morvik {

// What a selection drag takes in: everything, whole columns, whole rows, or a rectangle.
enum class SelectionSpan { All, Columns, Rows, Cells };

class GridSelection {
public:
    CCellID focus;
    CCellID start; // where the selection grows from

    int count() const { return int(m_selected.size()); }
    bool contains(int row, int col) const { return m_selected.contains(key(row, col)); }
    // Keeps the set in step with a cell whose state goes from `before` to `after`.
    void noteState(int row, int col, std::uint32_t before, std::uint32_t after);
    // Forgets every cell at or beyond the given counts (they are going away).
    void dropBeyond(int rows, int cols);
    void clear();

    // A Ctrl+click keeps what is selected: it is remembered, then selected again by apply().
    void rememberCurrent() { m_previous = m_selected; }
    void forgetPrevious() { m_previous.clear(); }

    // The bounding range of the selected cells; (rows, cols, -1, -1) when there are none.
    CCellRange bounds(int rows, int cols) const;
    std::vector<CCellID> sortedCells() const;

    // The range a drag of `span` from `start` to `current` selects; none for a drag that
    // selects nothing (columns before the fixed ones, cells outside the normal ones). In
    // a list with single-row selection, rows select only the current one.
    std::optional<CCellRange> spanTo(SelectionSpan span, const CCellID& current,
                                     const GridCellStore& store, bool singleRowList) const;

    // Makes `range` the selection: every selected cell is deselected, the remembered cells
    // are selected again unless `keepPrevious` is off, and the cells of a valid range are
    // selected. `changed` hears of every cell whose look changes.
    void apply(const CCellRange& range, GridCellStore& store, bool keepPrevious,
               const std::function<void(int, int)>& changed);

private:
    static quint32 key(int row, int col) { return (quint32(col) << 16) | (quint32(row) & 0xFFFF); }
    void setSelected(GridCellStore& store, int row, int col, bool on);

    QHash<quint32, CCellID> m_selected;
    QHash<quint32, CCellID> m_previous;
};

} // namespace morvik
