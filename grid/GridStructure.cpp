// The grid's structure and cells: counts, sizes, items, focus and selection, and the font
// step. The cells live in the store, the focus and the selection in the selection part;
// this file ties them to the widget (notifications to the owner and repaints).
#include "controls/CTitleTip.h"
#include "grid/CGridCtrl.h"
#include "grid/CInPlaceEdit.h"
#include "grid/CInPlaceList.h"
#include "grid/GridAccessible.h"
#include "grid/GridMouse.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPalette>
#include <QScrollBar>
#include <algorithm>

namespace morvik {

namespace {
constexpr int kDefaultFontPixels = 13;  // the message font at a height of 13 pixels
constexpr int kDefaultColumnChars = 12; // default column width in average characters
constexpr int kFallbackWheelLines = 3;

// Copies the members named by `mask` between a cell and an item, in the order of the item
// write: text, data, image, state, format, colours, font.
template <class From, class To> void copyMasked(std::uint32_t mask, const From& from, To& to) {
    if (mask & ItemText)
        to.text = from.text;
    if (mask & ItemData)
        to.data = from.data;
    if (mask & ItemImage)
        to.image = from.image;
    if (mask & ItemState)
        to.state = from.state;
    if (mask & ItemFormat)
        to.format = from.format;
    if (mask & ItemBackColour)
        to.backColour = from.backColour;
    if (mask & ItemTextColour)
        to.textColour = from.textColour;
    if (mask & ItemFont)
        to.font = from.font;
}
} // namespace

CGridCtrl::CGridCtrl(QWidget* parent)
    : QAbstractScrollArea(parent),
      m_store([this](int row, int col) { return createCell(row, col); },
              [this](CGridCell* c) { destroyCell(c); }),
      m_mouse(std::make_unique<GridMouse>(*this)) {
    qRegisterMetaType<GridNotify>("morvik::GridNotify");
    installGridAccessibility();
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
    m_sel.clear();
    m_store.removeAll();
}

// --- structure -----------------------------------------------------------------------------

CGridCell* CGridCtrl::createCell(int row, int col) {
    auto* c = new CGridCell;
    c->font = m_font;
    if (const CGridCell* above = m_store.cell(row - 1, col))
        c->format = above->format;
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
    if (CGridCell* c = cell(m_sel.focus.row, m_sel.focus.col))
        c->state &= ~std::uint32_t(CellFocused);
    m_sel.focus = CCellID();
}

GridAxis& CGridCtrl::axisOf(Qt::Orientation o) {
    return o == Qt::Horizontal ? m_store.columns() : m_store.rows();
}

const GridAxis& CGridCtrl::axis(Qt::Orientation o) const {
    return o == Qt::Horizontal ? m_store.columns() : m_store.rows();
}

bool CGridCtrl::setLineCount(Qt::Orientation o, int n) {
    GridAxis& lines = axisOf(o);
    if (n < 0 || n == lines.count())
        return n >= 0;
    if (n < lines.fixedCount())
        lines.setFixedCount(n);
    const auto focusLine = [&] { return o == Qt::Horizontal ? m_sel.focus.col : m_sel.focus.row; };
    if (focusLine() >= n)
        setFocusCell(-1, -1);
    if (focusLine() >= n)
        dropFocusQuietly();
    if (o == Qt::Horizontal) {
        m_sel.dropBeyond(rowCount(), n);
        m_store.setColumnCount(n, m_defaultColWidth);
    } else {
        m_sel.dropBeyond(n, columnCount());
        m_store.setRowCount(n, m_defaultRowHeight);
    }
    if (m_allowDraw) {
        resetScrollBars();
        viewport()->update();
    }
    return true;
}

bool CGridCtrl::setFixedLineCount(Qt::Orientation o, int n) {
    if (n < 0)
        return false;
    GridAxis& lines = axisOf(o);
    if (lines.count() < n && !setLineCount(o, n))
        return false;
    const auto focusLine = [&] { return o == Qt::Horizontal ? m_sel.focus.col : m_sel.focus.row; };
    if (focusLine() >= 0 && focusLine() < n)
        setFocusCell(-1, -1);
    if (focusLine() >= 0 && focusLine() < n)
        dropFocusQuietly();
    // An owner that shrank the grid while it was told has the last word: the fixed lines
    // never outnumber the lines, and the request counts as not carried out.
    lines.setFixedCount(n);
    if (m_allowDraw)
        viewport()->update();
    return lines.fixedCount() == n;
}

bool CGridCtrl::setRowCount(int n) {
    return setLineCount(Qt::Vertical, n);
}

bool CGridCtrl::setColumnCount(int n) {
    return setLineCount(Qt::Horizontal, n);
}

bool CGridCtrl::setFixedRowCount(int n) {
    return setFixedLineCount(Qt::Vertical, n);
}

bool CGridCtrl::setFixedColumnCount(int n) {
    return setFixedLineCount(Qt::Horizontal, n);
}

int CGridCtrl::rowHeight(int row) const {
    return m_store.rows().size(row);
}

int CGridCtrl::columnWidth(int col) const {
    return m_store.columns().size(col);
}

bool CGridCtrl::setRowHeight(int row, int height) {
    return m_store.rows().setSize(row, height);
}

bool CGridCtrl::setColumnWidth(int col, int width) {
    return m_store.columns().setSize(col, width);
}

int CGridCtrl::fixedRowHeight() const {
    return m_store.rows().fixedExtent();
}

int CGridCtrl::fixedColumnWidth() const {
    return m_store.columns().fixedExtent();
}

int CGridCtrl::virtualHeight() const {
    return m_store.rows().totalExtent();
}

int CGridCtrl::virtualWidth() const {
    return m_store.columns().totalExtent();
}

bool CGridCtrl::isValid(int row, int col) const {
    return m_store.isValid(row, col);
}

bool CGridCtrl::isValid(const CCellRange& r) const {
    return r.minRow >= 0 && r.minCol >= 0 && r.maxRow >= 0 && r.maxCol >= 0 &&
           r.maxRow < rowCount() && r.maxCol < columnCount() && r.minRow <= r.maxRow &&
           r.minCol <= r.maxCol;
}

// --- cells ---------------------------------------------------------------------------------

CGridCell* CGridCtrl::cell(int row, int col) const {
    return m_store.cell(row, col);
}

template <class T>
bool CGridCtrl::writeCell(int row, int col, T CGridCell::*member, const T& value) {
    CGridCell* c = cell(row, col);
    if (!c)
        return false;
    c->*member = value;
    return true;
}

template <class T>
T CGridCtrl::readCell(int row, int col, T CGridCell::*member, const T& none) const {
    const CGridCell* c = cell(row, col);
    return c ? c->*member : none;
}

bool CGridCtrl::setItem(const GridItem& item) {
    CGridCell* c = cell(item.row, item.col);
    if (!c)
        return false;
    copyMasked(item.mask, item, *c);
    return true;
}

bool CGridCtrl::getItem(GridItem& item) const {
    const CGridCell* c = cell(item.row, item.col);
    if (!c)
        return false;
    copyMasked(item.mask, *c, item);
    return true;
}

bool CGridCtrl::setItemText(int row, int col, const QString& text) {
    return writeCell(row, col, &CGridCell::text, text);
}

QString CGridCtrl::itemText(int row, int col) const {
    return readCell(row, col, &CGridCell::text, QString());
}

bool CGridCtrl::setItemState(int row, int col, std::uint32_t state) {
    CGridCell* c = cell(row, col);
    if (!c)
        return false;
    m_sel.noteState(row, col, c->state, state);
    c->state = state;
    return true;
}

std::uint32_t CGridCtrl::itemState(int row, int col) const {
    return readCell(row, col, &CGridCell::state, 0u);
}

bool CGridCtrl::setItemFormat(int row, int col, std::uint32_t format) {
    return writeCell(row, col, &CGridCell::format, format);
}

std::uint32_t CGridCtrl::itemFormat(int row, int col) const {
    return readCell(row, col, &CGridCell::format, 0u);
}

bool CGridCtrl::setItemData(int row, int col, qintptr data) {
    return writeCell(row, col, &CGridCell::data, data);
}

qintptr CGridCtrl::itemData(int row, int col) const {
    return readCell(row, col, &CGridCell::data, qintptr(0));
}

bool CGridCtrl::setItemImage(int row, int col, int image) {
    return writeCell(row, col, &CGridCell::image, image);
}

int CGridCtrl::itemImage(int row, int col) const {
    return readCell(row, col, &CGridCell::image, -1);
}

bool CGridCtrl::setItemBkColour(int row, int col, GridColour colour) {
    return writeCell(row, col, &CGridCell::backColour, colour);
}

GridColour CGridCtrl::itemBkColour(int row, int col) const {
    return readCell(row, col, &CGridCell::backColour, kDefaultColour);
}

bool CGridCtrl::setItemFgColour(int row, int col, GridColour colour) {
    return writeCell(row, col, &CGridCell::textColour, colour);
}

GridColour CGridCtrl::itemFgColour(int row, int col) const {
    return readCell(row, col, &CGridCell::textColour, kDefaultColour);
}

bool CGridCtrl::setItemFont(int row, int col, const QFont& f) {
    return writeCell(row, col, &CGridCell::font, f);
}

QFont CGridCtrl::itemFont(int row, int col) const {
    return readCell(row, col, &CGridCell::font, m_font);
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

// The headings of a cell's column and row are drawn emphasised while it has the focus:
// those that `other` does not share change with a focus move.
void CGridCtrl::redrawHeadings(const CCellID& id, const CCellID& other) {
    if (id.col != other.col)
        for (int r = 0; r < fixedRowCount(); ++r)
            redrawCell(r, id.col);
    if (id.row != other.row)
        for (int c = 0; c < fixedColumnCount(); ++c)
            redrawCell(id.row, c);
}

CCellID CGridCtrl::setFocusCell(const CCellID& cellId) {
    const CCellID prev = m_sel.focus;
    if (cellId == prev)
        return prev;
    m_sel.focus = cellId;
    if (isValid(prev)) {
        sendNotify(GridFocusLeaving, prev.row, prev.col);
        CGridCell* c = cell(prev.row, prev.col);
        if (c && prev != m_sel.focus) // unless the owner put the focus straight back
            c->state &= ~std::uint32_t(CellFocused);
        redrawCell(prev.row, prev.col);
        redrawHeadings(prev, cellId);
    }
    // The owner moved the focus itself while it was told, or removed the cell: its move
    // stands, and only one cell ever carries the focus flag.
    if (m_sel.focus != cellId)
        return prev;
    if (isValid(cellId)) {
        if (CGridCell* c = cell(cellId.row, cellId.col))
            c->state |= CellFocused;
        redrawCell(cellId.row, cellId.col);
        redrawHeadings(cellId, prev);
        sendAccessibleFocus();
        sendNotify(GridFocusEntered, cellId.row, cellId.col);
    }
    return prev;
}

void CGridCtrl::setSelectedRange(int minRow, int minCol, int maxRow, int maxCol) {
    if (!m_enableSelection)
        return;
    m_sel.apply(CCellRange{minRow, minCol, maxRow, maxCol}, m_store, !m_singleRowSelection,
                [this](int row, int col) { redrawCell(row, col); });
}

bool CGridCtrl::setSpan(SelectionSpan span, const CCellID& current) {
    const auto range = m_sel.spanTo(span, current, m_store, m_listMode && m_singleRowSelection);
    if (range)
        setSelectedRange(*range);
    return bool(range);
}

CCellRange CGridCtrl::selectedRange() const {
    return m_sel.bounds(rowCount(), columnCount());
}

std::vector<CCellID> CGridCtrl::selectedCells() const {
    return m_sel.sortedCells();
}

void CGridCtrl::selectAllCells() {
    setSpan(SelectionSpan::All, CCellID());
}

void CGridCtrl::selectColumns(const CCellID& current) {
    setSpan(SelectionSpan::Columns, current);
}

void CGridCtrl::selectRows(const CCellID& current) {
    setSpan(SelectionSpan::Rows, current);
}

void CGridCtrl::selectCells(const CCellID& current) {
    setSpan(SelectionSpan::Cells, current);
}

void CGridCtrl::resetSelectedRange() {
    setSelectedRange(-1, -1, -1, -1);
    setFocusCell(-1, -1);
}

// --- font ----------------------------------------------------------------------------------

void CGridCtrl::applyFont() {
    m_font = font();
    m_store.forEachCell([this](CGridCell& c) { c.font = m_font; });
    const QFontMetrics fm(m_font, viewport());
    m_margin = fm.horizontalAdvance(QLatin1Char(' '));
    m_defaultRowHeight = fm.height() + fm.leading() + 2 * m_margin;
    m_defaultColWidth = kDefaultColumnChars * fm.averageCharWidth() + 2 * m_margin;
    viewport()->update();
}

} // namespace morvik
