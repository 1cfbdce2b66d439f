// Keyboard navigation as a table (key, start cell, expected focus cell), and the keys
// with side effects: Delete and the characters that begin an edit.
#include "GridFixture.h"

using namespace morvik;
using namespace morvik::test;

namespace {

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    CCellID start;
    CCellID expected;
    const char* startText = "1.00";
};

void PrintTo(const KeyCase& c, std::ostream* os) {
    *os << c.name;
}

class GridKeys : public ::testing::TestWithParam<KeyCase> {};

const KeyCase kKeyCases[] = {
    {"TabMovesRight", Qt::Key_Tab, {}, {3, 1}, {3, 2}},
    {"TabFromColumn2WrapsToNextRow", Qt::Key_Tab, {}, {3, 2}, {4, 1}},
    {"TabNeverEntersLastColumnOnLastRow", Qt::Key_Tab, {}, {16, 2}, {16, 2}},
    {"TabFromLastColumnStays", Qt::Key_Tab, {}, {5, 3}, {5, 3}},
    {"TabOnEmptyCellDoesNothing", Qt::Key_Tab, {}, {3, 1}, {3, 1}, ""},
    {"ShiftTabMovesLeft", Qt::Key_Backtab, Qt::ShiftModifier, {3, 2}, {3, 1}},
    {"ShiftTabWrapsToLastColumnAbove", Qt::Key_Backtab, Qt::ShiftModifier, {3, 1}, {2, 3}},
    {"ShiftTabOnFirstCellStays", Qt::Key_Backtab, Qt::ShiftModifier, {1, 1}, {1, 1}},
    {"ShiftTabOnEmptyCellStillMoves", Qt::Key_Backtab, Qt::ShiftModifier, {3, 2}, {3, 1}, ""},
    {"LeftStopsAtFirstNormalColumn", Qt::Key_Left, {}, {4, 1}, {4, 1}},
    {"LeftMoves", Qt::Key_Left, {}, {4, 3}, {4, 2}},
    {"RightEntersLastColumn", Qt::Key_Right, {}, {4, 2}, {4, 3}},
    {"RightStopsAtLastColumn", Qt::Key_Right, {}, {4, 3}, {4, 3}},
    {"UpStopsBelowHeadings", Qt::Key_Up, {}, {1, 2}, {1, 2}},
    {"UpMoves", Qt::Key_Up, {}, {9, 2}, {8, 2}},
    {"DownMoves", Qt::Key_Down, {}, {9, 2}, {10, 2}},
    {"DownStopsAtLastRow", Qt::Key_Down, {}, {16, 2}, {16, 2}},
    {"HomeGoesToFirstRow", Qt::Key_Home, {}, {9, 2}, {1, 2}},
    {"EndGoesToLastRow", Qt::Key_End, {}, {3, 1}, {16, 1}},
    {"PageUpWithoutScrollingGoesToFirstRow", Qt::Key_PageUp, {}, {9, 3}, {1, 3}},
    {"PageDownWithoutScrollingGoesToLastRow", Qt::Key_PageDown, {}, {2, 1}, {16, 1}},
};

TEST_P(GridKeys, MoveTheFocus) {
    const KeyCase& c = GetParam();
    GridWindow<> w; // tall enough to show every row: the page keys cannot scroll
    w.grid->setItemText(c.start.row, c.start.col, QString::fromLatin1(c.startText));
    w.grid->setFocusCell(c.start);
    QTest::keyClick(w.grid, c.key, c.mods);
    EXPECT_EQ(w.grid->focusCell(), c.expected);
    EXPECT_EQ(w.editor(), nullptr); // navigation never opens an editor by itself
}

INSTANTIATE_TEST_SUITE_P(Table, GridKeys, ::testing::ValuesIn(kKeyCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

TEST(GridKeyboard, PageKeysFollowTheScrolledRowsInASmallWindow) {
    GridWindow<> w(QSize(400, 140)); // heading plus about four rows
    CGridCtrl& g = *w.grid;
    g.setFocusCell(2, 1);
    QTest::keyClick(&g, Qt::Key_PageDown);
    const int moved = g.topLeftNonFixedCell().row - 1;
    ASSERT_GT(moved, 0);
    EXPECT_EQ(g.focusCell(), CCellID(2 + moved, 1));
    QTest::keyClick(&g, Qt::Key_End);
    EXPECT_EQ(g.focusCell(), CCellID(16, 1));
    EXPECT_TRUE(g.isCellVisible(16, 1));
    QTest::keyClick(&g, Qt::Key_Home);
    EXPECT_EQ(g.focusCell(), CCellID(1, 1));
    EXPECT_EQ(g.topLeftNonFixedCell().row, 1);
}

TEST(GridKeyboard, FocusChangesAreNotifiedLeavingThenEntering) {
    GridWindow<> w;
    w.grid->setFocusCell(3, 1);
    QSignalSpy spy(w.grid, &CGridCtrl::notify);
    QTest::keyClick(w.grid, Qt::Key_Down);
    EXPECT_EQ(notifications(spy),
              (std::vector<Seen>{{GridFocusLeaving, 3, 1}, {GridFocusEntered, 4, 1}}));
}

TEST(GridKeyboard, NoFocusCellMeansKeysDoNothing) {
    GridWindow<> w;
    QSignalSpy spy(w.grid, &CGridCtrl::notify);
    QTest::keyClick(w.grid, Qt::Key_Down);
    QTest::keyClick(w.grid, Qt::Key_Delete);
    QTest::keyClick(w.grid, '5');
    EXPECT_EQ(w.grid->focusCell(), CCellID());
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(w.editor(), nullptr);
}

TEST(GridKeyboard, DeleteClearsAnEditableCellWithBothNotifications) {
    GridWindow<> w;
    w.grid->setItemText(5, 2, QStringLiteral("3.50"));
    w.grid->setFocusCell(5, 2);
    QSignalSpy spy(w.grid, &CGridCtrl::notify);
    QTest::keyClick(w.grid, Qt::Key_Delete);
    EXPECT_TRUE(w.grid->itemText(5, 2).isEmpty());
    EXPECT_TRUE(w.grid->itemState(5, 2) & CellModified);
    EXPECT_EQ(notifications(spy), (std::vector<Seen>{{GridBeginEdit, 5, 2}, {GridEndEdit, 5, 2}}));
}

TEST(GridKeyboard, DeleteOnAReadOnlyCellChangesAndSendsNothing) {
    GridWindow<> w;
    w.grid->setItemText(5, 2, QStringLiteral("3.50"));
    w.grid->setItemState(5, 2, CellReadOnly);
    w.grid->setFocusCell(5, 2);
    QSignalSpy spy(w.grid, &CGridCtrl::notify);
    QTest::keyClick(w.grid, Qt::Key_Delete);
    EXPECT_EQ(w.grid->itemText(5, 2), QStringLiteral("3.50"));
    EXPECT_FALSE(w.grid->isModified());
    EXPECT_EQ(spy.count(), 0);
}

TEST(GridKeyboard, CharactersBeginAnEditOnlyWhereEditingIsAllowed) {
    struct Row {
        const char* name;
        CCellID cell;
        std::uint32_t state;
        bool editable;
        bool expectEditor;
    };
    const Row rows[] = {
        {"reading column 1", {4, 1}, 0, true, true},
        {"reading column 2", {4, 2}, 0, true, true},
        {"depth column 3", {4, 3}, 0, true, false},
        {"read-only cell", {4, 1}, CellReadOnly, true, false},
        {"grid not editable", {4, 2}, 0, false, false},
    };
    for (const Row& r : rows) {
        GridWindow<> w;
        w.grid->setEditable(r.editable);
        w.grid->setItemState(r.cell.row, r.cell.col, r.state);
        w.grid->setFocusCell(r.cell);
        QSignalSpy spy(w.grid, &CGridCtrl::notify);
        QTest::keyClick(w.grid, '7');
        EXPECT_EQ(w.editor() != nullptr, r.expectEditor) << r.name;
        EXPECT_EQ(notificationsWith(spy, GridBeginEdit).size(), r.expectEditor ? 1u : 0u) << r.name;
    }
}

TEST(GridKeyboard, CtrlKeysAndEnterDoNotBeginAnEdit) {
    GridWindow<> w;
    w.grid->setFocusCell(4, 1);
    QTest::keyClick(w.grid, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(w.grid, Qt::Key_Return);
    QTest::keyClick(w.grid, Qt::Key_Escape);
    EXPECT_EQ(w.editor(), nullptr);
}

TEST(GridKeyboard, ShiftArrowsExtendTheSelectionFromTheStartCell) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    w.click(3, 1);
    QTest::keyClick(&g, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&g, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(g.focusCell(), CCellID(4, 2));
    EXPECT_EQ(g.selectedCount(), 4);
    QTest::keyClick(&g, Qt::Key_Down); // without Shift the selection restarts
    EXPECT_EQ(g.selectedCells(), (std::vector<CCellID>{CCellID(5, 2)}));
}

TEST(GridKeyboard, CtrlTabLeavesTheGridForTheNextControlInsteadOfMoving) {
    GridWindow<> w;
    auto* next = new QLineEdit(w.window.get()); // the control after the grid
    next->setGeometry(0, 0, 10, 10);
    next->show();
    QWidget::setTabOrder(w.grid, next);
    w.grid->setItemText(3, 1, QStringLiteral("1.00"));
    w.grid->setFocusCell(3, 1);
    w.grid->setFocus();
    QTest::keyClick(w.grid, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(w.grid->focusCell(), CCellID(3, 1));
    EXPECT_TRUE(next->hasFocus());
    // Plain Tab still belongs to the grid.
    w.grid->setFocus();
    QTest::keyClick(w.grid, Qt::Key_Tab);
    EXPECT_EQ(w.grid->focusCell(), CCellID(3, 2));
    EXPECT_TRUE(w.grid->hasFocus());
    // From inside an editor it stores the text and leaves as well.
    QTest::keyClick(w.grid, '6');
    ASSERT_NE(w.editor(), nullptr);
    w.key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(w.grid->itemText(3, 2), QStringLiteral("6"));
    EXPECT_EQ(w.grid->focusCell(), CCellID(3, 2));
    EXPECT_EQ(w.editor(), nullptr);
    EXPECT_TRUE(next->hasFocus());
}
