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
    m_vScrollMax = m_store.rows().scrollMaximum(pageH);
    m_hScrollMax = m_store.columns().scrollMaximum(pageW);
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

// The scroll bar's own step and page moves are undone and replaced by the grid's, which
// move by whole cells.
void CGridCtrl::onScrollAction(Qt::Orientation o, int action) {
    static const struct {
        int action;
        ScrollCode code;
    } kActions[] = {
        {QAbstractSlider::SliderSingleStepSub, LineBack},
        {QAbstractSlider::SliderSingleStepAdd, LineForward},
        {QAbstractSlider::SliderPageStepSub, PageBack},
        {QAbstractSlider::SliderPageStepAdd, PageForward},
        {QAbstractSlider::SliderToMinimum, ToStart},
        {QAbstractSlider::SliderToMaximum, ToEnd},
        {QAbstractSlider::SliderMove, ThumbTrack},
    };
    QScrollBar* bar = scrollBar(o);
    for (const auto& a : kActions) {
        if (a.action != action)
            continue;
        if (a.code == ThumbTrack) {
            scrollBy(o, ThumbTrack, bar->sliderPosition());
            return;
        }
        if (a.code != ToStart && a.code != ToEnd)
            bar->setSliderPosition(bar->value());
        scrollBy(o, a.code);
        return;
    }
}

void CGridCtrl::scrollBy(Qt::Orientation o, ScrollCode code, int trackPos) {
    if (!hasFocus())
        setFocus(Qt::OtherFocusReason); // a running edit ends before its cell moves
    hideTitleTip();
    const bool horizontal = o == Qt::Horizontal;
    const GridAxis& lines = axis(o);
    QScrollBar* bar = scrollBar(o);
    const QRect client = viewport()->rect();
    const int fixedEnd = lines.fixedExtent();
    // The scrolled area: everything right of the fixed columns (or below the fixed rows),
    // headings included, since they move with the cells.
    const QRect area = horizontal ? QRect(QPoint(fixedEnd, 0), client.bottomRight())
                                  : QRect(QPoint(0, fixedEnd), client.bottomRight());
    const int pos = bar->value();
    const int first = lines.firstVisible(pos);
    switch (code) {
    case LineBack:
        if (pos > 0 && first > lines.fixedCount()) {
            bar->setValue(std::max(0, pos - lines.size(first - 1)));
            shiftByCells(o, first, area);
        }
        break;
    case LineForward:
        if (pos < (horizontal ? m_hScrollMax : m_vScrollMax) && first >= 0 &&
            first < lines.count()) {
            bar->setValue(pos + lines.size(first));
            shiftByCells(o, first, area);
        }
        break;
    case PageBack:
    case PageForward: {
        const int page = (horizontal ? client.width() : client.height()) - fixedEnd;
        const int target = code == PageBack ? pos - page : pos + page;
        bar->setValue(std::clamp(target, 0, std::max(0, bar->maximum())));
        viewport()->update(area);
        break;
    }
    case ThumbTrack:
        bar->setValue(trackPos);
        if (lines.firstVisible(bar->value()) != first)
            viewport()->update(area);
        break;
    case ToStart:
    case ToEnd:
        bar->setValue(code == ToStart ? 0 : bar->maximum());
        viewport()->update();
        break;
    }
}

// Cells are drawn from the first visible cell on, so the picture moves by whole cells: by the
// sizes of the cells between the old and the new first cell. The uncovered strip is
// repainted; a move of several cells repaints the whole area.
void CGridCtrl::shiftByCells(Qt::Orientation o, int from, const QRect& area) {
    const GridAxis& lines = axis(o);
    const int to = lines.firstVisible(scrollBar(o)->value());
    if (from == to)
        return;
    if (std::abs(to - from) != 1) {
        viewport()->update(area);
        return;
    }
    const int shift = to > from ? -lines.size(from) : lines.size(to);
    const bool horizontal = o == Qt::Horizontal;
    viewport()->scroll(horizontal ? shift : 0, horizontal ? 0 : shift, area);
}

void CGridCtrl::ensureVisible(int row, int col) {
    if (!isValid(row, col))
        return;
    const CCellRange vis = visibleNonFixedCellRange();
    for (int n = col - vis.maxCol; n > 0; --n)
        scrollBy(Qt::Horizontal, LineForward);
    for (int n = vis.minCol - col; n > 0 && col >= fixedColumnCount(); --n)
        scrollBy(Qt::Horizontal, LineBack);
    for (int n = row - vis.maxRow; n > 0; --n)
        scrollBy(Qt::Vertical, LineForward);
    for (int n = vis.minRow - row; n > 0 && row >= fixedRowCount(); --n)
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
    if (row < fixedRowCount() || col < fixedColumnCount())
        f.setWeight(QFont::Weight(600));
    const QFontMetrics fm(f);
    const QSize text = fm.size(0, c->text);
    QSize size(text.width() + 4 * m_margin, text.height() + 2 * m_margin);
    if (c->image >= 0 && c->image < int(m_imageList.size())) {
        const QPixmap& img = m_imageList[std::size_t(c->image)];
        size.rwidth() += img.width();
        size.setHeight(std::max(size.height(), img.height()));
    }
    return size;
}

// A column takes the widest of its cells, a row the tallest.
bool CGridCtrl::autoSize(Qt::Orientation o, int index) {
    const bool columns = o == Qt::Horizontal;
    GridAxis& lines = axisOf(o);
    if (index < 0 || index >= lines.count())
        return false;
    int extent = 0;
    for (int i = 0; i < (columns ? rowCount() : columnCount()); ++i) {
        const QSize size = columns ? measureCell(i, index) : measureCell(index, i);
        extent = std::max(extent, columns ? size.width() : size.height());
    }
    lines.setSize(index, extent);
    resetScrollBars();
    return true;
}

bool CGridCtrl::autoSizeColumn(int col) {
    return autoSize(Qt::Horizontal, col);
}

bool CGridCtrl::autoSizeRow(int row) {
    return autoSize(Qt::Vertical, row);
}

} // namespace morvik
