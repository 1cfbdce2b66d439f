// Scroll bars in pixels, the scroll steps (a line is the width or height of the cell at the
// edge), ensure-visible and automatic sizing.
#include "grid/CGridCtrl.h"

#include <QFontMetrics>
#include <QResizeEvent>
#include <QScrollBar>

namespace morvik {

namespace {
// One flag for every grid of the process: showing or hiding a scroll bar resizes the grid,
// which must not recompute the scroll bars again from inside that recomputation.
bool g_inSizeHandling = false;
} // namespace

void CGridCtrl::resetScrollBars() {
    if (!m_allowDraw)
        return;
    const QRect client = viewport()->rect();
    const int pageW = client.width() - fixedColumnWidth();
    const int pageH = client.height() - fixedRowHeight();
    if (pageW <= 0 || pageH <= 0)
        return;
    const int scrollH = virtualHeight() - fixedRowHeight();
    const int scrollW = virtualWidth() - fixedColumnWidth();
    m_vScrollMax = pageH < scrollH ? scrollH - 1 : 0;
    m_hScrollMax = pageW < scrollW ? scrollW - 1 : 0;
    // The thumb can travel until the last page is shown: maximum - page + 1.
    verticalScrollBar()->setPageStep(pageH);
    verticalScrollBar()->setRange(0, m_vScrollMax > 0 ? m_vScrollMax - pageH + 1 : 0);
    horizontalScrollBar()->setPageStep(pageW);
    horizontalScrollBar()->setRange(0, m_hScrollMax > 0 ? m_hScrollMax - pageW + 1 : 0);
}

void CGridCtrl::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    if (g_inSizeHandling)
        return;
    g_inSizeHandling = true;
    if (isVisible() && window()->isActiveWindow())
        setFocus(Qt::OtherFocusReason); // ends a running edit
    resetScrollBars();
    g_inSizeHandling = false;
}

bool CGridCtrl::viewportEvent(QEvent* e) {
    // A scroll bar appearing or going away resizes the viewport, not the grid.
    if (e->type() == QEvent::Resize && !g_inSizeHandling) {
        g_inSizeHandling = true;
        resetScrollBars();
        g_inSizeHandling = false;
    }
    return QAbstractScrollArea::viewportEvent(e);
}

void CGridCtrl::setDrawingAllowed(bool on) {
    m_allowDraw = on;
    if (on) {
        resetScrollBars();
        viewport()->update();
    }
}

int CGridCtrl::positionOf(Qt::Orientation o) const {
    return o == Qt::Horizontal ? horizontalScrollBar()->value() : verticalScrollBar()->value();
}

int CGridCtrl::maximumOf(Qt::Orientation o) const {
    return o == Qt::Horizontal ? m_hScrollMax : m_vScrollMax;
}

void CGridCtrl::invalidateNonFixed() {
    viewport()->update();
}

void CGridCtrl::onScrollAction(Qt::Orientation o, int action) {
    QScrollBar* bar = o == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        bar->setSliderPosition(bar->value());
        scrollBy(o, LineBack);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        bar->setSliderPosition(bar->value());
        scrollBy(o, LineForward);
        break;
    case QAbstractSlider::SliderPageStepSub:
        bar->setSliderPosition(bar->value());
        scrollBy(o, PageBack);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        bar->setSliderPosition(bar->value());
        scrollBy(o, PageForward);
        break;
    case QAbstractSlider::SliderToMinimum:
        scrollBy(o, ToStart);
        break;
    case QAbstractSlider::SliderToMaximum:
        scrollBy(o, ToEnd);
        break;
    case QAbstractSlider::SliderMove:
        scrollBy(o, ThumbTrack, bar->sliderPosition());
        break;
    default:
        break;
    }
}

void CGridCtrl::scrollBy(Qt::Orientation o, ScrollCode code, int trackPos) {
    if (!hasFocus())
        setFocus(Qt::OtherFocusReason); // a running edit ends before its cell moves
    hideTitleTip();
    const bool horizontal = o == Qt::Horizontal;
    QScrollBar* bar = horizontal ? horizontalScrollBar() : verticalScrollBar();
    const QRect client = viewport()->rect();
    const int fixedW = fixedColumnWidth();
    const int fixedH = fixedRowHeight();
    // The scrolled area: everything right of the fixed columns (or below the fixed rows),
    // headings included, since they move with the cells.
    const QRect area = horizontal ? QRect(QPoint(fixedW, 0), client.bottomRight())
                                  : QRect(QPoint(0, fixedH), client.bottomRight());
    const int pos = bar->value();
    const CCellID topLeft = topLeftNonFixedCell();
    auto moveTo = [&](int newPos) {
        bar->setValue(newPos);
        return bar->value() - pos;
    };
    switch (code) {
    case LineBack: {
        const int first = horizontal ? m_fixedCols : m_fixedRows;
        const int edge = horizontal ? topLeft.col : topLeft.row;
        if (pos > 0 && edge > first) {
            const int step = horizontal ? m_colWidths[edge - 1] : m_rowHeights[edge - 1];
            moveTo(std::max(0, pos - step));
            shiftByCells(o, topLeft, area);
        }
        break;
    }
    case LineForward: {
        const int edge = horizontal ? topLeft.col : topLeft.row;
        if (pos < maximumOf(o) && edge >= 0 && edge < (horizontal ? m_colCount : m_rowCount)) {
            const int step = horizontal ? m_colWidths[edge] : m_rowHeights[edge];
            moveTo(pos + step);
            shiftByCells(o, topLeft, area);
        }
        break;
    }
    case PageBack:
    case PageForward: {
        const int page = horizontal ? client.width() - fixedW : client.height() - fixedH;
        const int target = code == PageBack ? pos - page : pos + page;
        moveTo(std::clamp(target, 0, std::max(0, bar->maximum())));
        viewport()->update(area);
        break;
    }
    case ThumbTrack:
        moveTo(trackPos);
        if (!(topLeftNonFixedCell() == topLeft))
            viewport()->update(area);
        break;
    case ToStart:
        moveTo(0);
        viewport()->update();
        break;
    case ToEnd:
        moveTo(bar->maximum());
        viewport()->update();
        break;
    }
}

// Cells are drawn from the first visible cell on, so the picture moves by whole cells: by the
// sizes of the cells between the old and the new first cell. The uncovered strip is
// repainted; a move of several cells repaints the whole area.
void CGridCtrl::shiftByCells(Qt::Orientation o, const CCellID& oldTopLeft, const QRect& area) {
    const CCellID now = topLeftNonFixedCell();
    const bool horizontal = o == Qt::Horizontal;
    const int from = horizontal ? oldTopLeft.col : oldTopLeft.row;
    const int to = horizontal ? now.col : now.row;
    if (from == to)
        return;
    if (std::abs(to - from) != 1) {
        viewport()->update(area);
        return;
    }
    const std::vector<int>& sizes = horizontal ? m_colWidths : m_rowHeights;
    const int shift = to > from ? -sizes[from] : sizes[to];
    viewport()->scroll(horizontal ? shift : 0, horizontal ? 0 : shift, area);
}

void CGridCtrl::ensureVisible(int row, int col) {
    if (!isValid(row, col))
        return;
    const CCellRange vis = visibleNonFixedCellRange();
    for (int n = col - vis.maxCol; n > 0; --n)
        scrollBy(Qt::Horizontal, LineForward);
    for (int n = vis.minCol - col; n > 0 && col >= m_fixedCols; --n)
        scrollBy(Qt::Horizontal, LineBack);
    for (int n = row - vis.maxRow; n > 0; --n)
        scrollBy(Qt::Vertical, LineForward);
    for (int n = vis.minRow - row; n > 0 && row >= m_fixedRows; --n)
        scrollBy(Qt::Vertical, LineBack);
    QRect rect;
    const QRect client = viewport()->rect();
    if (cellRect(row, col, &rect)) {
        if (rect.right() > client.right())
            scrollBy(Qt::Horizontal, LineForward);
        if (rect.bottom() > client.bottom())
            scrollBy(Qt::Vertical, LineForward);
    }
}

QSize CGridCtrl::measureCell(int row, int col) const {
    const CGridCell* c = cell(row, col);
    if (!c)
        return QSize();
    QFont f = c->font;
    if (row < m_fixedRows || col < m_fixedCols)
        f.setWeight(QFont::Weight(600));
    const QFontMetrics fm(f);
    const QSize text = fm.size(0, c->text);
    QSize size(text.width() + 4 * m_margin, text.height() + 2 * m_margin);
    if (c->image >= 0 && c->image < int(m_imageList.size())) {
        const QPixmap& img = m_imageList[c->image];
        size.rwidth() += img.width();
        size.setHeight(std::max(size.height(), img.height()));
    }
    return size;
}

bool CGridCtrl::autoSizeColumn(int col) {
    if (col < 0 || col >= m_colCount)
        return false;
    int width = 0;
    for (int r = 0; r < m_rowCount; ++r)
        width = std::max(width, measureCell(r, col).width());
    m_colWidths[col] = width;
    resetScrollBars();
    return true;
}

bool CGridCtrl::autoSizeRow(int row) {
    if (row < 0 || row >= m_rowCount)
        return false;
    int height = 0;
    for (int c = 0; c < m_colCount; ++c)
        height = std::max(height, measureCell(row, c).height());
    m_rowHeights[row] = height;
    resetScrollBars();
    return true;
}

} // namespace morvik
