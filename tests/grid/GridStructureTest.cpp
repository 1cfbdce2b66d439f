// Structure of the grid: counts, cells and their defaults, state writes against the
// selection map, focus bookkeeping, the font step and out-of-range refusals.
#include "GridFixture.h"

#include <QRandomGenerator>

using namespace morvik;
using namespace morvik::test;

TEST(GridStructure, NewCellsCopyTheFormatOfTheCellAbove) {
    CGridCtrl g;
    g.setColumnCount(3);
    g.setRowCount(2);
    g.setItemFormat(0, 1, FormatCentre);
    g.setItemFormat(1, 1, FormatRight | FormatSingleLine);
    g.setRowCount(5);
    EXPECT_EQ(g.itemFormat(0, 1), std::uint32_t(FormatCentre)); // row 0 keeps its own
    for (int r = 2; r < 5; ++r)
        EXPECT_EQ(g.itemFormat(r, 1), std::uint32_t(FormatRight | FormatSingleLine)) << r;
    EXPECT_EQ(g.itemFormat(4, 0), 0u);
    // A new column in row 0 starts at 0 even when rows below have formats.
    g.setColumnCount(4);
    EXPECT_EQ(g.itemFormat(0, 3), 0u);
}

TEST(GridStructure, NewCellsHaveTheirDefaults) {
    CGridCtrl g;
    g.setRowCount(2);
    g.setColumnCount(2);
    GridItem item;
    item.row = 1;
    item.col = 1;
    item.mask = ItemText | ItemImage | ItemData | ItemState | ItemBackColour | ItemTextColour |
                ItemFormat | ItemFont;
    item.text = QStringLiteral("x");
    item.data = 7;
    ASSERT_TRUE(g.getItem(item));
    EXPECT_TRUE(item.text.isEmpty());
    EXPECT_EQ(item.image, -1);
    EXPECT_EQ(item.data, 0);
    EXPECT_EQ(item.state, 0u);
    EXPECT_EQ(item.backColour, kDefaultColour);
    EXPECT_EQ(item.textColour, kDefaultColour);
    EXPECT_EQ(item.font, g.font());
    EXPECT_EQ(g.rowHeight(1), g.defaultRowHeight());
    EXPECT_EQ(g.columnWidth(1), g.defaultColumnWidth());
}

TEST(GridStructure, ShrinkingRowsBelowTheFocusClearsIt) {
    CGridCtrl g;
    g.setRowCount(10);
    g.setColumnCount(3);
    g.setFocusCell(8, 1);
    ASSERT_TRUE(g.itemState(8, 1) & CellFocused);
    QSignalSpy spy(&g, &CGridCtrl::notify);
    g.setRowCount(5);
    EXPECT_EQ(g.focusCell(), CCellID());
    EXPECT_EQ(notifications(spy), (std::vector<Seen>{{GridFocusLeaving, 8, 1}}));
    g.setRowCount(10); // the recreated cell is a new one, without the old flag
    EXPECT_EQ(g.itemState(8, 1), 0u);
}

TEST(GridStructure, FixedCountsRaiseTheStructureAndDropAFocusInside) {
    CGridCtrl g;
    EXPECT_TRUE(g.setFixedRowCount(2));
    EXPECT_TRUE(g.setFixedColumnCount(3));
    EXPECT_EQ(g.rowCount(), 2);
    EXPECT_EQ(g.columnCount(), 3);
    g.setRowCount(6);
    g.setColumnCount(6);
    g.setFocusCell(1, 4);
    g.setFixedRowCount(3);
    EXPECT_EQ(g.focusCell(), CCellID());
    g.setRowCount(1); // below the fixed count
    EXPECT_EQ(g.fixedRowCount(), 1);
}

TEST(GridStructure, ModifiedMarksOnlyCellsBeyondRowAndColumnZero) {
    struct Row {
        const char* name;
        int row, col;
        bool cellMarked;
    };
    const Row rows[] = {
        {"heading row", 0, 3, false}, {"number column", 5, 0, false}, {"corner", 0, 0, false},
        {"reading cell", 5, 2, true}, {"outside", 40, 2, false},
    };
    for (const Row& r : rows) {
        CGridCtrl g;
        g.setRowCount(17);
        g.setColumnCount(4);
        g.setModified(r.row, r.col);
        EXPECT_TRUE(g.isModified()) << r.name;
        EXPECT_EQ(bool(g.itemState(r.row, r.col) & CellModified), r.cellMarked) << r.name;
    }
}

TEST(GridStructure, SelectionMapFollowsEveryStateWrite) {
    CGridCtrl g;
    g.setRowCount(12);
    g.setColumnCount(9);
    QRandomGenerator rng(20240517);
    for (int step = 0; step < 2000; ++step) {
        const int row = rng.bounded(-1, 13);
        const int col = rng.bounded(-1, 10);
        const std::uint32_t state = rng.bounded(0, 64);
        switch (rng.bounded(3)) {
        case 0:
            g.setItemState(row, col, state);
            break;
        case 1:
            g.setSelectedRange(rng.bounded(-1, 12), rng.bounded(-1, 9), rng.bounded(-1, 12),
                               rng.bounded(-1, 9));
            break;
        default:
            g.setFocusCell(row, col);
            break;
        }
    }
    std::vector<CCellID> flagged;
    for (int r = 0; r < g.rowCount(); ++r)
        for (int c = 0; c < g.columnCount(); ++c)
            if (g.itemState(r, c) & CellSelected)
                flagged.emplace_back(r, c);
    EXPECT_EQ(g.selectedCells(), flagged);
    // Shrinking the grid drops removed cells from the map too.
    g.selectAllCells();
    g.setRowCount(3);
    g.setColumnCount(2);
    for (const CCellID& id : g.selectedCells())
        EXPECT_TRUE(g.isValid(id));
}

TEST(GridStructure, SelectionRangesAndTheirBoundingBox) {
    CGridCtrl g;
    g.setRowCount(10);
    g.setColumnCount(5);
    g.setFixedRowCount(1);
    g.setFixedColumnCount(1);
    const CCellRange none = g.selectedRange();
    EXPECT_EQ(none.minRow, 10);
    EXPECT_EQ(none.minCol, 5);
    EXPECT_EQ(none.maxRow, -1);
    EXPECT_FALSE(g.isValid(none));
    g.selectAllCells();
    EXPECT_EQ(g.selectedCount(), 9 * 4);
    const CCellRange all = g.selectedRange();
    EXPECT_EQ(all.minRow, 1);
    EXPECT_EQ(all.minCol, 1);
    EXPECT_EQ(all.maxRow, 9);
    EXPECT_EQ(all.maxCol, 4);
    g.setSelectedRange(2, 2, 3, 5); // maximum column beyond the grid: only clears
    EXPECT_EQ(g.selectedCount(), 0);
    g.setSelectionEnabled(false);
    g.setSelectedRange(1, 1, 2, 2);
    EXPECT_EQ(g.selectedCount(), 0);
}

TEST(GridStructure, OutOfRangeAccessIsRefusedQuietly) {
    CGridCtrl g;
    g.setRowCount(3);
    g.setColumnCount(3);
    for (const CCellID& id : {CCellID(-1, 0), CCellID(0, -1), CCellID(3, 0), CCellID(0, 3)}) {
        EXPECT_FALSE(g.setItemText(id.row, id.col, QStringLiteral("x")));
        EXPECT_TRUE(g.itemText(id.row, id.col).isEmpty());
        EXPECT_FALSE(g.setItemState(id.row, id.col, CellSelected));
        EXPECT_EQ(g.itemState(id.row, id.col), 0u);
        GridItem item;
        item.row = id.row;
        item.col = id.col;
        item.mask = ItemText;
        EXPECT_FALSE(g.setItem(item));
        EXPECT_FALSE(g.getItem(item));
    }
    EXPECT_EQ(g.rowHeight(3), -1);
    EXPECT_EQ(g.columnWidth(-1), -1);
    EXPECT_FALSE(g.setRowHeight(3, 10));
    EXPECT_FALSE(g.setColumnWidth(0, -1));
    EXPECT_EQ(g.rowCount(), 3);
    EXPECT_EQ(g.selectedCount(), 0);
}

TEST(GridStructure, WriteItemStoresStateWithoutTouchingTheSelection) {
    CGridCtrl g;
    g.setRowCount(3);
    g.setColumnCount(3);
    GridItem item;
    item.row = 1;
    item.col = 2;
    item.mask = ItemState | ItemText;
    item.state = CellSelected | CellReadOnly;
    item.text = QStringLiteral("4.50");
    ASSERT_TRUE(g.setItem(item));
    EXPECT_EQ(g.itemText(1, 2), QStringLiteral("4.50"));
    EXPECT_EQ(g.itemState(1, 2), std::uint32_t(CellSelected | CellReadOnly));
    EXPECT_EQ(g.selectedCount(), 0);
    EXPECT_FALSE(g.isCellEditable(1, 2));
    EXPECT_TRUE(g.isCellEditable(1, 1));
    g.setEditable(false);
    EXPECT_FALSE(g.isCellEditable(1, 1));
}

TEST(GridStructure, FontRescalesDefaultsButKeepsExistingSizes) {
    CGridCtrl g;
    g.setRowCount(3);
    g.setColumnCount(3);
    g.setRowHeight(1, 33);
    const int oldDefaultHeight = g.defaultRowHeight();
    QFont big = g.font();
    big.setPixelSize(40);
    g.setFont(big);
    const QFontMetrics fm(big);
    EXPECT_EQ(g.margin(), fm.horizontalAdvance(QLatin1Char(' ')));
    EXPECT_EQ(g.defaultRowHeight(), fm.height() + fm.leading() + 2 * g.margin());
    EXPECT_EQ(g.defaultColumnWidth(), 12 * fm.averageCharWidth() + 2 * g.margin());
    EXPECT_GT(g.defaultRowHeight(), oldDefaultHeight);
    EXPECT_EQ(g.rowHeight(1), 33);
    EXPECT_EQ(g.rowHeight(2), oldDefaultHeight);
    EXPECT_EQ(g.itemFont(2, 2), big); // every cell takes the new font
}

TEST(GridStructure, CellFromPointAndRectangles) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    QRect r;
    ASSERT_TRUE(g.cellRect(1, 1, &r));
    EXPECT_EQ(r, QRect(52, 40, 100, 20));
    EXPECT_EQ(r.right(), 52 + 100 - 1);
    EXPECT_EQ(g.cellFromPoint(QPoint(51, 39)), CCellID(0, 0));
    EXPECT_EQ(g.cellFromPoint(QPoint(52, 40)), CCellID(1, 1));
    EXPECT_EQ(g.cellFromPoint(QPoint(10, 10), false), CCellID(-1, -1));
    EXPECT_EQ(g.cellFromPoint(QPoint(360, 50)).col, -1); // beyond the last column
    EXPECT_EQ(g.fixedRowHeight(), 40);
    EXPECT_EQ(g.fixedColumnWidth(), 52);
    EXPECT_EQ(g.virtualHeight(), 40 + 16 * 20);
    EXPECT_EQ(g.virtualWidth(), 352);
}

TEST(GridStructure, SelectRowsReachesUpIntoTheFixedRows) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    w.click(3, 0); // row heading 3: the selection starts there
    ASSERT_EQ(g.selectedCount(), 3);
    g.selectRows(CCellID(0, 2));
    EXPECT_EQ(g.selectedCount(), 12);
    const CCellRange r = g.selectedRange();
    EXPECT_EQ(r.minRow, 0);
    EXPECT_EQ(r.maxRow, 3);
    EXPECT_EQ(r.minCol, 1);
    EXPECT_EQ(r.maxCol, 3);
    // Columns keep their condition: a fixed column is no target.
    g.selectColumns(CCellID(2, 0));
    EXPECT_EQ(g.selectedCount(), 12);
}
