#include "grid/GridAxis.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace morvik {

void GridAxis::resize(int n, int defaultSize) {
    m_sizes.resize(std::size_t(std::max(n, 0)), defaultSize);
    m_fixed = std::min(m_fixed, count());
}

void GridAxis::setFixedCount(int n) {
    m_fixed = std::clamp(n, 0, count());
}

void GridAxis::clear() {
    m_sizes.clear();
    m_fixed = 0;
}

int GridAxis::size(int index) const {
    return index >= 0 && index < count() ? m_sizes[std::size_t(index)] : -1;
}

bool GridAxis::setSize(int index, int size) {
    if (index < 0 || index >= count() || size < 0)
        return false;
    m_sizes[std::size_t(index)] = size;
    return true;
}

void GridAxis::swap(int a, int b) {
    std::swap(m_sizes[std::size_t(a)], m_sizes[std::size_t(b)]);
}

int GridAxis::fixedExtent() const {
    return std::accumulate(m_sizes.begin(), m_sizes.begin() + m_fixed, 0);
}

int GridAxis::totalExtent() const {
    return std::accumulate(m_sizes.begin(), m_sizes.end(), 0);
}

int GridAxis::firstVisible(int pos) const {
    int index = m_fixed;
    for (int sum = 0; sum < pos && index < count() - 1;)
        sum += m_sizes[std::size_t(index++)];
    return index;
}

int GridAxis::lineAt(int p, int first, bool allowFixed) const {
    const int fixedEnd = fixedExtent();
    if (p < 0 || (!allowFixed && p < fixedEnd))
        return -1;
    // In the fixed lines the search starts at line 0, beyond them at the first visible one.
    int index = p < fixedEnd ? 0 : first;
    const int last = p < fixedEnd ? m_fixed : count();
    for (int end = p < fixedEnd ? 0 : fixedEnd; index < last; ++index) {
        end += m_sizes[std::size_t(index)];
        if (end > p)
            break;
    }
    return index >= count() ? -1 : index;
}

bool GridAxis::start(int index, int first, int* pixel) const {
    if (index < 0 || index >= count() || (index >= m_fixed && index < first))
        return false;
    const int from = index < m_fixed ? 0 : first;
    int at = index < m_fixed ? 0 : fixedExtent();
    for (int i = from; i < index; ++i)
        at += m_sizes[std::size_t(i)];
    if (pixel)
        *pixel = at;
    return true;
}

int GridAxis::lastVisible(int first, int extent, int* end) const {
    int at = fixedExtent();
    int index = first;
    for (; index < count(); ++index) {
        at += m_sizes[std::size_t(index)];
        if (at >= extent)
            break;
    }
    if (end)
        *end = at;
    return std::min(index, count() - 1);
}

int GridAxis::lastFullyVisible(int first, int last, int extent) const {
    if (last < first || first < 0)
        return last;
    int end = fixedExtent() - 1;
    for (int i = first; i <= last; ++i)
        end += m_sizes[std::size_t(i)];
    return end > extent - 1 ? last - 1 : last;
}

int GridAxis::scrollMaximum(int page) const {
    const int scrolled = totalExtent() - fixedExtent();
    return page < scrolled ? scrolled - 1 : 0;
}

} // namespace morvik
