// Copy, cut and paste: the clipboard wire form and how pasted text is split and placed.
#include "GridFixture.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

using namespace morvik;
using namespace morvik::test;

TEST(GridClipboard, PasteOfCommaAndTabLinesFillsFourCells) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    g.setFocusCell(1, 1);
    QSignalSpy spy(&g, &CGridCtrl::notify);
    QGuiApplication::clipboard()->setText(QStringLiteral("1,2\n3\t4"));
    QTest::keyClick(&g, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(g.itemText(1, 1), QStringLiteral("1"));
    EXPECT_EQ(g.itemText(1, 2), QStringLiteral("2"));
    EXPECT_EQ(g.itemText(2, 1), QStringLiteral("3"));
    EXPECT_EQ(g.itemText(2, 2), QStringLiteral("4"));
    EXPECT_TRUE(g.itemText(1, 3).isEmpty());
    EXPECT_TRUE(g.itemState(2, 2) & CellModified);
    EXPECT_EQ(
        notificationsWith(spy, GridEndEdit),
        (std::vector<Seen>{
            {GridEndEdit, 1, 1}, {GridEndEdit, 1, 2}, {GridEndEdit, 2, 1}, {GridEndEdit, 2, 2}}));
    EXPECT_EQ(notificationsWith(spy, GridBeginEdit).size(), 4u);
}

TEST(GridClipboard, PasteSplittingRules) {
    struct Row {
        const char* name;
        const char* text;
        std::vector<std::pair<CCellID, const char*>> expected;
    };
    const Row rows[] = {
        {"runs of separators count as one", "5,,\t6", {{{3, 1}, "5"}, {{3, 2}, "6"}}},
        {"leading separators are skipped", ",\t7", {{{3, 1}, "7"}}},
        {"fields are trimmed", " 8 \r\n 9\t", {{{3, 1}, "8"}, {{4, 1}, "9"}}},
        {"fields beyond the grid are dropped", "1,2,3,4", {{{3, 3}, "3"}}},
        {"lines beyond the grid are dropped", "1\n2", {{{3, 1}, "1"}}},
    };
    for (const Row& r : rows) {
        CGridCtrl g;
        layOutReadingGrid(g);
        const int startRow = std::string(r.name).find("lines beyond") == 0 ? 16 : 3;
        g.setFocusCell(startRow, 1);
        g.pasteTextToGrid(CCellID(startRow, 1), textToGbk(QString::fromLatin1(r.text)));
        for (const auto& [cell, text] : r.expected) {
            const CCellID at(cell.row == 3 ? startRow : cell.row + startRow - 3, cell.col);
            EXPECT_EQ(g.itemText(at.row, at.col), QString::fromLatin1(text)) << r.name;
        }
    }
}

TEST(GridClipboard, PasteNeverWritesReadOnlyCells) {
    CGridCtrl g;
    layOutReadingGrid(g);
    g.setItemText(2, 2, QStringLiteral("keep"));
    g.setItemState(2, 2, CellReadOnly);
    EXPECT_TRUE(g.pasteTextToGrid(CCellID(1, 1), textToGbk(QStringLiteral("1,2\n3,4"))));
    EXPECT_EQ(g.itemText(2, 2), QStringLiteral("keep"));
    EXPECT_EQ(g.itemText(2, 1), QStringLiteral("3"));
    g.setItemState(5, 1, CellReadOnly);
    EXPECT_FALSE(g.pasteTextToGrid(CCellID(5, 1), textToGbk(QStringLiteral("9"))));
    EXPECT_TRUE(g.itemText(5, 1).isEmpty());
}

TEST(GridClipboard, CopyWireFormIsGbkTabbedLinesWithOneZeroByte) {
    CGridCtrl g;
    layOutReadingGrid(g);
    g.setItemText(1, 1, QStringLiteral("1.20"));
    g.setItemText(1, 3, QStringLiteral("序号"));
    g.setItemText(2, 2, QStringLiteral("x")); // in the range but not selected
    g.setItemState(1, 1, CellSelected);
    g.setItemState(1, 2, CellSelected); // selected and empty: one space
    g.setItemState(1, 3, CellSelected);
    g.setItemState(2, 1, CellSelected);
    const QByteArray expected = QByteArray("1.20\t \t\xD0\xF2\xBA\xC5\n \t\t", 15) + '\0';
    EXPECT_EQ(g.copyTextFromSelection(), expected);
    EXPECT_TRUE(g.canCopy());
    g.setSelectedRange(-1, -1, -1, -1);
    EXPECT_TRUE(g.copyTextFromSelection().isEmpty());
    EXPECT_FALSE(g.canCopy());
}

TEST(GridClipboard, CutClearsSelectedEditableCellsOnly) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    g.setItemText(1, 1, QStringLiteral("a"));
    g.setItemText(1, 2, QStringLiteral("b"));
    g.setItemState(1, 2, CellReadOnly);
    g.setFocusCell(1, 1);
    g.setSelectedRange(1, 1, 1, 2);
    QSignalSpy spy(&g, &CGridCtrl::notify);
    QTest::keyClick(&g, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("a\tb"));
    EXPECT_TRUE(g.itemText(1, 1).isEmpty());
    EXPECT_EQ(g.itemText(1, 2), QStringLiteral("b"));
    EXPECT_EQ(notificationsWith(spy, GridEndEdit), (std::vector<Seen>{{GridEndEdit, 1, 1}}));
    // The cleared cell left the selection with its flag.
    for (const CCellID& id : g.selectedCells())
        EXPECT_TRUE(g.itemState(id.row, id.col) & CellSelected);
    g.setEditable(false);
    EXPECT_FALSE(g.canCut());
}

TEST(GridClipboard, DropsAreOffByDefaultAndPasteAtTheDropCellWhenOn) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    EXPECT_FALSE(g.dragAndDropAllowed());
    EXPECT_FALSE(g.viewport()->acceptDrops());
    QMimeData mime;
    mime.setText(QStringLiteral("2.5\t3.5"));
    auto drop = [&](CCellID at) {
        QDragEnterEvent enter(w.centre(at.row, at.col), Qt::CopyAction | Qt::MoveAction, &mime,
                              Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(g.viewport(), &enter);
        const bool highlighted = g.itemState(at.row, at.col) & CellDropTarget;
        QDropEvent dropped(w.centre(at.row, at.col), Qt::CopyAction | Qt::MoveAction, &mime,
                           Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(g.viewport(), &dropped);
        return highlighted;
    };
    EXPECT_FALSE(drop(CCellID(4, 1))); // no drop target registered: nothing arrives
    EXPECT_TRUE(g.itemText(4, 1).isEmpty());
    g.registerDropTarget(true);
    EXPECT_TRUE(drop(CCellID(4, 1)));
    EXPECT_TRUE(g.itemText(4, 1).isEmpty()); // drag and drop not allowed
    g.setDragAndDropAllowed(true);
    drop(CCellID(4, 1));
    EXPECT_EQ(g.itemText(4, 1), QStringLiteral("2.5"));
    EXPECT_EQ(g.itemText(4, 2), QStringLiteral("3.5"));
    EXPECT_FALSE(g.itemState(4, 1) & CellDropTarget); // highlight gone after the drop
}
