// Mouse gestures: focus by click, selection drags, heading clicks, divider sizing, the
// post-release command and the wheel.
#include "GridFixture.h"

#include <QCursor>
#include <QWheelEvent>

using namespace morvik;
using namespace morvik::test;

TEST(GridMouse, DragSelectsTheRectangleAndMovesTheFocus) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, w.centre(2, 1));
    QTest::mouseMove(g.viewport(), w.centre(3, 2));
    QTest::mouseMove(g.viewport(), w.centre(4, 2));
    QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, w.centre(4, 2));
    const CCellRange r = g.selectedRange();
    EXPECT_EQ(r.minRow, 2);
    EXPECT_EQ(r.minCol, 1);
    EXPECT_EQ(r.maxRow, 4);
    EXPECT_EQ(r.maxCol, 2);
    EXPECT_EQ(g.selectedCount(), 6);
    EXPECT_EQ(g.focusCell(), CCellID(4, 2));
    EXPECT_EQ(g.mouseMode(), CGridCtrl::MouseIdle);
}

TEST(GridMouse, HeadingClicksFocusTheFirstCellAndSelectTheLine) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    w.click(0, 2);
    EXPECT_EQ(g.focusCell(), CCellID(1, 2));
    EXPECT_EQ(g.selectedCount(), 16);
    w.click(5, 0);
    EXPECT_EQ(g.focusCell(), CCellID(5, 1));
    EXPECT_EQ(g.selectedCount(), 3);
    w.click(0, 0);
    EXPECT_EQ(g.selectedCount(), 16 * 3);
}

TEST(GridMouse, CtrlClickKeepsTheEarlierSelection) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    w.click(2, 1);
    w.click(5, 3, Qt::ControlModifier);
    EXPECT_TRUE(g.itemState(2, 1) & CellSelected);
    EXPECT_TRUE(g.itemState(5, 3) & CellSelected);
    w.click(7, 2);
    EXPECT_EQ(g.selectedCells(), (std::vector<CCellID>{CCellID(7, 2)}));
}

TEST(GridMouse, ReleaseOverACellPostsTheCommandToTheOwner) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    g.setControlId(1000);
    QSignalSpy spy(&g, &CGridCtrl::command);
    w.click(3, 1);
    EXPECT_EQ(spy.count(), 0); // posted, not sent
    QTRY_COMPARE(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 1000);
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, QPoint(380, 400)); // below the cells
    QTest::qWait(0);
    QApplication::processEvents();
    EXPECT_EQ(spy.count(), 1);
}

TEST(GridMouse, DraggingAColumnDividerSizesTheColumn) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    const QPoint divider(52 + 100 - 1, 20); // right edge of column 1, in the heading row
    w.hover(divider);
    EXPECT_EQ(g.mouseMode(), CGridCtrl::MouseOverColumnDivider);
    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, divider);
    EXPECT_EQ(g.mouseMode(), CGridCtrl::MouseSizingColumn);
    QTest::mouseMove(g.viewport(), QPoint(200, 20));
    QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, QPoint(200, 20));
    EXPECT_EQ(g.columnWidth(1), 200 - 52);
    EXPECT_EQ(g.mouseMode(), CGridCtrl::MouseIdle);
    // Near a column's left edge the previous column is the one sized.
    const QPoint leftEdge(52 + 148 + 1, 20);
    w.hover(leftEdge);
    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, leftEdge);
    QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, QPoint(130, 20));
    EXPECT_EQ(g.columnWidth(1), 130 - 52);
}

TEST(GridMouse, DividersAreInertWhenResizingIsOff) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    g.setColumnResizeAllowed(false);
    g.setRowResizeAllowed(false);
    const QPoint divider(52 + 100 - 1, 20);
    w.hover(divider);
    EXPECT_EQ(g.mouseMode(), CGridCtrl::MouseIdle);
    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, divider);
    QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, QPoint(200, 20));
    EXPECT_EQ(g.columnWidth(1), 100);
    const QPoint rowDivider(20, 40 + 20 - 1);
    w.hover(rowDivider);
    EXPECT_EQ(g.mouseMode(), CGridCtrl::MouseIdle);
}

TEST(GridMouse, DraggingARowDividerSizesTheRow) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    const QPoint divider(20, 40 + 20 - 1); // bottom of row 1 in the number column
    w.hover(divider);
    EXPECT_EQ(g.mouseMode(), CGridCtrl::MouseOverRowDivider);
    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, divider);
    QTest::mouseMove(g.viewport(), QPoint(20, 75));
    QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, QPoint(20, 75));
    EXPECT_EQ(g.rowHeight(1), 75 - 40);
}

TEST(GridMouse, DoubleClickOnADividerAutoSizes) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    g.setItemText(4, 1, QStringLiteral("a rather long reading text"));
    const QPoint divider(52 + 100 - 1, 20);
    w.hover(divider);
    QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, divider);
    EXPECT_EQ(g.columnWidth(1), g.measureCell(4, 1).width());
    EXPECT_GT(g.columnWidth(1), 100);
}

TEST(GridMouse, WheelScrollsRowsPerNotch) {
    GridWindow<> w(QSize(400, 140));
    CGridCtrl& g = *w.grid;
    g.setRowsPerWheelNotch(3);
    QWheelEvent down(QPointF(100, 80), g.viewport()->mapToGlobal(QPointF(100, 80)), QPoint(),
                     QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(g.viewport(), &down);
    QTRY_COMPARE(g.topLeftNonFixedCell().row, 4);
    QWheelEvent up(QPointF(100, 80), g.viewport()->mapToGlobal(QPointF(100, 80)), QPoint(),
                   QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(g.viewport(), &up);
    QTRY_COMPARE(g.topLeftNonFixedCell().row, 1);
    // -1 rows per notch scrolls by pages.
    g.setRowsPerWheelNotch(-1);
    QApplication::sendEvent(g.viewport(), &down);
    const int pageRows = (g.viewport()->height() - 40 + 19) / 20;
    QTRY_COMPARE(g.topLeftNonFixedCell().row, 1 + pageRows);
}

TEST(GridMouse, ListModeHeadingClickSortsAndTogglesTheDirection) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    g.setListMode(true);
    const QStringList texts{"G004", "G001", "G010", "G002", "G003"};
    g.setRowCount(1 + int(texts.size()));
    for (int i = 0; i < texts.size(); ++i) {
        g.setItemText(i + 1, 1, texts[i]);
        g.setItemText(i + 1, 2, QString::number(i)); // rides along with its row
    }
    g.setFocusCell(2, 1);
    w.click(0, 1);
    QStringList sorted;
    for (int r = 1; r < g.rowCount(); ++r)
        sorted << g.itemText(r, 1);
    EXPECT_EQ(sorted, (QStringList{"G001", "G002", "G003", "G004", "G010"}));
    EXPECT_EQ(g.itemText(1, 2), QStringLiteral("1"));
    EXPECT_EQ(g.focusCell(), CCellID());
    w.click(0, 1);
    EXPECT_EQ(g.itemText(1, 1), QStringLiteral("G010"));
    EXPECT_EQ(g.itemText(5, 1), QStringLiteral("G001"));
}

TEST(GridMouse, DraggingBelowTheGridScrollsAndExtendsTheSelection) {
    GridWindow<> w(QSize(400, 140));
    CGridCtrl& g = *w.grid;
    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, w.centre(2, 1));
    QCursor::setPos(g.viewport()->mapToGlobal(QPoint(100, g.viewport()->height() + 30)));
    QTRY_VERIFY(g.focusCell().row >= 8);
    QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, QPoint(100, 60));
    const int reached = g.focusCell().row;
    QTest::qWait(60); // the timer is gone: nothing moves any more
    EXPECT_EQ(g.focusCell().row, reached);
    EXPECT_GT(g.topLeftNonFixedCell().row, 1);
    EXPECT_TRUE(g.itemState(2, 1) & CellSelected);
    EXPECT_TRUE(g.itemState(7, 1) & CellSelected);
}

TEST(GridMouse, AClickOnTheEmptyAreaLeavesARunningEditAlone) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    g.setFocusPolicy(Qt::StrongFocus); // as an owner may set it: clicks alone never end an edit
    QSignalSpy spy(&g, &CGridCtrl::notify);
    g.setFocusCell(3, 1);
    QTest::keyClick(&g, '6');
    ASSERT_NE(w.editor(), nullptr);
    QWidget* top = w.window.get();
    for (const QPoint p : {QPoint(380, 100), QPoint(100, 405)}) { // right of, below the cells
        QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, g.viewport()->mapTo(top, p));
        ASSERT_NE(w.editor(), nullptr) << p.x() << "," << p.y();
        EXPECT_TRUE(w.editor()->hasFocus());
    }
    EXPECT_EQ(notificationsWith(spy, GridEndEdit).size(), 0u);
    EXPECT_EQ(g.itemText(3, 1), QString());
    w.key(Qt::Key_Return);
    EXPECT_EQ(g.itemText(3, 1), QStringLiteral("6"));
}

namespace {
void wheel(CGridCtrl& g, int delta) {
    QWheelEvent e(QPointF(100, 80), g.viewport()->mapToGlobal(QPointF(100, 80)), QPoint(),
                  QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(g.viewport(), &e);
}
} // namespace

TEST(GridMouse, SmallWheelStepsAddUpToWholeLines) {
    GridWindow<> w(QSize(400, 140));
    CGridCtrl& g = *w.grid;
    g.setRowsPerWheelNotch(3);
    for (int i = 0; i < 7; ++i)
        wheel(g, -15); // a touchpad's small steps: 105 of a notch's 120
    QTest::qWait(20);
    EXPECT_EQ(g.topLeftNonFixedCell().row, 3); // 3 x 105 / 120 = 2 whole lines so far
    wheel(g, -15);
    QTRY_COMPARE(g.topLeftNonFixedCell().row, 4); // a whole notch: 3 lines in all
    // Turning back starts afresh instead of first paying off what was left over.
    wheel(g, -30);
    wheel(g, 40);
    QTRY_COMPARE(g.topLeftNonFixedCell().row, 3);
    // Pages add up the same way.
    g.setRowsPerWheelNotch(-1);
    for (int i = 0; i < 4; ++i)
        wheel(g, -30);
    const int pageRows = (g.viewport()->height() - 40 + 19) / 20;
    QTRY_COMPARE(g.topLeftNonFixedCell().row, 3 + pageRows);
}

TEST(GridMouse, ListModeSortingTakesTheRowHeightsAlong) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    g.setListMode(true);
    const QStringList texts{"G004", "G001", "G003", "G002"};
    g.setRowCount(1 + int(texts.size()));
    for (int i = 0; i < texts.size(); ++i) {
        g.setItemText(i + 1, 1, texts[i]);
        g.setRowHeight(i + 1, 20 + 10 * (texts[i].right(1).toInt())); // G00n is 20 + 10n high
    }
    w.click(0, 1);
    for (int r = 1; r < g.rowCount(); ++r)
        EXPECT_EQ(g.rowHeight(r), 20 + 10 * g.itemText(r, 1).right(1).toInt()) << r;
    EXPECT_EQ(g.itemText(1, 1), QStringLiteral("G001"));
}
