// Painting of the grid: the background, the fixed block, headings, normal cells and grid
// lines, each cell by one helper. Rectangles follow the classic convention: a cell spans
// left..right and top..bottom with right = left + width - 1, fills exclude the right and
// bottom edges, and a line excludes its end point, so every pixel matches the original look.
#include "grid/CGridCtrl.h"
#include "grid/GridMouse.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>

namespace morvik {

namespace {

constexpr int kSemiBold = 600;

bool isPrinting(const QPainter& p) {
    const int type = p.device() ? p.device()->devType() : 0;
    return type == QInternal::Printer;
}

// Fill of the classic rectangle (l, t, r, b): right and bottom edges excluded.
void fillWin(QPainter& p, int l, int t, int r, int b, const QColor& c) {
    if (r > l && b > t)
        p.fillRect(QRect(l, t, r - l, b - t), c);
}

// An axis-aligned 1-pixel line from (x1, y1) towards (x2, y2), end point excluded.
void lineWin(QPainter& p, int x1, int y1, int x2, int y2, const QColor& c) {
    if (y1 == y2 && x1 != x2) {
        const int from = x1 < x2 ? x1 : x2 + 1;
        p.fillRect(QRect(from, y1, std::abs(x2 - x1), 1), c);
    } else if (x1 == x2 && y1 != y2) {
        const int from = y1 < y2 ? y1 : y2 + 1;
        p.fillRect(QRect(x1, from, 1, std::abs(y2 - y1)), c);
    }
}

// The outline of the classic Rectangle(l, t, r, b) with a 1-pixel pen: l..r-1, t..b-1.
void frameWin(QPainter& p, int l, int t, int r, int b, const QColor& c) {
    lineWin(p, l, t, r, t, c);
    lineWin(p, r - 1, t, r - 1, b, c);
    lineWin(p, l, b - 1, r, b - 1, c);
    lineWin(p, l, t, l, b, c);
}

int textFlags(std::uint32_t format) {
    // Without the no-prefix flag '&' underlines the next character and "&&" shows one '&'.
    int flags = (format & FormatNoPrefix) ? 0 : int(Qt::TextShowMnemonic);
    if (format & FormatCentre)
        flags |= Qt::AlignHCenter;
    else if (format & FormatRight)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if (format & FormatSingleLine) {
        if (format & FormatVCentre)
            flags |= Qt::AlignVCenter;
        else if (format & FormatBottom)
            flags |= Qt::AlignBottom;
        else
            flags |= Qt::AlignTop;
        flags |= Qt::TextSingleLine;
    } else {
        flags |= Qt::AlignTop;
        if (format & FormatWordBreak)
            flags |= Qt::TextWordWrap;
    }
    return flags;
}

void drawCellText(QPainter& p, int l, int t, int r, int b, const QString& text,
                  std::uint32_t format) {
    if (r <= l || b <= t || text.isEmpty())
        return;
    const QRect rect(l, t, r - l, b - t);
    const int flags = textFlags(format);
    QString shown = text;
    if (format & FormatEndEllipsis)
        shown = p.fontMetrics().elidedText(text, Qt::ElideRight, rect.width(),
                                           flags & Qt::TextShowMnemonic);
    p.save();
    p.setClipRect(rect, Qt::IntersectClip);
    p.drawText(rect, flags, shown);
    p.restore();
}

} // namespace

void CGridCtrl::paintEvent(QPaintEvent* e) {
    if (!m_allowDraw)
        return;
    QPainter p(viewport());
    onDraw(p, e->rect());
    if (!m_mouse->sizingBar.isNull()) {
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
        p.fillRect(m_mouse->sizingBar, Qt::black);
    }
}

void CGridCtrl::onDraw(QPainter& p, const QRect& clipBox) {
    if (clipBox.isEmpty())
        return;
    const int fixedW = fixedColumnWidth();
    const int fixedH = fixedRowHeight();
    QRect visRect;
    const CCellRange vis = visibleNonFixedCellRange(&visRect);
    const int visRight = visRect.right();
    const int visBottom = visRect.bottom();
    const int clipL = clipBox.left(), clipT = clipBox.top();
    const int clipR = clipBox.right() + 1, clipB = clipBox.bottom() + 1;

    const QColor fixedBk = toQColor(m_fixedBkColour);
    fillWin(p, clipL, clipT, fixedW, visBottom, fixedBk);
    fillWin(p, fixedW - 1, clipT, visRight, fixedH, fixedBk);
    fillWin(p, std::max(clipL, fixedW), std::max(clipT, fixedH), std::min(clipR, visRight),
            std::min(clipB, visBottom), toQColor(m_textBkColour));
    const QColor bk = toQColor(m_bkColour);
    fillWin(p, visRight, clipT, clipR, clipB, bk);
    fillWin(p, clipL, visBottom, visRight, clipB, bk);

    // Paints rows [r0, r1] from y0 down and columns [c0, c1] from x0 across, stopping at
    // the clip box; only cells that meet it are drawn.
    const std::vector<int>& heights = m_store.rows().sizes();
    const std::vector<int>& widths = m_store.columns().sizes();
    auto paintBlock = [&](int r0, int r1, int y0, int c0, int c1, int x0, bool fixed) {
        int y = y0;
        for (int r = r0; r <= r1 && y <= clipBox.bottom(); ++r) {
            int x = x0;
            for (int c = c0; c <= c1 && x <= clipBox.right(); ++c) {
                const QRect rect(x, y, widths[std::size_t(c)], heights[std::size_t(r)]);
                // A cell spans left..left + width - 1: an empty one meets nothing, and its
                // edges would land on its neighbours or on the background.
                if (!rect.isEmpty() && rect.intersects(clipBox)) {
                    if (fixed)
                        drawFixedCell(p, r, c, rect, false);
                    else
                        drawCell(p, r, c, rect, false);
                }
                x += widths[std::size_t(c)];
            }
            y += heights[std::size_t(r)];
        }
    };
    const int fixedRows = fixedRowCount();
    const int fixedCols = fixedColumnCount();
    paintBlock(0, fixedRows - 1, 0, 0, fixedCols - 1, 0, true);            // top-left block
    paintBlock(vis.minRow, vis.maxRow, fixedH, 0, fixedCols - 1, 0, true); // row headings
    paintBlock(0, fixedRows - 1, 0, vis.minCol, vis.maxCol, fixedW, true); // column headings
    paintBlock(vis.minRow, vis.maxRow, fixedH, vis.minCol, vis.maxCol, fixedW, false);

    // Grid lines over the normal cells: one after each visible line, across the others.
    const QColor line = toQColor(m_gridColour);
    if (m_gridLines == GridLinesBoth || m_gridLines == GridLinesVertical) {
        int x = fixedW - 1;
        for (int c = vis.minCol; c <= vis.maxCol; ++c) {
            x += widths[std::size_t(c)];
            lineWin(p, x, fixedH, x, visBottom, line);
        }
    }
    if (m_gridLines == GridLinesBoth || m_gridLines == GridLinesHorizontal) {
        int y = fixedH - 1;
        for (int r = vis.minRow; r <= vis.maxRow; ++r) {
            y += heights[std::size_t(r)];
            lineWin(p, fixedW, y, visRight, y, line);
        }
    }
}

bool CGridCtrl::drawFixedCell(QPainter& p, int row, int col, QRect rect, bool /*erase*/) {
    const CGridCell* c = m_allowDraw ? cell(row, col) : nullptr;
    if (!c)
        return false;
    const bool printing = isPrinting(p);
    int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    p.save();
    if (!printing)
        fillWin(p, l, t, r, b,
                toQColor(c->backColour == kDefaultColour ? m_fixedBkColour : c->backColour));
    const QColor fg = toQColor(c->textColour == kDefaultColour ? m_fixedTextColour : c->textColour);

    const CCellID focus = m_sel.focus;
    const bool emphasised = isValid(focus) && (row == focus.row || col == focus.col);
    QFont f = c->font;
    if (emphasised)
        f.setWeight(QFont::Weight(kSemiBold));
    p.setFont(f);

    const QPalette& pal = palette();
    if (!emphasised) {
        const QColor light = pal.color(QPalette::Light);
        const QColor dark = pal.color(QPalette::Shadow);
        lineWin(p, r, t, l, t, light);
        lineWin(p, l, t, l, b, light);
        lineWin(p, r, t, r, b, dark);
        lineWin(p, r, b, l, b, dark);
        ++l, ++t, --r, --b;
    } else {
        // Sunken inner edge over the cell enlarged by one pixel right and bottom.
        const int er = r + 1, eb = b + 1;
        const QColor dark = pal.color(QPalette::Shadow);
        const QColor light = pal.color(QPalette::Midlight);
        lineWin(p, l, t, l, eb, dark);
        lineWin(p, l, t, er, t, dark);
        lineWin(p, er - 1, t, er - 1, eb, light);
        lineWin(p, l, eb - 1, er, eb - 1, light);
        ++l, ++t;
    }
    drawCellContent(p, *c, l, t, r, b, fg);
    p.restore();
    return true;
}

// The image and the text inside the cell's margins, common to fixed and normal cells.
void CGridCtrl::drawCellContent(QPainter& p, const CGridCell& c, int l, int t, int r, int b,
                                const QColor& fg) {
    l += m_margin;
    r -= m_margin;
    if (c.image >= 0 && c.image < int(m_imageList.size())) {
        const QPixmap& img = m_imageList[c.image];
        p.drawPixmap(l, t, img);
        l += img.width() + m_margin;
    }
    p.setPen(fg);
    drawCellText(p, l, t, r, b, c.text, c.format);
}

bool CGridCtrl::drawCell(QPainter& p, int row, int col, QRect rect, bool /*erase*/) {
    const CGridCell* c = m_allowDraw ? cell(row, col) : nullptr;
    if (!c)
        return false;
    const bool printing = isPrinting(p);
    int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    const QColor bk = toQColor(c->backColour == kDefaultColour ? m_textBkColour : c->backColour);
    QColor fg = toQColor(c->textColour == kDefaultColour ? m_textColour : c->textColour);
    p.save();
    if ((c->state & CellFocused) && !printing) {
        fillWin(p, l, t, r + 1, b + 1, bk);
        frameWin(p, l, t, r, b, Qt::black);
        ++l, ++t, --r, --b;
    } else if ((c->state & CellSelected) && !printing) {
        fillWin(p, l, t, r + 1, b + 1, palette().color(QPalette::Highlight));
        fg = palette().color(QPalette::HighlightedText);
    } else {
        fillWin(p, l, t, r + 1, b + 1, bk);
    }
    if ((c->state & CellDropTarget) && !printing)
        frameWin(p, l, t, r, b, Qt::black);
    p.setFont(c->font);
    drawCellContent(p, *c, l, t, r, b, fg);
    p.restore();
    return true;
}

bool CGridCtrl::redrawCell(int row, int col) {
    if (!m_allowDraw || !isCellVisible(row, col))
        return false;
    QRect rect;
    if (!cellRect(row, col, &rect))
        return false;
    // The paint step repaints exactly this cell, grid lines included.
    viewport()->update(rect);
    return true;
}

void CGridCtrl::changeEvent(QEvent* e) {
    QAbstractScrollArea::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && !isActiveWindow())
        m_mouse->lose();
    else if (e->type() == QEvent::FontChange)
        applyFont();
    else if (e->type() == QEvent::PaletteChange)
        refreshSystemColours();
}

void CGridCtrl::refreshSystemColours() {
    const QPalette pal = palette();
    const GridColour windowText = fromQColor(pal.color(QPalette::Text));
    const GridColour window = fromQColor(pal.color(QPalette::Base));
    const GridColour face = fromQColor(pal.color(QPalette::Button));
    const GridColour shadow = fromQColor(pal.color(QPalette::Dark));
    if (m_textColour == m_sysWindowText)
        m_textColour = windowText;
    if (m_textBkColour == m_sysWindow)
        m_textBkColour = window;
    if (m_bkColour == m_sysButtonShadow)
        m_bkColour = shadow;
    if (m_fixedTextColour == m_sysWindowText)
        m_fixedTextColour = windowText;
    if (m_fixedBkColour == m_sysButtonFace)
        m_fixedBkColour = face;
    m_sysWindowText = windowText;
    m_sysWindow = window;
    m_sysButtonFace = face;
    m_sysButtonShadow = shadow;
}

} // namespace morvik
