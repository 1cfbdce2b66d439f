#pragma once
// The grid as screen readers and UI automation see it: a table named by its owner (the
// widget's accessible name), whose cells are its rows x columns, the fixed ones serving as
// the row and column headers of the others. A cell's text is what it shows (the editor's
// text while it is edited); the focus cell is the table's focused child, and each focus move
// is announced; read-only cells are not editable.

#include <QAccessibleWidget>

namespace morvik {

class CGridCtrl;

// Registers the factory that gives every grid its table interface (once per process).
void installGridAccessibility();

class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridAccessible(CGridCtrl* grid);
    ~GridAccessible() override;

    CGridCtrl* grid() const;
    void* interface_cast(QAccessible::InterfaceType t) override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int columnCount() const override;
    int rowCount() const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    // Cell interfaces by position, registered with the accessibility cache on first use.
    mutable QHash<quint64, QAccessible::Id> m_cells;
};

} // namespace morvik
