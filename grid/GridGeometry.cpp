// Where the cells are on the screen: the first cells scrolled in, the cell under a point,
// the visible range and each cell's rectangle. Each rule is the axis's, asked once for the
// rows and once for the columns.
#include "grid/CGridCtrl.h"

#include <QScrollBar>

namespace morvik {

QScrollBar* CGridCtrl::scrollBar(Qt::Orientation o) const {
    return o == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
}

CCellID CGridCtrl::topLeftNonFixedCell() const {
    return CCellID(m_store.rows().firstVisible(verticalScrollBar()->value()),
                   m_store.columns().firstVisible(horizontalScrollBar()->value()));
}

CCellID CGridCtrl::cellFromPoint(const QPoint& p, bool allowFixed) const {
    const CCellID first = topLeftNonFixedCell();
    return CCellID(m_store.rows().lineAt(p.y(), first.row, allowFixed),
                   m_store.columns().lineAt(p.x(), first.col, allowFixed));
}

CCellRange CGridCtrl::visibleNonFixedCellRange(QRect* rect) const {
    const QRect client = viewport()->rect();
    const CCellID first = topLeftNonFixedCell();
    int bottom = 0, right = 0;
    const int maxRow = m_store.rows().lastVisible(first.row, client.height(), &bottom);
    const int maxCol = m_store.columns().lastVisible(first.col, client.width(), &right);
    if (rect)
        *rect = QRect(QPoint(fixedColumnWidth(), fixedRowHeight()), QPoint(right, bottom));
    return CCellRange{first.row, first.col, maxRow, maxCol};
}

// A last row or column that is cut by the client edge is not fully visible, even when it is
// the only one; when the fixed rows (columns) fill the client area the range is empty
// (maximum below minimum).
CCellRange CGridCtrl::fullyVisibleNonFixedCellRange() const {
    CCellRange r = visibleNonFixedCellRange();
    const QRect client = viewport()->rect();
    r.maxRow = m_store.rows().lastFullyVisible(r.minRow, r.maxRow, client.height());
    r.maxCol = m_store.columns().lastFullyVisible(r.minCol, r.maxCol, client.width());
    return r;
}

bool CGridCtrl::cellOrigin(int row, int col, QPoint* p) const {
    if (!isValid(row, col))
        return false;
    const CCellID first = topLeftNonFixedCell();
    int x = 0, y = 0;
    if (!m_store.columns().start(col, first.col, &x) || !m_store.rows().start(row, first.row, &y))
        return false;
    if (p)
        *p = QPoint(x, y);
    return true;
}

bool CGridCtrl::cellRect(int row, int col, QRect* rect) const {
    QPoint origin;
    if (!cellOrigin(row, col, &origin))
        return false;
    if (rect)
        *rect = QRect(origin, QSize(columnWidth(col), rowHeight(row)));
    return true;
}

bool CGridCtrl::isCellVisible(int row, int col) const {
    QPoint origin;
    if (!cellOrigin(row, col, &origin))
        return false;
    const QRect client = viewport()->rect();
    return origin.x() <= client.right() && origin.y() <= client.bottom();
}

} // namespace morvik
