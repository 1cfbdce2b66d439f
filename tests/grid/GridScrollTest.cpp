// Scrolling in pixels: the scroll range, line steps of one cell, keys that bring the focus
// cell into view, and the title tip over clipped texts.
#include "GridFixture.h"
#include "controls/CTitleTip.h"

#include <QScrollBar>

using namespace morvik;
using namespace morvik::test;

TEST(GridScroll, RangeAndLineStepsFollowTheCellSizes) {
    GridWindow<> w(QSize(260, 140));
    CGridCtrl& g = *w.grid;
    QScrollBar* h = g.horizontalScrollBar();
    QScrollBar* v = g.verticalScrollBar();
    const QRect client = g.viewport()->rect();
    EXPECT_EQ(v->maximum(), g.virtualHeight() - 40 - (client.height() - 40));
    EXPECT_EQ(h->maximum(), g.virtualWidth() - 52 - (client.width() - 52));
    h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(h->value(), 100); // the width of the leftmost scrolled column
    EXPECT_EQ(g.topLeftNonFixedCell().col, 2);
    h->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(h->value(), 0);
    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(v->value(), 20);
    EXPECT_EQ(g.cellFromPoint(QPoint(60, 45)), CCellID(2, 1));
    v->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(v->value(), v->maximum());
    EXPECT_TRUE(g.isCellVisible(16, 1));
}

TEST(GridScroll, KeysBringTheFocusCellIntoView) {
    GridWindow<> w(QSize(260, 140));
    CGridCtrl& g = *w.grid;
    for (int r = 1; r < 17; ++r)
        for (int c = 1; c < 4; ++c)
            g.setItemText(r, c, QStringLiteral("1.00"));
    g.setFocusCell(1, 1);
    QTest::keyClick(&g, Qt::Key_Tab);
    EXPECT_EQ(g.focusCell(), CCellID(1, 2));
    EXPECT_GT(g.horizontalScrollBar()->value(), 0);
    QTest::keyClick(&g, Qt::Key_Tab); // wraps to the first column of the next row
    EXPECT_EQ(g.focusCell(), CCellID(2, 1));
    EXPECT_EQ(g.horizontalScrollBar()->value(), 0);
    EXPECT_TRUE(g.isCellVisible(2, 1));
    for (int i = 0; i < 8; ++i)
        QTest::keyClick(&g, Qt::Key_Down);
    EXPECT_EQ(g.focusCell(), CCellID(10, 1));
    EXPECT_TRUE(g.isCellVisible(10, 1));
    EXPECT_GT(g.topLeftNonFixedCell().row, 1);
}

TEST(GridScroll, TitleTipShowsOnlyForAClippedText) {
    struct Row {
        const char* name;
        const char* text;
        bool tipsOn;
        bool expectTip;
    };
    const Row rows[] = {
        {"clipped text", "a reading far too long for its cell", true, true},
        {"text that fits", "1.25", true, false},
        {"tips switched off", "a reading far too long for its cell", false, false},
    };
    for (const Row& r : rows) {
        GridWindow<> w;
        CGridCtrl& g = *w.grid;
        g.setTitleTipsEnabled(r.tipsOn);
        g.setItemText(2, 1, QString::fromLatin1(r.text));
        w.hover(w.centre(2, 1));
        auto* tip = g.viewport()->findChild<CTitleTip*>();
        ASSERT_NE(tip, nullptr) << r.name;
        EXPECT_EQ(tip->isVisible(), r.expectTip) << r.name;
        if (r.expectTip) {
            EXPECT_EQ(tip->shownText(), QStringLiteral(" %1 ").arg(QString::fromLatin1(r.text)));
        }
        tip->hideTip();
    }
}

TEST(GridScroll, APartlyVisibleRowOrColumnIsNeverFullyVisible) {
    struct Row {
        const char* name;
        QSize viewport;
        int maxRow, maxCol; // of the fully visible range; below the minimum when none
    };
    const Row rows[] = {
        {"one row, cut", QSize(366, 50), 0, 3},
        {"one column, cut", QSize(100, 420), 16, 0},
        {"only the fixed rows fit", QSize(366, 40), 0, 3},
        {"rows 1-2 whole, row 3 cut", QSize(366, 90), 2, 3},
        {"everything", QSize(366, 420), 16, 3},
    };
    for (const Row& r : rows) {
        GridWindow<> w(r.viewport);
        CGridCtrl& g = *w.grid;
        g.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        g.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QApplication::processEvents();
        ASSERT_EQ(g.viewport()->size(), r.viewport) << r.name;
        const CCellRange full = g.fullyVisibleNonFixedCellRange();
        EXPECT_EQ(full.minRow, 1) << r.name;
        EXPECT_EQ(full.minCol, 1) << r.name;
        EXPECT_EQ(full.maxRow, r.maxRow) << r.name;
        EXPECT_EQ(full.maxCol, r.maxCol) << r.name;
    }
}
