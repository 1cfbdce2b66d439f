// The in-place editor: how the first key treats the text, how each key ends the edit, and
// what the grid does with the result (store, mark, notify, move on).
#include "GridFixture.h"

using namespace morvik;
using namespace morvik::test;

namespace {

// Opens the editor on (row, col) holding `text` by typing `firstKey` or clicking.
struct EditingGrid {
    GridWindow<> w;
    QSignalSpy spy{w.grid, &CGridCtrl::notify};

    EditingGrid(int row, int col, const QString& text) {
        w.grid->setItemText(row, col, text);
        w.grid->setFocusCell(row, col);
        spy.clear();
    }
    QLineEdit* openByKey(char ch) {
        QTest::keyClick(w.grid, ch);
        return w.editor();
    }
    QLineEdit* openByClick(int row, int col) {
        w.click(row, col);
        return w.editor();
    }
};

} // namespace

TEST(GridEdit, FirstDigitReplacesTheText) {
    EditingGrid s(2, 1, QStringLiteral("12.34"));
    QLineEdit* e = s.openByKey('5');
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->text(), QStringLiteral("5"));
    EXPECT_EQ(e->cursorPosition(), 1);
}

TEST(GridEdit, ClickOnTheFocusCellKeepsTheTextWithTheCaretAtTheEnd) {
    EditingGrid s(2, 1, QStringLiteral("12.34"));
    QSignalSpy spy(s.w.grid, &CGridCtrl::notify);
    QTest::mousePress(s.w.grid->viewport(), Qt::LeftButton, {}, s.w.centre(2, 1));
    EXPECT_EQ(s.w.editor(), nullptr); // the edit starts on release only
    EXPECT_EQ(s.w.grid->mouseMode(), CGridCtrl::MousePrepareEdit);
    QTest::mouseRelease(s.w.grid->viewport(), Qt::LeftButton, {}, s.w.centre(2, 1));
    QLineEdit* e = s.w.editor();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->text(), QStringLiteral("12.34"));
    EXPECT_FALSE(e->hasSelectedText());
    EXPECT_EQ(e->cursorPosition(), 5);
    EXPECT_EQ(notifications(spy), (std::vector<Seen>{{GridBeginEdit, 2, 1}}));
}

TEST(GridEdit, ClickOnAnotherCellOnlyMovesTheFocus) {
    EditingGrid s(2, 1, QStringLiteral("12.34"));
    s.w.click(5, 2);
    EXPECT_EQ(s.w.grid->focusCell(), CCellID(5, 2));
    EXPECT_EQ(s.w.editor(), nullptr);
}

TEST(GridEdit, BackspaceAsFirstKeyDeletesTheLastCharacter) {
    EditingGrid s(2, 1, QStringLiteral("12.34"));
    QTest::keyClick(s.w.grid, Qt::Key_Backspace);
    QLineEdit* e = s.w.editor();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->text(), QStringLiteral("12.3"));
}

TEST(GridEdit, EnterStoresTheTextAndKeepsTheFocusCell) {
    EditingGrid s(2, 1, QStringLiteral("12.34"));
    s.openByKey('4');
    s.w.type(QStringLiteral(".5"));
    s.w.key(Qt::Key_Return);
    EXPECT_EQ(s.w.editor(), nullptr);
    EXPECT_EQ(s.w.grid->itemText(2, 1), QStringLiteral("4.5"));
    EXPECT_EQ(s.w.grid->focusCell(), CCellID(2, 1));
    EXPECT_TRUE(s.w.grid->itemState(2, 1) & CellModified);
    EXPECT_TRUE(s.w.grid->isModified());
    EXPECT_EQ(notifications(s.spy),
              (std::vector<Seen>{{GridBeginEdit, 2, 1}, {GridEndEdit, 2, 1}}));
    EXPECT_TRUE(s.w.grid->hasFocus());
}

TEST(GridEdit, EscRestoresTheTextAndStillSendsEndEditWithoutMarking) {
    EditingGrid s(2, 1, QStringLiteral("12.34"));
    s.openByKey('9');
    s.w.type(QStringLiteral("9"));
    s.w.key(Qt::Key_Escape);
    EXPECT_EQ(s.w.editor(), nullptr);
    EXPECT_EQ(s.w.grid->itemText(2, 1), QStringLiteral("12.34"));
    EXPECT_FALSE(s.w.grid->itemState(2, 1) & CellModified);
    EXPECT_FALSE(s.w.grid->isModified());
    EXPECT_EQ(notificationsWith(s.spy, GridEndEdit), (std::vector<Seen>{{GridEndEdit, 2, 1}}));
    EXPECT_EQ(s.w.grid->focusCell(), CCellID(2, 1));
}

TEST(GridEdit, TabStoresMovesRightAndOpensTheNextCellWithItsTextSelected) {
    EditingGrid s(2, 1, QStringLiteral("1.00"));
    s.w.grid->setItemText(2, 2, QStringLiteral("5.50"));
    s.openByKey('2');
    s.w.key(Qt::Key_Tab);
    EXPECT_EQ(s.w.grid->itemText(2, 1), QStringLiteral("2"));
    EXPECT_EQ(s.w.grid->focusCell(), CCellID(2, 2));
    QLineEdit* next = s.w.editor();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->text(), QStringLiteral("5.50"));
    EXPECT_EQ(next->selectedText(), QStringLiteral("5.50"));
    EXPECT_TRUE(next->hasFocus());
}

TEST(GridEdit, SeventhCharacterAdvancesToTheNextCellWithItsTextSelected) {
    EditingGrid s(3, 1, QString());
    s.w.grid->setItemText(3, 2, QStringLiteral("4.20"));
    s.openByKey('1');
    s.w.type(QStringLiteral("2.3456")); // six more: seven in all
    EXPECT_EQ(s.w.grid->itemText(3, 1), QStringLiteral("12.3456"));
    EXPECT_EQ(s.w.grid->focusCell(), CCellID(3, 2));
    QLineEdit* next = s.w.editor();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->selectedText(), QStringLiteral("4.20"));
    EXPECT_EQ(notificationsWith(s.spy, GridEndEdit), (std::vector<Seen>{{GridEndEdit, 3, 1}}));
}

TEST(GridEdit, SixCharactersStayInTheCell) {
    EditingGrid s(3, 1, QString());
    s.openByKey('1');
    s.w.type(QStringLiteral("2.345"));
    ASSERT_NE(s.w.editor(), nullptr);
    EXPECT_EQ(s.w.editor()->text(), QStringLiteral("12.345"));
    EXPECT_EQ(s.w.grid->focusCell(), CCellID(3, 1));
}

TEST(GridEdit, ArrowsEndAKeyStartedEditButNotAClickStartedOne) {
    {
        EditingGrid s(3, 1, QStringLiteral("1.5"));
        s.openByKey('7');
        s.w.key(Qt::Key_Down);
        EXPECT_EQ(s.w.grid->itemText(3, 1), QStringLiteral("7"));
        EXPECT_EQ(s.w.grid->focusCell(), CCellID(4, 1));
        ASSERT_NE(s.w.editor(), nullptr); // re-opened on the new cell
    }
    {
        EditingGrid s(3, 1, QStringLiteral("1.5"));
        ASSERT_NE(s.openByClick(3, 1), nullptr);
        s.w.key(Qt::Key_Left); // moves the caret only
        ASSERT_NE(s.w.editor(), nullptr);
        EXPECT_EQ(s.w.editor()->cursorPosition(), 2);
        s.w.key(Qt::Key_Down, Qt::ControlModifier); // Ctrl makes it leave
        EXPECT_EQ(s.w.grid->focusCell(), CCellID(4, 1));
    }
}

TEST(GridEdit, ShiftTabFromTheEditorMovesBack) {
    EditingGrid s(3, 1, QStringLiteral("1.5"));
    s.openByKey('8');
    s.w.key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(s.w.grid->itemText(3, 1), QStringLiteral("8"));
    EXPECT_EQ(s.w.grid->focusCell(), CCellID(2, 3)); // wrapped to the last column above
}

TEST(GridEdit, ClickElsewhereEndsTheEdit) {
    EditingGrid s(3, 1, QStringLiteral("1.5"));
    s.openByKey('6');
    s.w.click(8, 2);
    EXPECT_EQ(s.w.grid->itemText(3, 1), QStringLiteral("6"));
    EXPECT_EQ(s.w.grid->focusCell(), CCellID(8, 2));
    EXPECT_EQ(s.w.editor(), nullptr);
}

TEST(GridEdit, EditorGrowsWithItsTextUpToTheGridEdge) {
    EditingGrid s(3, 2, QString());
    s.w.grid->setColumnWidth(2, 20);
    s.openByKey('1');
    QLineEdit* e = s.w.editor();
    ASSERT_NE(e, nullptr);
    s.w.type(QStringLiteral("2345"));
    const QFontMetrics fm(e->font());
    EXPECT_GE(e->width(), fm.horizontalAdvance(QStringLiteral("12345  ")));
    EXPECT_LE(e->geometry().right(), s.w.grid->viewport()->rect().right());
}

TEST(GridEdit, AltKeysAreSwallowedByTheEditor) {
    EditingGrid s(3, 1, QStringLiteral("1.5"));
    s.openByKey('2');
    QTest::keyClick(s.w.editor(), Qt::Key_X, Qt::AltModifier);
    ASSERT_NE(s.w.editor(), nullptr);
    EXPECT_EQ(s.w.editor()->text(), QStringLiteral("2"));
}

TEST(GridEdit, DoubleClickOnTheFocusCellKeepsItsTextWithTheCaretAtTheEnd) {
    EditingGrid s(5, 2, QStringLiteral("12.34"));
    QWidget* top = s.w.window.get();
    const QPoint at = s.w.grid->viewport()->mapTo(top, s.w.centre(5, 2));
    // Through the window, so the second click goes wherever the pointer is: the new editor.
    QTest::mouseDClick(top->windowHandle(), Qt::LeftButton, {}, at);
    QLineEdit* e = s.w.editor();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->text(), QStringLiteral("12.34"));
    EXPECT_FALSE(e->hasSelectedText()) << e->selectedText().toStdString();
    EXPECT_EQ(e->cursorPosition(), 5);
    s.w.type(QStringLiteral("5"));
    EXPECT_EQ(e->text(), QStringLiteral("12.345"));
    // A double click later on, inside the editor, is the user's own and selects a word.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseDClick(e, Qt::LeftButton, {}, QPoint(3, e->height() / 2));
    EXPECT_TRUE(e->hasSelectedText());
}

namespace {
// Records whether the grid told its owner anything while an editor was being built.
class WatchedGrid : public CGridCtrl {
public:
    using CGridCtrl::CGridCtrl;
    bool building = false;
    int toldWhileBuilding = 0;
    int editorsBuilt = 0;

protected:
    QWidget* createInPlaceEditor(const QRect& rect, std::uint32_t format, int id, int row, int col,
                                 const QString& text, int firstKey) override {
        if (building)
            ++toldWhileBuilding; // a second editor opened from inside the first
        building = true;
        QWidget* e = CGridCtrl::createInPlaceEditor(rect, format, id, row, col, text, firstKey);
        building = false;
        ++editorsBuilt;
        return e;
    }
};
} // namespace

TEST(GridEdit, BackspaceOnALongCellEndsNothingWhileTheEditorIsBuilt) {
    GridWindow<WatchedGrid> w;
    WatchedGrid& g = *w.grid;
    QObject::connect(&g, &CGridCtrl::notify, &g, [&g](const GridNotify& n) {
        if (g.building && n.code == GridEndEdit)
            ++g.toldWhileBuilding;
    });
    g.setItemText(3, 1, QStringLiteral("12.34567")); // eight characters
    g.setItemText(3, 2, QStringLiteral("4.20"));
    g.setFocusCell(3, 1);
    QTest::keyClick(&g, Qt::Key_Backspace);
    EXPECT_EQ(g.toldWhileBuilding, 0);
    // Seven characters are left: once the editor stands, the edit advances as usual.
    QTRY_COMPARE(g.focusCell(), CCellID(3, 2));
    EXPECT_EQ(g.itemText(3, 1), QStringLiteral("12.3456"));
    EXPECT_EQ(g.editorsBuilt, 2);
    ASSERT_NE(w.editor(), nullptr);
    EXPECT_EQ(w.editor()->selectedText(), QStringLiteral("4.20"));
    EXPECT_EQ(g.toldWhileBuilding, 0);
}
