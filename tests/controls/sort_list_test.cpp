// The member list control: columns, stored row copies, heading-click sorting, drawing of
// selected rows and check boxes, and the notifications the main dialog relies on.
#include "controls/CSortListCtrl.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <random>

using namespace morvik;

namespace {

const QString kMainHeadings = QStringLiteral("序号,40;构件编号,90;平均值,60;抗压强度,60");

class SortListTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.setHeadings(kMainHeadings);
        list.resize(320, 240);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    }

    void addMembers(const QStringList& numbers, const QStringList& names) {
        for (int i = 0; i < numbers.size(); ++i)
            list.addRow({numbers[i], names[i], "--", "--"});
    }

    QStringList column(int c) const {
        QStringList out;
        for (int r = 0; r < list.rowCount(); ++r)
            out << list.cellText(r, c);
        return out;
    }

    QPoint cellCentre(int row, int c) const {
        return list.visualRect(list.model()->index(row, c)).center();
    }

    void clickHeading(int c) {
        CSortHeaderCtrl* h = list.sortHeader();
        const QPoint p(h->sectionViewportPosition(c) + h->sectionSize(c) / 2, h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, p);
    }

    static ListItemChange changeAt(const QSignalSpy& spy, int i) {
        return spy.at(i).at(0).value<ListItemChange>();
    }

    CSortListCtrl list;
};

} // namespace

TEST_F(SortListTest, MainDialogHeadingsMakeFourColumns) {
    ASSERT_EQ(list.columnCount(), 4);
    const QStringList names = {"序号", "构件编号", "平均值", "抗压强度"};
    const int widths[] = {40, 90, 60, 60};
    const Qt::Alignment align[] = {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignHCenter,
                                   Qt::AlignHCenter};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(list.model()->headerData(c, Qt::Horizontal).toString(), names[c]);
        EXPECT_EQ(list.sortHeader()->sectionSize(c), widths[c]);
        const int a = list.model()->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt();
        EXPECT_EQ(Qt::Alignment(a) & Qt::AlignHorizontal_Mask, align[c]) << c;
    }
}

TEST_F(SortListTest, AddRowStoresTextsAndTheListsColours) {
    EXPECT_EQ(list.addRow({"1", "G001", "4.12", "6.3"}), 0);
    EXPECT_EQ(list.addRow({"2", "G002"}), 1) << "missing texts are empty, not read past";
    ASSERT_EQ(list.rowCount(), 2);

    const ListRowData* d = list.rowData(1);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->texts, (std::vector<QString>{"2", "G002", "", ""}));
    EXPECT_EQ(d->textColours, std::vector<ColorRef>(4, list.colours().text));
    EXPECT_EQ(d->backColours, std::vector<ColorRef>(4, list.colours().background));
    EXPECT_EQ(list.cellText(0, 3), "6.3");
    EXPECT_FALSE(list.isRowChecked(0)) << "new rows start unticked";
}

TEST_F(SortListTest, SetCellTextKeepsTheStoredCopyInStep) {
    addMembers({"1", "2"}, {"G001", "G002"});
    EXPECT_TRUE(list.setCellText(1, 2, "3.98"));
    EXPECT_EQ(list.cellText(1, 2), "3.98");
    EXPECT_EQ(list.rowData(1)->texts[2], "3.98");

    EXPECT_FALSE(list.setCellText(5, 0, "x"));
    EXPECT_FALSE(list.setCellText(0, 4, "x"));
    EXPECT_FALSE(list.setCellText(0, -1, "x"));
    EXPECT_EQ(list.rowData(0)->texts, (std::vector<QString>{"1", "G001", "--", "--"}));
}

TEST_F(SortListTest, FreedRowKeepsItsTextAndSortsWithoutItsCopy) {
    addMembers({"2", "1", "3"}, {"B", "A", "C"});
    list.freeRowData(1);
    EXPECT_EQ(list.rowData(1), nullptr);
    EXPECT_EQ(list.cellText(1, 1), "A");
    list.sortRows(0, true);
    // The freed row sorts as an empty text (0); the others keep their order.
    EXPECT_EQ(column(1), (QStringList{"A", "B", "C"}));
}

TEST_F(SortListTest, HeadingClicksSortAscendingThenDescendingThenNewColumnAscending) {
    addMembers({"12", "9", "100", "1"}, {"G-9", "G-10", "G003", "G001"});

    clickHeading(0);
    EXPECT_EQ(column(0), (QStringList{"1", "9", "12", "100"}));
    EXPECT_EQ(list.sortColumn(), 0);
    EXPECT_TRUE(list.sortAscending());
    EXPECT_EQ(list.sortHeader()->sortColumn(), 0);
    EXPECT_TRUE(list.sortHeader()->sortAscending());

    clickHeading(0);
    EXPECT_EQ(column(0), (QStringList{"100", "12", "9", "1"}));
    EXPECT_FALSE(list.sortAscending());
    EXPECT_FALSE(list.sortHeader()->sortAscending());

    clickHeading(1);
    EXPECT_EQ(list.sortColumn(), 1);
    EXPECT_TRUE(list.sortAscending());
    EXPECT_EQ(list.sortHeader()->sortColumn(), 1);
    // Texts compare as texts: G-10 before G-9, and every row's texts moved together.
    EXPECT_LT(column(1).indexOf("G-10"), column(1).indexOf("G-9"));
    EXPECT_LT(column(1).indexOf("G001"), column(1).indexOf("G003"));
    for (int r = 0; r < list.rowCount(); ++r)
        EXPECT_EQ(list.rowData(r)->texts[1], list.cellText(r, 1));
    EXPECT_EQ(list.cellText(column(1).indexOf("G-10"), 0), "9");
}

TEST_F(SortListTest, HeadingClickDoesNothingWhenSortingIsOff) {
    addMembers({"12", "9"}, {"B", "A"});
    list.setSortOnHeadingClick(false);
    clickHeading(0);
    EXPECT_EQ(column(0), (QStringList{"12", "9"}));
    EXPECT_EQ(list.sortColumn(), -1);
    EXPECT_EQ(list.sortHeader()->sortColumn(), -1);
}

TEST_F(SortListTest, SortingCarriesChecksAndSelectionWithTheRowsSilently) {
    addMembers({"3", "1", "2"}, {"C", "A", "B"});
    list.setRowChecked(0, true);
    list.setRowSelected(0, true);
    QSignalSpy spy(&list, &CSortListCtrl::itemChanged);
    list.sortRows(0, true);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(column(1), (QStringList{"A", "B", "C"}));
    EXPECT_TRUE(list.isRowChecked(2));
    EXPECT_FALSE(list.isRowChecked(0));
    EXPECT_EQ(list.selectedRow(), 2);
}

TEST_F(SortListTest, SelectedRowIsDrawnInTheHighlightColours) {
    addMembers({"1", "2", "3"}, {"G001", "G002", "G003"});
    list.setCellColours(1, 3, 0x0000FF, 0xCCFFFF);
    list.setRowSelected(1, true);
    const QImage img = list.viewport()->grab().toImage();
    auto pixel = [&](int row, int c) {
        const QRect r = list.visualRect(list.model()->index(row, c));
        // Inside the left text inset, so no glyph is hit.
        return colorRefFrom(img.pixelColor(r.left() + 2, r.center().y()));
    };
    const ListColours& k = list.colours();
    EXPECT_EQ(pixel(1, 1), k.highlight);
    EXPECT_EQ(pixel(1, 2), k.highlight);
    EXPECT_EQ(pixel(1, 3), ColorRef(0xCCFFFF)) << "a cell with its own background keeps it";
    EXPECT_EQ(pixel(0, 1), k.background);
    EXPECT_EQ(pixel(2, 2), k.background);

    // The selected row's text is in the highlight text colour.
    const QRect nameCell = list.visualRect(list.model()->index(1, 1));
    int textPixels = 0;
    for (int y = nameCell.top(); y <= nameCell.bottom(); ++y)
        for (int x = nameCell.left(); x <= nameCell.right(); ++x)
            textPixels += colorRefFrom(img.pixelColor(x, y)) == k.highlightText;
    EXPECT_GT(textPixels, 0);
}

TEST(ListCellColours, HighlightRule) {
    ListColours k;
    k.text = 0x646464;
    k.background = 0xFFFFFF;
    k.highlight = 0xD77800;
    k.highlightText = 0xFFFFFF;
    ListRowData d{{"1", "G001"}, {0x646464, 0x0000FF}, {0xFFFFFF, 0xCCFFFF}};
    struct Case {
        const char* name;
        const ListRowData* data;
        int column;
        bool selected;
        ColorRef text, back;
    } cases[] = {
        {"plain cell", &d, 0, false, 0x646464, 0xFFFFFF},
        {"selected plain cell", &d, 0, true, 0xFFFFFF, 0xD77800},
        {"own colours", &d, 1, false, 0x0000FF, 0xCCFFFF},
        {"selected own background stays", &d, 1, true, 0x0000FF, 0xCCFFFF},
        {"no row data uses list colours", nullptr, 0, false, 0x646464, 0xFFFFFF},
        {"column beyond the copy", &d, 5, false, 0x646464, 0xFFFFFF},
    };
    for (const Case& c : cases) {
        const CellColours got = listCellColours(c.data, c.column, c.selected, k);
        EXPECT_EQ(got.text, c.text) << c.name;
        EXPECT_EQ(got.background, c.back) << c.name;
    }
}

TEST_F(SortListTest, CheckBoxIsDrawnTickedAtItsPlace) {
    addMembers({"1", "2"}, {"G001", "G002"});
    list.setRowChecked(1, true, ListNotify::Quiet);
    const QImage img = list.viewport()->grab().toImage();
    const QRect cell = list.visualRect(list.model()->index(0, 0));
    const QRect box = list.checkBoxRect(0);
    EXPECT_EQ(box.left(), cell.left() + kListCheckBoxLeft);
    EXPECT_EQ(box.width(), kListCheckBoxWidth);
    EXPECT_EQ(colorRefFrom(img.pixelColor(box.left(), box.center().y())),
              list.colours().checkFrame);
    auto markPixels = [&](int row) {
        const QRect b = list.checkBoxRect(row).adjusted(1, 1, -1, -1);
        int n = 0;
        for (int y = b.top(); y <= b.bottom(); ++y)
            for (int x = b.left(); x <= b.right(); ++x)
                n += colorRefFrom(img.pixelColor(x, y)) == list.colours().checkMark;
        return n;
    };
    EXPECT_EQ(markPixels(0), 0);
    EXPECT_GT(markPixels(1), 0);
}

TEST_F(SortListTest, MouseOnCheckBoxTogglesWithExactlyOneCheckNotification) {
    addMembers({"1", "2"}, {"G001", "G002"});
    QSignalSpy spy(&list, &CSortListCtrl::itemChanged);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.checkBoxRect(1).center());
    ASSERT_EQ(spy.count(), 1);
    const ListItemChange c = changeAt(spy, 0);
    EXPECT_EQ(c.row, 1);
    EXPECT_TRUE(c.checkChanged());
    EXPECT_TRUE(c.isChecked());
    EXPECT_FALSE(c.becameSelected());
    EXPECT_TRUE(list.isRowChecked(1));
    EXPECT_EQ(list.selectedRow(), -1) << "ticking does not select";

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.checkBoxRect(1).center());
    ASSERT_EQ(spy.count(), 2);
    EXPECT_TRUE(changeAt(spy, 1).checkChanged());
    EXPECT_FALSE(changeAt(spy, 1).isChecked());
    EXPECT_FALSE(list.isRowChecked(1));
}

TEST_F(SortListTest, SpaceTogglesTheFocusedRowWithExactlyOneCheckNotification) {
    addMembers({"1", "2"}, {"G001", "G002"});
    list.setFocus();
    list.setRowState(0, kListFocused | kListSelected, kListFocused | kListSelected,
                     ListNotify::Quiet);
    QSignalSpy spy(&list, &CSortListCtrl::itemChanged);
    QTest::keyClick(&list, Qt::Key_Space);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(changeAt(spy, 0).row, 0);
    EXPECT_TRUE(changeAt(spy, 0).checkChanged());
    EXPECT_TRUE(list.isRowChecked(0));
    EXPECT_EQ(list.rowState(0), kListFocused | kListSelected | kListChecked);
}

TEST_F(SortListTest, SelectAllKeyIsLeftToTheOwner) {
    addMembers({"1", "2"}, {"G001", "G002"});
    list.setFocus();
    QSignalSpy spy(&list, &CSortListCtrl::itemChanged);
    QKeyEvent ctrlA(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, "a");
    QApplication::sendEvent(&list, &ctrlA);
    EXPECT_FALSE(ctrlA.isAccepted());
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(list.selectedRow(), -1);
}

TEST_F(SortListTest, ClickingARowReportsASelectionChangeNotACheckChange) {
    addMembers({"1", "2"}, {"G001", "G002"});
    list.setRowSelected(0, true, ListNotify::Quiet);
    QSignalSpy spy(&list, &CSortListCtrl::itemChanged);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cellCentre(1, 1));
    int becameSelected = 0, lostSelection = 0;
    for (int i = 0; i < spy.count(); ++i) {
        const ListItemChange c = changeAt(spy, i);
        EXPECT_FALSE(c.checkChanged());
        if (c.becameSelected()) {
            ++becameSelected;
            EXPECT_EQ(c.row, 1);
        }
        if (c.becameDeselected()) {
            ++lostSelection;
            EXPECT_EQ(c.row, 0) << "the quietly selected row still reports losing it";
        }
    }
    EXPECT_EQ(becameSelected, 1);
    EXPECT_EQ(lostSelection, 1);
    EXPECT_EQ(list.selectedRow(), 1);
}

TEST_F(SortListTest, ProgrammaticChangesNotifyUnlessQuiet) {
    addMembers({"1", "2", "3"}, {"G001", "G002", "G003"});
    QSignalSpy spy(&list, &CSortListCtrl::itemChanged);

    list.setRowChecked(0, true, ListNotify::Quiet);
    list.setRowSelected(2, true, ListNotify::Quiet);
    list.setRowState(1, kListFocused, kListFocused, ListNotify::Quiet);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_TRUE(list.isRowChecked(0));
    EXPECT_EQ(list.rowState(2) & kListSelected, kListSelected);
    EXPECT_EQ(list.rowState(1) & kListFocused, kListFocused);

    list.setRowChecked(0, true);
    EXPECT_EQ(spy.count(), 0) << "no change, no notification";
    list.setRowChecked(1, true);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_TRUE(changeAt(spy, 0).checkChanged());
    list.setRowSelected(2, false);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(changeAt(spy, 1).row, 2);
    EXPECT_EQ(changeAt(spy, 1).oldState & kListSelected, kListSelected);
    EXPECT_EQ(changeAt(spy, 1).newState & kListSelected, 0u);
}

TEST_F(SortListTest, DeletingRowsDoesNotNotify) {
    addMembers({"1", "2", "3"}, {"G001", "G002", "G003"});
    list.setRowState(1, kListFocused | kListSelected, kListFocused | kListSelected);
    QSignalSpy spy(&list, &CSortListCtrl::itemChanged);
    list.deleteRow(1);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(column(1), (QStringList{"G001", "G003"}));
    list.deleteAllRows();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(SortListTest, RightClickIsReportedWithItsRow) {
    addMembers({"1", "2"}, {"G001", "G002"});
    QSignalSpy spy(&list, &CSortListCtrl::rightClicked);
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, cellCentre(1, 2));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 1);
    EXPECT_EQ(spy.at(0).at(1).toPoint(), list.viewport()->mapToGlobal(cellCentre(1, 2)));
}

TEST_F(SortListTest, LabelEditOfTheNumberRevertsWhenTheEditorCloses) {
    addMembers({"1", "2"}, {"G001", "G002"});
    list.setFocus();
    list.setRowState(0, kListFocused | kListSelected, kListFocused | kListSelected);
    QTest::keyClick(&list, Qt::Key_F2);
    QPointer<QLineEdit> editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr) << "F2 opens the editor on column 0";
    EXPECT_EQ(editor->text(), "1");
    editor->selectAll();
    QTest::keyClicks(editor, "99");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return editor.isNull() || !editor->isVisible(); }));
    EXPECT_EQ(list.cellText(0, 0), "1");
    EXPECT_EQ(list.rowData(0)->texts[0], "1");
}

TEST(SortListColours, NewRowsUseTheFrameColourUntilTheSystemColoursChange) {
    QWidget dialog;
    CSortListCtrl& list = *new CSortListCtrl(&dialog);
    list.setHeadings("A,40;B,40");
    list.addRow({"1", "x"});
    EXPECT_EQ(list.rowData(0)->textColours[0], kWindowFrameColour);

    const QPalette saved = QApplication::palette();
    QPalette changed = saved;
    changed.setColor(QPalette::Text, QColor(10, 20, 30));
    changed.setColor(QPalette::Base, QColor(250, 250, 240));
    QApplication::setPalette(changed);
    list.addRow({"2", "y"});
    QApplication::setPalette(saved);

    EXPECT_EQ(list.rowData(1)->textColours[0], colorRefFrom(QColor(10, 20, 30)));
    EXPECT_EQ(list.rowData(1)->backColours[1], colorRefFrom(QColor(250, 250, 240)));
    EXPECT_EQ(list.rowData(0)->textColours[0], kWindowFrameColour) << "old rows keep theirs";
}

TEST(SortListRows, RowsAreAtLeastTheMinimumAndGrowWithTheFont) {
    CSortListCtrl list;
    EXPECT_GE(list.verticalHeader()->defaultSectionSize(), kListMinRowHeight);
    QFont big = list.font();
    big.setPixelSize(40);
    list.setFont(big);
    EXPECT_GT(list.verticalHeader()->defaultSectionSize(), QFontMetrics(big).height());
}

// The main dialog follows "became selected" to switch the current member, so a single-row
// list must keep exactly one selected row and report the row that ends selected.
class SingleRowSelection : public SortListTest {
protected:
    void SetUp() override {
        SortListTest::SetUp();
        addMembers({"1", "2", "3", "4", "5"}, {"G001", "G002", "G003", "G004", "G005"});
        spy = std::make_unique<QSignalSpy>(&list, &CSortListCtrl::itemChanged);
    }
    void move(int row, Qt::MouseButtons buttons) {
        const QPoint p = cellCentre(row, 1);
        QMouseEvent e(QEvent::MouseMove, p, list.viewport()->mapToGlobal(p), Qt::NoButton, buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &e);
    }
    std::vector<int> selectedRows() const {
        std::vector<int> rows;
        for (int r = 0; r < list.rowCount(); ++r)
            if (list.rowState(r) & kListSelected)
                rows.push_back(r);
        return rows;
    }
    std::vector<int> becameSelected() const {
        std::vector<int> rows;
        for (int i = 0; i < spy->count(); ++i)
            if (changeAt(*spy, i).becameSelected())
                rows.push_back(changeAt(*spy, i).row);
        return rows;
    }
    std::unique_ptr<QSignalSpy> spy;
};

TEST_F(SingleRowSelection, DragDoesNotExtendTheSelection) {
    QTest::mousePress(list.viewport(), Qt::LeftButton, {}, cellCentre(0, 1));
    move(1, Qt::LeftButton);
    move(2, Qt::LeftButton);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, cellCentre(2, 1));
    EXPECT_EQ(selectedRows(), std::vector<int>{0});
    EXPECT_EQ(becameSelected(), std::vector<int>{0});
    EXPECT_EQ(list.rowState(0) & kListFocused, kListFocused) << "the focus stays with it";

    // A plain click on the selected row changes nothing and reports nothing.
    spy->clear();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cellCentre(0, 1));
    EXPECT_EQ(selectedRows(), std::vector<int>{0});
    EXPECT_TRUE(becameSelected().empty());
}

TEST_F(SingleRowSelection, ModifiersNeitherAddRowsNorDeselect) {
    list.setFocus();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cellCentre(1, 1));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ShiftModifier, cellCentre(3, 1));
    EXPECT_EQ(selectedRows(), std::vector<int>{3});
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, cellCentre(4, 1));
    EXPECT_EQ(selectedRows(), std::vector<int>{4});
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, cellCentre(4, 1));
    EXPECT_EQ(selectedRows(), std::vector<int>{4}) << "Ctrl+click keeps the selected row";
    QTest::keyClick(&list, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(selectedRows(), std::vector<int>{3});
    EXPECT_EQ(becameSelected(), (std::vector<int>{1, 3, 4, 3}));
}

TEST_F(SingleRowSelection, ProgrammaticSelectionKeepsOneRowAndTakesTheFocus) {
    list.setRowState(1, kListSelected | kListFocused, kListSelected | kListFocused);
    list.setRowSelected(3, true, ListNotify::Quiet);
    EXPECT_EQ(selectedRows(), std::vector<int>{3});
    EXPECT_EQ(list.rowState(3), kListSelected | kListFocused | kListUnchecked);
    EXPECT_EQ(list.rowState(1), kListUnchecked);
}

// Space must tick the row the user sees highlighted, whatever moved the focus before.
TEST_F(SingleRowSelection, SpaceTicksTheHighlightedRow) {
    list.setFocus();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cellCentre(0, 1));

    // Ctrl+arrows move the highlight with the focus.
    QTest::keyClick(&list, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_EQ(selectedRows(), std::vector<int>{1});
    EXPECT_TRUE(list.isRowChecked(1));
    EXPECT_FALSE(list.isRowChecked(0));

    // A click on another row's box ticks that box and leaves the highlight where it was.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.checkBoxRect(4).center());
    EXPECT_TRUE(list.isRowChecked(4));
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_FALSE(list.isRowChecked(1));
    EXPECT_TRUE(list.isRowChecked(4));

    // The dialog's own quiet selection, which clears every focus first (adding a member).
    for (int r = 0; r < list.rowCount(); ++r)
        list.setRowState(r, 0, kListSelected | kListFocused, ListNotify::Quiet);
    list.setRowSelected(2, true, ListNotify::Quiet);
    spy->clear();
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_TRUE(list.isRowChecked(2));
    ASSERT_EQ(spy->count(), 1);
    EXPECT_EQ(changeAt(*spy, 0).row, 2);
    EXPECT_TRUE(changeAt(*spy, 0).checkChanged());
}

TEST_F(SingleRowSelection, HomeAndEndSelectTheFirstAndLastRow) {
    list.setFocus();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cellCentre(2, 2));
    spy->clear();
    QTest::keyClick(&list, Qt::Key_End);
    EXPECT_EQ(selectedRows(), std::vector<int>{4});
    EXPECT_EQ(list.rowState(4) & kListFocused, kListFocused);
    EXPECT_EQ(becameSelected(), std::vector<int>{4});
    QTest::keyClick(&list, Qt::Key_Home);
    EXPECT_EQ(selectedRows(), std::vector<int>{0});
    EXPECT_EQ(becameSelected(), (std::vector<int>{4, 0}));
}

TEST_F(SingleRowSelection, FocusFrameIsDrawnOnTheFocusedRowWhileTheListHasTheFocus) {
    list.activateWindow();
    list.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.hasFocus(); }));
    list.setRowState(3, kListFocused, kListFocused, ListNotify::Quiet);
    auto framePixels = [&](int row) {
        const QImage img = list.viewport()->grab().toImage();
        const QRect r = list.visualRect(list.model()->index(row, 1));
        int n = 0;
        for (int x = r.left(); x <= r.right(); ++x)
            n += colorRefFrom(img.pixelColor(x, r.top())) == list.colours().text;
        return n;
    };
    EXPECT_GT(framePixels(3), 0);
    EXPECT_EQ(framePixels(2), 0);
    list.clearFocus();
    EXPECT_EQ(framePixels(3), 0) << "no frame without the keyboard focus";
}

// The owner's accelerators for the member commands act while the number is being edited.
TEST_F(SortListTest, LabelEditorLeavesTheMemberCommandKeysToTheOwner) {
    addMembers({"1", "2"}, {"G001", "G002"});
    QWidget owner;
    list.setParent(&owner);
    owner.resize(320, 240);
    owner.show();
    owner.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
    int deletes = 0, selectAlls = 0, inserts = 0;
    auto* del = new QAction(&owner);
    del->setShortcuts({QKeySequence(Qt::Key_Delete), QKeySequence(Qt::CTRL | Qt::Key_D)});
    QObject::connect(del, &QAction::triggered, [&] { ++deletes; });
    auto* all = new QAction(&owner);
    all->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    QObject::connect(all, &QAction::triggered, [&] { ++selectAlls; });
    auto* ins = new QAction(&owner);
    ins->setShortcuts({QKeySequence(Qt::Key_Insert), QKeySequence(Qt::CTRL | Qt::Key_I)});
    QObject::connect(ins, &QAction::triggered, [&] { ++inserts; });
    owner.addActions({del, all, ins});

    list.setFocus();
    list.setRowState(0, kListFocused | kListSelected, kListFocused | kListSelected);
    QTest::keyClick(&list, Qt::Key_F2);
    QPointer<QLineEdit> editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->setCursorPosition(0);
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClick(editor, Qt::Key_D, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Insert);
    QTest::keyClick(editor, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(deletes, 2);
    EXPECT_EQ(selectAlls, 1);
    EXPECT_EQ(inserts, 2);
    ASSERT_FALSE(editor.isNull());
    EXPECT_EQ(editor->text(), "1") << "the keys went to the owner, not into the text";
    // Other editing keys stay with the editor.
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(editor->text(), "");
    list.setParent(nullptr);
}

// Deleting a set of rows at once: any order, repeats and rows that do not exist are
// ignored; checks, selection and focus stay with the rows that remain; nothing is reported.
TEST_F(SortListTest, DeleteRowsRemovesASetAndKeepsTheStatesOfTheRest) {
    addMembers({"1", "2", "3", "4", "5", "6"}, {"G001", "G002", "G003", "G004", "G005", "G006"});
    list.setRowChecked(2, true, ListNotify::Quiet);
    list.setRowChecked(3, true, ListNotify::Quiet);
    list.setRowState(4, kListSelected | kListFocused, kListSelected | kListFocused);
    QSignalSpy spy(&list, &CSortListCtrl::itemChanged);
    list.deleteRows({5, 1, 3, 1, 99, -1});
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(column(1), (QStringList{"G001", "G003", "G005"}));
    for (int r = 0; r < list.rowCount(); ++r)
        EXPECT_EQ(list.rowData(r)->texts[1], list.cellText(r, 1)) << r;
    EXPECT_FALSE(list.isRowChecked(0));
    EXPECT_TRUE(list.isRowChecked(1));
    EXPECT_FALSE(list.isRowChecked(2));
    EXPECT_EQ(list.selectedRow(), 2);
    EXPECT_EQ(list.rowState(2), kListSelected | kListFocused | kListUnchecked);

    list.deleteRows({});
    EXPECT_EQ(list.rowCount(), 3);
    list.deleteRows({0, 1, 2});
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(spy.count(), 0);
}

// Rows inserted among others, at scattered places or in one run, give the list that adding
// all rows in their final order would give: texts on screen and in the stored copies, ticks,
// and the selected and focused row where it moved to. A whole column written at once
// reaches both copies as well, also past a row whose copy was freed. Nothing is reported.
TEST_F(SortListTest, InsertedRowsGiveTheListBuiltInTheirFinalOrder) {
    std::mt19937 rng(28);
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    QSignalSpy spy(&list, &CSortListCtrl::itemChanged);
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        list.deleteAllRows();
        const int kept = pick(8);
        const int added = pick(8);
        std::vector<QString> names; // final order
        std::vector<bool> ticks;    // final order
        std::vector<bool> isNew(size_t(kept + added), false);
        for (int i = 0; i < added; ++i) {
            int place = pick(kept + added);
            while (isNew[size_t(place)])
                place = (place + 1) % (kept + added);
            isNew[size_t(place)] = true;
        }
        std::vector<int> at;
        std::vector<QStringList> texts;
        std::vector<bool> checked;
        int selected = -1; // final row of the kept row selected, if any
        const int selectKept = pick(kept + 1) - 1;
        for (int r = 0, k = 0; r < kept + added; ++r) {
            const bool tick = pick(2) == 1;
            const QString name = (isNew[size_t(r)] ? "A" : "K") + QString::number(r);
            names.push_back(name);
            ticks.push_back(tick);
            if (isNew[size_t(r)]) {
                at.push_back(r);
                texts.push_back({"", name, name + "d", name + "e"});
                checked.push_back(tick);
                continue;
            }
            list.addRow({"", name, name + "d", name + "e"});
            list.setRowChecked(k, tick, ListNotify::Quiet);
            if (k == selectKept) {
                list.setRowState(k, kListSelected | kListFocused, kListSelected | kListFocused,
                                 ListNotify::Quiet);
                selected = r;
            }
            ++k;
        }
        spy.clear();
        ASSERT_TRUE(list.insertRows(at, texts, checked));
        if (kept + added > 0)
            list.freeRowData(pick(kept + added));
        QStringList numbers;
        for (int r = 0; r < kept + added; ++r)
            numbers << QString::number(r + 1);
        ASSERT_TRUE(list.setColumnTexts(0, 0, numbers));

        ASSERT_EQ(list.rowCount(), kept + added);
        for (int r = 0; r < kept + added; ++r) {
            const QStringList want{numbers[r], names[size_t(r)], names[size_t(r)] + "d",
                                   names[size_t(r)] + "e"};
            for (int c = 0; c < 4; ++c) {
                EXPECT_EQ(list.cellText(r, c), want[c]) << r << "," << c;
                if (const ListRowData* data = list.rowData(r)) {
                    EXPECT_EQ(data->texts[size_t(c)], want[c]) << r << "," << c;
                }
            }
            EXPECT_EQ(list.isRowChecked(r), ticks[size_t(r)]) << r;
        }
        EXPECT_EQ(list.selectedRow(), selected);
        EXPECT_EQ(list.currentIndex().row(), selected);
        EXPECT_EQ(spy.count(), 0);
    }

    // Places out of order, repeated or past the end, or texts that do not match them, leave
    // the list as it is.
    const int rows = list.rowCount();
    const std::vector<QStringList> two{{"x"}, {"y"}};
    EXPECT_FALSE(list.insertRows({1, 1}, two, {false, false}));
    EXPECT_FALSE(list.insertRows({2, 1}, two, {false, false}));
    EXPECT_FALSE(list.insertRows({0, rows + 2}, two, {false, false}));
    EXPECT_FALSE(list.insertRows({0}, two, {false}));
    EXPECT_FALSE(list.setColumnTexts(1, rows, {"x"}));
    EXPECT_FALSE(list.setColumnTexts(4, 0, {}));
    EXPECT_EQ(list.rowCount(), rows);
}

// After silent deletions every later notification starts from the state the row really had,
// including the row that inherited the focus of a deleted one.
TEST_F(SortListTest, NotificationsAfterDeletionStartFromTheRowsRealState) {
    addMembers({"1", "2", "3", "4", "5"}, {"G001", "G002", "G003", "G004", "G005"});
    list.setRowState(1, kListSelected | kListFocused, kListSelected | kListFocused);
    list.deleteRow(1);
    // The deleted row's selection and focus went with it, to no other row.
    EXPECT_EQ(list.selectedRow(), -1);
    EXPECT_EQ(list.currentIndex().row(), -1);
    list.setRowState(2, kListSelected | kListFocused, kListSelected | kListFocused,
                     ListNotify::Quiet);
    list.deleteRows({0, 3});
    EXPECT_EQ(list.selectedRow(), 1) << "G004 stays selected, one row up";
    EXPECT_EQ(list.rowState(1) & kListFocused, kListFocused);
    QSignalSpy spy(&list, &CSortListCtrl::itemChanged);
    for (int r = 0; r < list.rowCount(); ++r) {
        const unsigned before = list.rowState(r);
        list.setRowChecked(r, true);
        ASSERT_EQ(spy.count(), r + 1);
        EXPECT_EQ(changeAt(spy, r).oldState, before) << r;
        EXPECT_EQ(changeAt(spy, r).newState, list.rowState(r)) << r;
    }
    spy.clear();
    EXPECT_EQ(column(1), (QStringList{"G003", "G004"}));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cellCentre(0, 1));
    int becameSelected = 0;
    for (int i = 0; i < spy.count(); ++i)
        becameSelected += changeAt(spy, i).becameSelected();
    EXPECT_EQ(becameSelected, 1);
    EXPECT_EQ(list.selectedRow(), 0);
}

// The ticks as a screen reader reads them. Column 0's cell is checkable and checked exactly
// when its row is ticked, whatever ticked it, and every tick that turns is one change of
// that cell's check state in the model (the change the view passes on to screen readers as
// a state change); a tick set to what it was changes nothing. Rows are neither added nor
// removed here: without a bridge on the bus Qt does not follow them in its cell cache.
TEST_F(SortListTest, TicksAreTheCheckStatesThatScreenReadersRead) {
    std::mt19937 rng(34);
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    addMembers({"1", "2", "3", "4", "5", "6"}, {"G1", "G2", "G3", "G4", "G5", "G6"});
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&list);
    ASSERT_NE(table, nullptr);
    QAccessibleTableInterface* cells = table->tableInterface();
    QSignalSpy spy(list.model(), &QAbstractItemModel::dataChanged);
    for (int step = 0; step < 120; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const int row = pick(list.rowCount());
        const bool was = list.isRowChecked(row);
        spy.clear();
        switch (pick(4)) {
        case 0:
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.checkBoxRect(row).center());
            break;
        case 1:
            list.setRowSelected(row, true, ListNotify::Quiet);
            QTest::keyClick(&list, Qt::Key_Space);
            break;
        default:
            list.setRowChecked(row, pick(2) == 1, pick(2) ? ListNotify::Quiet : ListNotify::Send);
            break;
        }
        for (int r = 0; r < list.rowCount(); ++r) {
            const QAccessible::State s = cells->cellAt(r, 0)->state();
            EXPECT_TRUE(s.checkable) << r;
            EXPECT_EQ(bool(s.checked), list.isRowChecked(r)) << r;
            EXPECT_FALSE(cells->cellAt(r, 1)->state().checkable) << r;
        }
        int checkChanges = 0;
        for (const QList<QVariant>& change : spy) {
            if (!change.at(2).value<QList<int>>().contains(Qt::CheckStateRole))
                continue;
            ++checkChanges;
            EXPECT_EQ(change.at(0).toModelIndex(), list.model()->index(row, 0));
            EXPECT_EQ(change.at(1).toModelIndex(), list.model()->index(row, 0));
        }
        EXPECT_EQ(checkChanges, list.isRowChecked(row) != was ? 1 : 0);
    }
}
