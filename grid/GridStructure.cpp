// Structure of the grid: counts, sizes, cells and their items, focus, selection, the font
// step and the geometry that maps cells to pixels.
#include "controls/CTitleTip.h"
#include "grid/CGridCtrl.h"
#include "grid/CInPlaceEdit.h"
#include "grid/CInPlaceList.h"

#include <QApplication>
#include <QColor>
#include <QFontMetrics>
#include <QPalette>
#include <QScrollBar>
#include <algorithm>

namespace morvik {

namespace {
constexpr int kDefaultFontPixels = 13;  // the message font at a height of 13 pixels
constexpr int kDefaultColumnChars = 12; // default column width in average characters
constexpr int kFallbackWheelLines = 3;
} // namespace

CGridCtrl::CGridCtrl(QWidget* parent) : QAbstractScrollArea(parent) {
    qRegisterMetaType<GridNotify>("morvik::GridNotify");
    const QPalette pal = QApplication::palette();
    m_sysWindowText = fromQColor(pal.color(QPalette::Text));
    m_sysWindow = fromQColor(pal.color(QPalette::Base));
    m_sysButtonFace = fromQColor(pal.color(QPalette::Button));
    m_sysButtonShadow = fromQColor(pal.color(QPalette::Dark));
    m_textColour = m_sysWindowText;
    m_textBkColour = m_sysWindow;
    m_bkColour = m_sysButtonShadow;
    m_fixedTextColour = m_sysWindowText;
    m_fixedBkColour = m_sysButtonFace;

    const int lines = QApplication::wheelScrollLines();
    m_rowsPerWheelNotch = lines != 0 ? lines : kFallbackWheelLines;

    // Tab reaches the grid, but a click gives it the focus only through the press handling,
    // which stops before that on the empty area beside and below the cells (an edit there
    // keeps running).
    setFocusPolicy(Qt::TabFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFrameShape(QFrame::NoFrame);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { onScrollAction(Qt::Horizontal, action); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { onScrollAction(Qt::Vertical, action); });

    QFont f = QApplication::font("QMessageBox");
    f.setPixelSize(kDefaultFontPixels);
    m_font = f;
    QAbstractScrollArea::setFont(f);
    applyFont();
    m_titleTip = new CTitleTip(viewport());
}

CGridCtrl::~CGridCtrl() {
    // An editor still open must not report to a grid that is half destroyed.
    for (CInPlaceEdit* e : viewport()->findChildren<CInPlaceEdit*>())
        e->abandon();
    for (CInPlaceList* l : viewport()->findChildren<CInPlaceList*>())
        l->abandon();
    deleteAllCells();
}

// --- structure -----------------------------------------------------------------------------

CGridCell* CGridCtrl::createCell(int row, int col) {
    auto* c = new CGridCell;
    c->font = m_font;
    if (row > 0 && row - 1 < int(m_rows.size()) && col < int(m_rows[row - 1].size()) &&
        m_rows[row - 1][col])
        c->format = m_rows[row - 1][col]->format;
    return c;
}

void CGridCtrl::destroyCell(CGridCell* c) {
    if (!c)
        return;
    c->state = 0;
    c->text.clear();
}

// Clearing the focus tells the owner, who may change the structure or put the focus back
// from inside that notification. Whatever it did, the focus must not stay on a cell that is
// about to go, and no fixed count may exceed its count, before the tables are touched.
void CGridCtrl::dropFocusQuietly() {
    if (CGridCell* c = cell(m_focusCell.row, m_focusCell.col))
        c->state &= ~std::uint32_t(CellFocused);
    m_focusCell = CCellID();
}

bool CGridCtrl::setRowCount(int n) {
    if (n < 0 || n == m_rowCount)
        return n >= 0;
    if (n < m_fixedRows)
        m_fixedRows = n;
    if (m_focusCell.row >= n)
        setFocusCell(-1, -1);
    if (m_focusCell.row >= n)
        dropFocusQuietly();
    m_fixedRows = std::min(m_fixedRows, n);
    const int old = m_rowCount;
    for (int r = n; r < old; ++r) {
        for (int c = 0; c < int(m_rows[r].size()); ++c) {
            m_selection.remove(selectionKey(r, c));
            m_prevSelection.remove(selectionKey(r, c));
            destroyCell(m_rows[r][c]);
            delete m_rows[r][c];
        }
    }
    m_rows.resize(n);
    m_rowHeights.resize(n);
    m_rowCount = n;
    for (int r = old; r < n; ++r) {
        m_rowHeights[r] = m_defaultRowHeight;
        m_rows[r].resize(m_colCount, nullptr);
        for (int c = 0; c < m_colCount; ++c)
            m_rows[r][c] = createCell(r, c);
    }
    if (m_allowDraw) {
        resetScrollBars();
        viewport()->update();
    }
    return true;
}

bool CGridCtrl::setColumnCount(int n) {
    if (n < 0 || n == m_colCount)
        return n >= 0;
    if (n < m_fixedCols)
        m_fixedCols = n;
    if (m_focusCell.col >= n)
        setFocusCell(-1, -1);
    if (m_focusCell.col >= n)
        dropFocusQuietly();
    m_fixedCols = std::min(m_fixedCols, n);
    const int old = m_colCount;
    for (int r = 0; r < m_rowCount; ++r) {
        for (int c = n; c < old; ++c) {
            m_selection.remove(selectionKey(r, c));
            m_prevSelection.remove(selectionKey(r, c));
            destroyCell(m_rows[r][c]);
            delete m_rows[r][c];
        }
        m_rows[r].resize(n, nullptr);
    }
    m_colWidths.resize(n);
    m_colCount = n;
    for (int c = old; c < n; ++c)
        m_colWidths[c] = m_defaultColWidth;
    for (int r = 0; r < m_rowCount; ++r)
        for (int c = old; c < n; ++c)
            m_rows[r][c] = createCell(r, c);
    if (m_allowDraw) {
        resetScrollBars();
        viewport()->update();
    }
    return true;
}

bool CGridCtrl::setFixedRowCount(int n) {
    if (n < 0)
        return false;
    if (m_rowCount < n && !setRowCount(n))
        return false;
    if (m_focusCell.row >= 0 && m_focusCell.row < n)
        setFocusCell(-1, -1);
    if (m_focusCell.row >= 0 && m_focusCell.row < n)
        dropFocusQuietly();
    // An owner that shrank the grid while it was told has the last word: the fixed rows
    // never outnumber the rows, and the request counts as not carried out.
    m_fixedRows = std::min(n, m_rowCount);
    if (m_allowDraw)
        viewport()->update();
    return m_fixedRows == n;
}

bool CGridCtrl::setFixedColumnCount(int n) {
    if (n < 0)
        return false;
    if (m_colCount < n && !setColumnCount(n))
        return false;
    if (m_focusCell.col >= 0 && m_focusCell.col < n)
        setFocusCell(-1, -1);
    if (m_focusCell.col >= 0 && m_focusCell.col < n)
        dropFocusQuietly();
    m_fixedCols = std::min(n, m_colCount);
    if (m_allowDraw)
        viewport()->update();
    return m_fixedCols == n;
}

int CGridCtrl::rowHeight(int row) const {
    return row >= 0 && row < m_rowCount ? m_rowHeights[row] : -1;
}

int CGridCtrl::columnWidth(int col) const {
    return col >= 0 && col < m_colCount ? m_colWidths[col] : -1;
}

bool CGridCtrl::setRowHeight(int row, int height) {
    if (row < 0 || row >= m_rowCount || height < 0)
        return false;
    m_rowHeights[row] = height;
    return true;
}

bool CGridCtrl::setColumnWidth(int col, int width) {
    if (col < 0 || col >= m_colCount || width < 0)
        return false;
    m_colWidths[col] = width;
    return true;
}

int CGridCtrl::fixedRowHeight() const {
    int h = 0;
    for (int r = 0; r < m_fixedRows; ++r)
        h += m_rowHeights[r];
    return h;
}

int CGridCtrl::fixedColumnWidth() const {
    int w = 0;
    for (int c = 0; c < m_fixedCols; ++c)
        w += m_colWidths[c];
    return w;
}

int CGridCtrl::virtualHeight() const {
    int h = 0;
    for (int v : m_rowHeights)
        h += v;
    return h;
}

int CGridCtrl::virtualWidth() const {
    int w = 0;
    for (int v : m_colWidths)
        w += v;
    return w;
}

bool CGridCtrl::isValid(int row, int col) const {
    return row >= 0 && row < m_rowCount && col >= 0 && col < m_colCount;
}

bool CGridCtrl::isValid(const CCellRange& r) const {
    return r.minRow >= 0 && r.minCol >= 0 && r.maxRow >= 0 && r.maxCol >= 0 &&
           r.maxRow < m_rowCount && r.maxCol < m_colCount && r.minRow <= r.maxRow &&
           r.minCol <= r.maxCol;
}

void CGridCtrl::deleteAllCells() {
    m_selection.clear();
    m_prevSelection.clear();
    m_focusCell = CCellID();
    m_rowHeights.clear();
    m_colWidths.clear();
    for (auto& row : m_rows)
        for (CGridCell* c : row) {
            destroyCell(c);
            delete c;
        }
    m_rows.clear();
    m_rowCount = m_colCount = m_fixedRows = m_fixedCols = 0;
}

// --- cells ---------------------------------------------------------------------------------

CGridCell* CGridCtrl::cell(int row, int col) const {
    if (!isValid(row, col))
        return nullptr;
    return m_rows[row][col];
}

bool CGridCtrl::setItem(const GridItem& item) {
    CGridCell* c = cell(item.row, item.col);
    if (!c)
        return false;
    if (item.mask & ItemText)
        c->text = item.text;
    if (item.mask & ItemData)
        c->data = item.data;
    if (item.mask & ItemImage)
        c->image = item.image;
    if (item.mask & ItemState)
        c->state = item.state;
    if (item.mask & ItemFormat)
        c->format = item.format;
    if (item.mask & ItemBackColour)
        c->backColour = item.backColour;
    if (item.mask & ItemTextColour)
        c->textColour = item.textColour;
    if (item.mask & ItemFont)
        c->font = item.font;
    return true;
}

bool CGridCtrl::getItem(GridItem& item) const {
    const CGridCell* c = cell(item.row, item.col);
    if (!c)
        return false;
    if (item.mask & ItemText)
        item.text = c->text;
    if (item.mask & ItemData)
        item.data = c->data;
    if (item.mask & ItemImage)
        item.image = c->image;
    if (item.mask & ItemState)
        item.state = c->state;
    if (item.mask & ItemFormat)
        item.format = c->format;
    if (item.mask & ItemBackColour)
        item.backColour = c->backColour;
    if (item.mask & ItemTextColour)
        item.textColour = c->textColour;
    if (item.mask & ItemFont)
        item.font = c->font;
    return true;
}

bool CGridCtrl::setItemText(int row, int col, const QString& text) {
    CGridCell* c = cell(row, col);
    if (!c)
        return false;
    c->text = text;
    return true;
}

QString CGridCtrl::itemText(int row, int col) const {
    const CGridCell* c = cell(row, col);
    return c ? c->text : QString();
}

bool CGridCtrl::setItemState(int row, int col, std::uint32_t state) {
    CGridCell* c = cell(row, col);
    if (!c)
        return false;
    const std::uint32_t key = selectionKey(row, col);
    if ((c->state & CellSelected) && !(state & CellSelected))
        m_selection.remove(key);
    else if (!(c->state & CellSelected) && (state & CellSelected))
        m_selection.insert(key, CCellID(row, col));
    c->state = state;
    return true;
}

std::uint32_t CGridCtrl::itemState(int row, int col) const {
    const CGridCell* c = cell(row, col);
    return c ? c->state : 0;
}

bool CGridCtrl::setItemFormat(int row, int col, std::uint32_t format) {
    CGridCell* c = cell(row, col);
    if (!c)
        return false;
    c->format = format;
    return true;
}

std::uint32_t CGridCtrl::itemFormat(int row, int col) const {
    const CGridCell* c = cell(row, col);
    return c ? c->format : 0;
}

bool CGridCtrl::setItemData(int row, int col, qintptr data) {
    CGridCell* c = cell(row, col);
    if (!c)
        return false;
    c->data = data;
    return true;
}

qintptr CGridCtrl::itemData(int row, int col) const {
    const CGridCell* c = cell(row, col);
    return c ? c->data : 0;
}

bool CGridCtrl::setItemImage(int row, int col, int image) {
    CGridCell* c = cell(row, col);
    if (!c)
        return false;
    c->image = image;
    return true;
}

int CGridCtrl::itemImage(int row, int col) const {
    const CGridCell* c = cell(row, col);
    return c ? c->image : -1;
}

bool CGridCtrl::setItemBkColour(int row, int col, GridColour colour) {
    CGridCell* c = cell(row, col);
    if (!c)
        return false;
    c->backColour = colour;
    return true;
}

GridColour CGridCtrl::itemBkColour(int row, int col) const {
    const CGridCell* c = cell(row, col);
    return c ? c->backColour : kDefaultColour;
}

bool CGridCtrl::setItemFgColour(int row, int col, GridColour colour) {
    CGridCell* c = cell(row, col);
    if (!c)
        return false;
    c->textColour = colour;
    return true;
}

GridColour CGridCtrl::itemFgColour(int row, int col) const {
    const CGridCell* c = cell(row, col);
    return c ? c->textColour : kDefaultColour;
}

bool CGridCtrl::setItemFont(int row, int col, const QFont& f) {
    CGridCell* c = cell(row, col);
    if (!c)
        return false;
    c->font = f;
    return true;
}

QFont CGridCtrl::itemFont(int row, int col) const {
    const CGridCell* c = cell(row, col);
    return c ? c->font : m_font;
}

bool CGridCtrl::isCellEditable(int row, int col) const {
    if (!m_editable)
        return false;
    return !(itemState(row, col) & CellReadOnly);
}

void CGridCtrl::setModified(int row, int col) {
    if (row > 0 && col > 0) {
        if (CGridCell* c = cell(row, col))
            c->state |= CellModified;
    }
    m_modified = true;
}

// --- focus and selection -------------------------------------------------------------------

CCellID CGridCtrl::setFocusCell(const CCellID& cellId) {
    const CCellID prev = m_focusCell;
    if (cellId == prev)
        return prev;
    m_focusCell = cellId;
    if (isValid(prev)) {
        sendNotify(GridFocusLeaving, prev.row, prev.col);
        CGridCell* c = cell(prev.row, prev.col);
        if (c && prev != m_focusCell) // unless the owner put the focus straight back
            c->state &= ~std::uint32_t(CellFocused);
        redrawCell(prev.row, prev.col);
        if (prev.col != cellId.col)
            for (int r = 0; r < m_fixedRows; ++r)
                redrawCell(r, prev.col);
        if (prev.row != cellId.row)
            for (int c = 0; c < m_fixedCols; ++c)
                redrawCell(prev.row, c);
    }
    // The owner moved the focus itself while it was told, or removed the cell: its move
    // stands, and only one cell ever carries the focus flag.
    if (m_focusCell != cellId)
        return prev;
    if (isValid(cellId)) {
        if (CGridCell* c = cell(cellId.row, cellId.col))
            c->state |= CellFocused;
        redrawCell(cellId.row, cellId.col);
        if (prev.col != cellId.col)
            for (int r = 0; r < m_fixedRows; ++r)
                redrawCell(r, cellId.col);
        if (prev.row != cellId.row)
            for (int c = 0; c < m_fixedCols; ++c)
                redrawCell(cellId.row, c);
        sendNotify(GridFocusEntered, cellId.row, cellId.col);
    }
    return prev;
}

void CGridCtrl::setSelectedRange(int minRow, int minCol, int maxRow, int maxCol) {
    if (!m_enableSelection)
        return;
    const CCellRange range{minRow, minCol, maxRow, maxCol};
    const auto current = m_selection; // copy: state writes change the map
    for (const CCellID& id : current) {
        setItemState(id.row, id.col, itemState(id.row, id.col) & ~std::uint32_t(CellSelected));
        if (!range.contains(id))
            redrawCell(id.row, id.col);
    }
    if (!m_singleRowSelection) {
        for (const CCellID& id : std::as_const(m_prevSelection)) {
            if (!isValid(id))
                continue;
            setItemState(id.row, id.col, itemState(id.row, id.col) | CellSelected);
            redrawCell(id.row, id.col);
        }
    }
    // Validity here does not ask for the minimum row to be below the maximum: an inverted
    // row span simply selects nothing.
    if (minRow >= 0 && minCol >= 0 && maxRow >= 0 && maxCol >= 0 && maxRow < m_rowCount &&
        maxCol < m_colCount && maxCol >= minCol) {
        for (int r = minRow; r <= maxRow; ++r)
            for (int c = minCol; c <= maxCol; ++c) {
                const std::uint32_t st = itemState(r, c);
                if (st & CellSelected)
                    continue;
                setItemState(r, c, st | CellSelected);
                redrawCell(r, c);
            }
    }
}

CCellRange CGridCtrl::selectedRange() const {
    CCellRange r{m_rowCount, m_colCount, -1, -1};
    for (const CCellID& id : m_selection) {
        r.minRow = std::min(r.minRow, id.row);
        r.minCol = std::min(r.minCol, id.col);
        r.maxRow = std::max(r.maxRow, id.row);
        r.maxCol = std::max(r.maxCol, id.col);
    }
    return r;
}

std::vector<CCellID> CGridCtrl::selectedCells() const {
    std::vector<CCellID> out(m_selection.begin(), m_selection.end());
    std::sort(out.begin(), out.end(), [](const CCellID& a, const CCellID& b) {
        return a.row != b.row ? a.row < b.row : a.col < b.col;
    });
    return out;
}

void CGridCtrl::selectAllCells() {
    setSelectedRange(m_fixedRows, m_fixedCols, m_rowCount - 1, m_colCount - 1);
}

void CGridCtrl::selectColumns(const CCellID& current) {
    if (current.col < m_fixedCols)
        return;
    setSelectedRange(m_fixedRows, std::min(m_selectionStartCell.col, current.col), m_rowCount - 1,
                     std::max(m_selectionStartCell.col, current.col));
}

// Unlike columns, rows have no fixed-line condition: a drag from a row heading up into the
// heading rows takes them into the selection.
void CGridCtrl::selectRows(const CCellID& current) {
    if (m_listMode && m_singleRowSelection)
        setSelectedRange(current.row, m_fixedCols, current.row, m_colCount - 1);
    else
        setSelectedRange(std::min(m_selectionStartCell.row, current.row), m_fixedCols,
                         std::max(m_selectionStartCell.row, current.row), m_colCount - 1);
}

void CGridCtrl::selectCells(const CCellID& current) {
    if (!isValid(current) || current.row < m_fixedRows || current.col < m_fixedCols)
        return;
    setSelectedRange(std::min(m_selectionStartCell.row, current.row),
                     std::min(m_selectionStartCell.col, current.col),
                     std::max(m_selectionStartCell.row, current.row),
                     std::max(m_selectionStartCell.col, current.col));
}

void CGridCtrl::resetSelectedRange() {
    setSelectedRange(-1, -1, -1, -1);
    setFocusCell(-1, -1);
}

// --- font ----------------------------------------------------------------------------------

void CGridCtrl::applyFont() {
    m_font = font();
    for (auto& row : m_rows)
        for (CGridCell* c : row)
            if (c)
                c->font = m_font;
    const QFontMetrics fm(m_font, viewport());
    m_margin = fm.horizontalAdvance(QLatin1Char(' '));
    m_defaultRowHeight = fm.height() + fm.leading() + 2 * m_margin;
    m_defaultColWidth = kDefaultColumnChars * fm.averageCharWidth() + 2 * m_margin;
    viewport()->update();
}

// --- geometry ------------------------------------------------------------------------------

CCellID CGridCtrl::topLeftNonFixedCell() const {
    CCellID id(m_fixedRows, m_fixedCols);
    const int vpos = verticalScrollBar()->value();
    const int hpos = horizontalScrollBar()->value();
    int sum = 0;
    while (sum < hpos && id.col < m_colCount - 1)
        sum += m_colWidths[id.col++];
    sum = 0;
    while (sum < vpos && id.row < m_rowCount - 1)
        sum += m_rowHeights[id.row++];
    return id;
}

CCellID CGridCtrl::cellFromPoint(const QPoint& p, bool allowFixed) const {
    CCellID id;
    const CCellID topLeft = topLeftNonFixedCell();
    const int fixedW = fixedColumnWidth();
    const int fixedH = fixedRowHeight();
    if (p.x() < 0 || (!allowFixed && p.x() < fixedW)) {
        id.col = -1;
    } else if (p.x() < fixedW) {
        int x = 0, c = 0;
        for (; c < m_fixedCols; ++c) {
            x += m_colWidths[c];
            if (x > p.x())
                break;
        }
        id.col = c;
    } else {
        int x = fixedW, c = topLeft.col;
        for (; c < m_colCount; ++c) {
            x += m_colWidths[c];
            if (x > p.x())
                break;
        }
        id.col = c >= m_colCount ? -1 : c;
    }
    if (p.y() < 0 || (!allowFixed && p.y() < fixedH)) {
        id.row = -1;
    } else if (p.y() < fixedH) {
        int y = 0, r = 0;
        for (; r < m_fixedRows; ++r) {
            y += m_rowHeights[r];
            if (y > p.y())
                break;
        }
        id.row = r;
    } else {
        int y = fixedH, r = topLeft.row;
        for (; r < m_rowCount; ++r) {
            y += m_rowHeights[r];
            if (y > p.y())
                break;
        }
        id.row = r >= m_rowCount ? -1 : r;
    }
    return id;
}

CCellRange CGridCtrl::visibleNonFixedCellRange(QRect* rect) const {
    const QRect client = viewport()->rect();
    const CCellID topLeft = topLeftNonFixedCell();
    int bottom = fixedRowHeight();
    int r = topLeft.row;
    for (; r < m_rowCount; ++r) {
        bottom += m_rowHeights[r];
        if (bottom >= client.height())
            break;
    }
    int maxRow = std::min(r, m_rowCount - 1);
    int right = fixedColumnWidth();
    int c = topLeft.col;
    for (; c < m_colCount; ++c) {
        right += m_colWidths[c];
        if (right >= client.width())
            break;
    }
    int maxCol = std::min(c, m_colCount - 1);
    if (rect)
        *rect = QRect(QPoint(fixedColumnWidth(), fixedRowHeight()), QPoint(right, bottom));
    return CCellRange{topLeft.row, topLeft.col, maxRow, maxCol};
}

// A last row or column that is cut by the client edge is not fully visible, even when it is
// the only one; when the fixed rows (columns) fill the client area the range is empty
// (maximum below minimum).
CCellRange CGridCtrl::fullyVisibleNonFixedCellRange() const {
    CCellRange r = visibleNonFixedCellRange();
    const QRect client = viewport()->rect();
    if (r.maxRow >= r.minRow && r.minRow >= 0) {
        int bottom = fixedRowHeight() - 1;
        for (int row = r.minRow; row <= r.maxRow; ++row)
            bottom += m_rowHeights[row];
        if (bottom > client.bottom())
            --r.maxRow;
    }
    if (r.maxCol >= r.minCol && r.minCol >= 0) {
        int right = fixedColumnWidth() - 1;
        for (int col = r.minCol; col <= r.maxCol; ++col)
            right += m_colWidths[col];
        if (right > client.right())
            --r.maxCol;
    }
    return r;
}

bool CGridCtrl::cellOrigin(int row, int col, QPoint* p) const {
    if (!isValid(row, col))
        return false;
    const CCellID topLeft = topLeftNonFixedCell();
    if ((col >= m_fixedCols && col < topLeft.col) || (row >= m_fixedRows && row < topLeft.row))
        return false;
    int x = 0, y = 0;
    if (col < m_fixedCols) {
        for (int c = 0; c < col; ++c)
            x += m_colWidths[c];
    } else {
        x = fixedColumnWidth();
        for (int c = topLeft.col; c < col; ++c)
            x += m_colWidths[c];
    }
    if (row < m_fixedRows) {
        for (int r = 0; r < row; ++r)
            y += m_rowHeights[r];
    } else {
        y = fixedRowHeight();
        for (int r = topLeft.row; r < row; ++r)
            y += m_rowHeights[r];
    }
    if (p)
        *p = QPoint(x, y);
    return true;
}

bool CGridCtrl::cellRect(int row, int col, QRect* rect) const {
    QPoint origin;
    if (!cellOrigin(row, col, &origin))
        return false;
    if (rect)
        *rect = QRect(origin, QSize(m_colWidths[col], m_rowHeights[row]));
    return true;
}

bool CGridCtrl::isCellVisible(int row, int col) const {
    if (!isValid(row, col))
        return false;
    QPoint origin;
    if (!cellOrigin(row, col, &origin))
        return false;
    const QRect client = viewport()->rect();
    return origin.x() <= client.right() && origin.y() <= client.bottom();
}

} // namespace morvik
