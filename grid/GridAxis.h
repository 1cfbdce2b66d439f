#pragma once
// One direction of the grid, its rows or its columns: how many lines there are, how many of
// the first ones are fixed headings, the size of each line, and the pixel geometry that
// follows from those sizes and a scroll position. The grid holds two of these, one per
// direction, so each rule of the geometry is written once.
//
// Positions are in pixels from the start of the client area. A line of size 0 is hidden: it
// takes no pixels and no point ever lies in it. Indexes outside the axis are refused quietly.

#include <vector>

namespace morvik {

class GridAxis {
public:
    int count() const { return int(m_sizes.size()); }
    int fixedCount() const { return m_fixed; }
    // New lines get `defaultSize`; the fixed count never exceeds the count.
    void resize(int n, int defaultSize);
    void setFixedCount(int n);
    void clear();

    int size(int index) const; // -1 outside the axis
    bool setSize(int index, int size);
    const std::vector<int>& sizes() const { return m_sizes; }
    void swap(int a, int b);

    int fixedExtent() const; // the pixels of the fixed lines
    int totalExtent() const; // the pixels of all lines

    // The first non-fixed line shown at scroll position `pos`: lines are skipped while their
    // sizes add up to less than the position, but never the last one.
    int firstVisible(int pos) const;
    // The line under pixel `p` with `first` the first visible non-fixed line; -1 before the
    // start, beyond the last line, or in the fixed lines when those are not allowed.
    int lineAt(int p, int first, bool allowFixed) const;
    // Where line `index` starts; false for a non-fixed line scrolled out before `first`.
    bool start(int index, int first, int* pixel) const;
    // The last line that begins inside a client area of `extent` pixels; the end of the
    // lines counted so far goes to *end.
    int lastVisible(int first, int extent, int* end = nullptr) const;
    // The last line, from `first` up to `last`, that ends inside the client area; a last line
    // cut by the client edge does not count.
    int lastFullyVisible(int first, int last, int extent) const;
    // The largest scroll position in pixels (0 when everything fits): the non-fixed lines
    // less one pixel, when they exceed the `page`.
    int scrollMaximum(int page) const;

private:
    std::vector<int> m_sizes;
    int m_fixed = 0;
};

} // namespace morvik
