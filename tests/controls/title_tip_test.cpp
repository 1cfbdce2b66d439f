// The title tip over a clipped cell: when it opens, where, and how keys and mouse
// buttons get past it to the grid.
#include "controls/CTitleTip.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

using namespace morvik;

namespace {

// Stands in for the grid: records the input that reaches it.
class FakeGrid : public QWidget {
public:
    FakeGrid() {
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(true);
        resize(300, 200);
    }
    std::vector<int> keys;
    std::vector<std::pair<Qt::MouseButton, QPoint>> presses;
    std::vector<QPoint> moves;

protected:
    void keyPressEvent(QKeyEvent* e) override { keys.push_back(e->key()); }
    void mousePressEvent(QMouseEvent* e) override {
        presses.emplace_back(e->button(), e->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* e) override { moves.push_back(e->position().toPoint()); }
};

const QString kLongText = QStringLiteral("这是一段放不下的很长的单元格文字");
const QRect kCell(40, 30, 60, 20);

class TitleTipTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.move(100, 100);
        grid.show();
        grid.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
        grid.setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == &grid; }));
    }
    void TearDown() override { tip.hideTip(); }

    bool openTip() { return tip.showTip(kLongText, kCell, kCell); }

    FakeGrid grid;
    CTitleTip tip{&grid};
};

} // namespace

TEST_F(TitleTipTest, TextThatFitsNeverShowsATip) {
    EXPECT_FALSE(tip.showTip(QStringLiteral("G1"), kCell, kCell));
    EXPECT_FALSE(tip.isVisible());
}

TEST_F(TitleTipTest, EmptyTextRectangleShowsNothing) {
    EXPECT_FALSE(tip.showTip(kLongText, kCell, QRect()));
    EXPECT_FALSE(tip.isVisible());
}

TEST_F(TitleTipTest, ClippedTextOpensExactlyOverTheCellWithTheNeededWidth) {
    ASSERT_TRUE(openTip());
    EXPECT_TRUE(tip.isVisible());
    const QString shown = QStringLiteral(" ") + kLongText + QStringLiteral(" ");
    EXPECT_EQ(tip.shownText(), shown);
    EXPECT_EQ(tip.geometry().topLeft(), grid.mapToGlobal(kCell.topLeft()));
    EXPECT_EQ(tip.width(), QFontMetrics(grid.font()).horizontalAdvance(shown));
    EXPECT_EQ(tip.height(), kCell.height());
    EXPECT_EQ(QWidget::mouseGrabber(), &tip);
}

TEST_F(TitleTipTest, GivenFontDecidesTheWidth) {
    QFont big = grid.font();
    big.setPointSize(big.pointSize() * 2);
    ASSERT_TRUE(tip.showTip(kLongText, std::nullopt, kCell, big));
    EXPECT_EQ(tip.width(), QFontMetrics(big).horizontalAdvance(tip.shownText()));
    // Without a hover rectangle the text rectangle is where the pointer may rest.
    EXPECT_EQ(tip.hoverRect(), kCell);
}

TEST_F(TitleTipTest, NoTipWhileTheApplicationHasNoFocus) {
    grid.clearFocus();
    ASSERT_EQ(QApplication::focusWidget(), nullptr);
    EXPECT_FALSE(openTip());
    EXPECT_FALSE(tip.isVisible());
}

TEST_F(TitleTipTest, AlreadyShownTipIsNotOpenedAgain) {
    ASSERT_TRUE(openTip());
    EXPECT_FALSE(openTip());
    EXPECT_TRUE(tip.isVisible());
}

TEST_F(TitleTipTest, KeyHidesTheTipAndStillReachesTheGrid) {
    ASSERT_TRUE(openTip());
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_FALSE(tip.isVisible());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(grid.keys, std::vector<int>{Qt::Key_Right});
}

TEST_F(TitleTipTest, KeySentToTheTipItselfIsHandedToTheGrid) {
    ASSERT_TRUE(openTip());
    QTest::keyClick(&tip, Qt::Key_Down);
    EXPECT_FALSE(tip.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !grid.keys.empty(); }));
    EXPECT_EQ(grid.keys, std::vector<int>{Qt::Key_Down});
}

TEST_F(TitleTipTest, ButtonPressHidesTheTipAndReachesTheGridAtTheSamePlace) {
    struct Case {
        Qt::MouseButton button;
    };
    for (const Case c : {Case{Qt::LeftButton}, Case{Qt::RightButton}, Case{Qt::MiddleButton}}) {
        grid.presses.clear();
        ASSERT_TRUE(openTip());
        QTest::mousePress(&tip, c.button, {}, QPoint(5, 6));
        EXPECT_FALSE(tip.isVisible());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !grid.presses.empty(); })) << c.button;
        ASSERT_EQ(grid.presses.size(), 1u);
        EXPECT_EQ(grid.presses[0].first, c.button);
        EXPECT_EQ(grid.presses[0].second, kCell.topLeft() + QPoint(5, 6));
        QTest::mouseRelease(&tip, c.button, {}, QPoint(5, 6));
    }
}

TEST_F(TitleTipTest, MovesArePassedOnAndLeavingTheHoverRectangleHides) {
    ASSERT_TRUE(openTip());
    QTest::mouseMove(&tip, QPoint(10, 5));
    EXPECT_TRUE(tip.isVisible()) << "the pointer is still over the cell";
    ASSERT_FALSE(grid.moves.empty());
    EXPECT_EQ(grid.moves.back(), kCell.topLeft() + QPoint(10, 5));

    // Past the cell's right edge but still over the (wider) tip.
    const QPoint outside(kCell.width() + 5, 5);
    ASSERT_LT(outside.x(), tip.width());
    QTest::mouseMove(&tip, outside);
    EXPECT_FALSE(tip.isVisible());
    EXPECT_EQ(grid.moves.back(), kCell.topLeft() + outside);
}

TEST(TitleTip, HidingATipThatNeverShowedIsHarmless) {
    QWidget grid;
    CTitleTip tip(&grid);
    tip.hideTip();
    EXPECT_FALSE(tip.isVisible());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}
