#pragma once
// The cells of a grid, rows x columns, with the two axes that carry the counts, the fixed
// counts and the sizes. It needs no widget: the grid control draws, edits and selects what
// it holds, and decides through the two callbacks how a cell is made and let go.
//
// Every access outside the structure is refused quietly (no cell, false).

#include "grid/CGridCell.h"
#include "grid/GridAxis.h"

#include <functional>
#include <vector>

namespace morvik {

class GridCellStore {
public:
    // Makes the cell for (row, col); the cells of the rows above are there already.
    using MakeCell = std::function<CGridCell*(int row, int col)>;
    // Clears a cell about to be deleted.
    using ClearCell = std::function<void(CGridCell*)>;

    GridCellStore(MakeCell make, ClearCell clear);
    ~GridCellStore();
    GridCellStore(const GridCellStore&) = delete;
    GridCellStore& operator=(const GridCellStore&) = delete;

    const GridAxis& rows() const { return m_rows; }
    const GridAxis& columns() const { return m_cols; }
    GridAxis& rows() { return m_rows; }
    GridAxis& columns() { return m_cols; }
    int rowCount() const { return m_rows.count(); }
    int columnCount() const { return m_cols.count(); }

    bool isValid(int row, int col) const {
        return row >= 0 && row < rowCount() && col >= 0 && col < columnCount();
    }
    CGridCell* cell(int row, int col) const;

    // Removed lines' cells are cleared and deleted; added lines get `size` and new cells.
    void setRowCount(int n, int size);
    void setColumnCount(int n, int size);
    // Rows keep their heights when they move.
    void swapRows(int a, int b);
    // Sorts rows low..high by the text in `col` (a quicksort around the middle row's text).
    void sortRows(int col, bool ascending, int low, int high);
    void removeAll();

    template <class F> void forEachCell(F f) const {
        for (const auto& row : m_cells)
            for (CGridCell* c : row)
                if (c)
                    f(*c);
    }

private:
    void dispose(CGridCell* c);

    MakeCell m_make;
    ClearCell m_clear;
    GridAxis m_rows;
    GridAxis m_cols;
    std::vector<std::vector<CGridCell*>> m_cells;
};

} // namespace morvik
