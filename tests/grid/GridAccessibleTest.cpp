// The grid as a screen reader reads it, through the platform's accessibility interfaces.
#include "GridFixture.h"

#include <QAccessible>

namespace morvik::test {
namespace {

struct AccessibleGrid {
    AccessibleGrid() {
        w.grid->setAccessibleName(QStringLiteral("测点读数"));
        const char* headings[] = {"序号", "不平整读数(mm)", "贯入仪读数(mm)", "贯入深度(mm)"};
        for (int c = 0; c < 4; ++c)
            w.grid->setItemText(0, c, QString::fromUtf8(headings[c]));
        for (int r = 1; r < 17; ++r)
            w.grid->setItemText(r, 0, QString::number(r));
    }
    QAccessibleInterface* table() const { return QAccessible::queryAccessibleInterface(w.grid); }
    QAccessibleInterface* cell(int row, int col) const {
        return table()->tableInterface()->cellAt(row, col);
    }
    QString cellText(int row, int col) const { return cell(row, col)->text(QAccessible::Name); }
    GridWindow<> w;
};

TEST(GridAccessible, IsANamedTableWithHeadersForEveryCell) {
    AccessibleGrid a;
    QAccessibleInterface* table = a.table();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->text(QAccessible::Name), QStringLiteral("测点读数"));
    QAccessibleTableInterface* t = table->tableInterface();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->rowCount(), 17);
    EXPECT_EQ(t->columnCount(), 4);
    EXPECT_EQ(table->childCount(), 68);
    EXPECT_EQ(t->columnDescription(2), QStringLiteral("贯入仪读数(mm)"));
    for (int row = 1; row < 17; ++row)
        for (int col = 1; col < 4; ++col) {
            QAccessibleInterface* cell = a.cell(row, col);
            ASSERT_NE(cell, nullptr);
            EXPECT_EQ(cell->role(), QAccessible::Cell);
            EXPECT_EQ(table->indexOfChild(cell), row * 4 + col);
            EXPECT_EQ(table->child(row * 4 + col), cell); // one interface per cell
            QAccessibleTableCellInterface* c = cell->tableCellInterface();
            ASSERT_EQ(c->columnHeaderCells().size(), 1);
            ASSERT_EQ(c->rowHeaderCells().size(), 1);
            EXPECT_EQ(c->columnHeaderCells()[0]->text(QAccessible::Name),
                      a.w.grid->itemText(0, col));
            EXPECT_EQ(c->rowHeaderCells()[0]->text(QAccessible::Name), QString::number(row));
        }
    EXPECT_EQ(a.cell(0, 2)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(a.cell(7, 0)->role(), QAccessible::RowHeader);
    EXPECT_EQ(a.cell(17, 0), nullptr);
    QRect r;
    ASSERT_TRUE(a.w.grid->cellRect(5, 2, &r));
    const QPoint centre = a.w.grid->viewport()->mapToGlobal(r.center());
    EXPECT_EQ(table->childAt(centre.x(), centre.y()), a.cell(5, 2));
    EXPECT_EQ(a.cell(5, 2)->rect().center(), centre);
}

TEST(GridAccessible, ReadsTheEditorWhileEditingAndTheCellsOnceTyped) {
    AccessibleGrid a;
    a.w.grid->setFocusCell(5, 1);
    a.w.type(QStringLiteral("0.5"));
    ASSERT_NE(a.w.editor(), nullptr);
    EXPECT_EQ(a.cellText(5, 1), QStringLiteral("0.5")); // not yet stored, but shown
    EXPECT_TRUE(a.w.grid->itemText(5, 1).isEmpty());
    a.w.type(QStringLiteral("0\t4.80"));
    EXPECT_EQ(a.cellText(5, 2), QStringLiteral("4.80"));
    a.w.key(Qt::Key_Return);
    EXPECT_EQ(a.cellText(5, 1), QStringLiteral("0.50"));
    EXPECT_EQ(a.cellText(5, 2), QStringLiteral("4.80"));
    EXPECT_EQ(a.w.editor(), nullptr);
}

// The focus events themselves need a platform bridge; the test under the real bus hears them.
TEST(GridAccessible, ReportsTheFocusCellAsTheFocusedChild) {
    AccessibleGrid a;
    a.w.grid->setFocusCell(1, 1);
    const struct {
        Qt::Key key;
        CCellID to;
    } moves[] = {{Qt::Key_Down, {2, 1}},
                 {Qt::Key_Right, {2, 2}},
                 {Qt::Key_Right, {2, 3}},
                 {Qt::Key_Up, {1, 3}},
                 {Qt::Key_Left, {1, 2}}};
    for (const auto& m : moves) {
        a.w.key(m.key);
        EXPECT_EQ(a.table()->focusChild(), a.cell(m.to.row, m.to.col));
        for (int row = 1; row < 17; ++row)
            for (int col = 1; col < 4; ++col)
                ASSERT_EQ(a.cell(row, col)->state().focused, CCellID(row, col) == m.to)
                    << row << "," << col;
    }
    a.w.grid->clearFocus();
    EXPECT_EQ(a.table()->focusChild(), nullptr);
    EXPECT_FALSE(a.cell(1, 2)->state().focused);
}

TEST(GridAccessible, MarksReadOnlyAndComputedCellsNotEditable) {
    AccessibleGrid a;
    a.w.grid->setItemState(4, 1, CellReadOnly);
    const auto editable = [&](int row, int col) {
        const QAccessible::State s = a.cell(row, col)->state();
        EXPECT_NE(s.editable, s.readOnly);
        return bool(s.editable);
    };
    EXPECT_TRUE(editable(4, 2));
    EXPECT_FALSE(editable(4, 1));
    EXPECT_FALSE(editable(4, 3)); // beyond the editable columns
    EXPECT_FALSE(editable(0, 1)); // a heading
    a.w.grid->setEditable(false);
    EXPECT_FALSE(editable(4, 2));
}

} // namespace
} // namespace morvik::test
