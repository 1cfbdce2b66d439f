#include "grid/GridAccessible.h"
#include "grid/CGridCtrl.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QWindow>

namespace morvik {

namespace {

QAccessibleInterface* gridFactory(const QString&, QObject* object) {
    if (auto* grid = qobject_cast<CGridCtrl*>(object))
        return new GridAccessible(grid);
    return nullptr;
}

// One cell of the table. It is known by its position, so it stays valid while the cells
// behind it are rewritten, sorted or the structure changes around it.
class GridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    GridCellAccessible(CGridCtrl* grid, int row, int col) : m_grid(grid), m_row(row), m_col(col) {}

    bool isValid() const override {
        return m_grid && m_row < m_grid->rowCount() && m_col < m_grid->columnCount();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_grid.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value))
            return QString();
        return m_grid->shownText(m_row, m_col);
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        QRect r;
        if (!isValid() || !m_grid->cellRect(m_row, m_col, &r))
            return QRect();
        return QRect(m_grid->viewport()->mapToGlobal(r.topLeft()), r.size());
    }

    QAccessible::Role role() const override {
        if (isValid() && m_row < m_grid->fixedRowCount())
            return QAccessible::ColumnHeader;
        if (isValid() && m_col < m_grid->fixedColumnCount())
            return QAccessible::RowHeader;
        return QAccessible::Cell;
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        const bool normal = role() == QAccessible::Cell;
        s.focusable = normal;
        s.selectable = normal;
        s.selected = m_grid->itemState(m_row, m_col) & CellSelected;
        const bool gridFocused =
            m_grid->hasFocus() || m_grid->isAncestorOf(QApplication::focusWidget());
        s.focused = normal && gridFocused && m_grid->focusCell() == CCellID(m_row, m_col);
        const bool editable = normal && m_col <= CGridCtrl::kMaxEditableColumn &&
                              m_grid->isCellEditable(m_row, m_col);
        s.editable = editable;
        s.readOnly = !editable;
        s.invisible = !m_grid->isCellVisible(m_row, m_col);
        s.offscreen = s.invisible;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override {
        return isValid() && (m_grid->itemState(m_row, m_col) & CellSelected);
    }
    // The headings of a cell: the fixed rows of its column, the fixed columns of its row. A
    // heading is its own, so the table's header of column c is that of its cell (0, c).
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        return headings(Qt::Vertical);
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override {
        return headings(Qt::Horizontal);
    }
    int columnIndex() const override { return m_col; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    // The fixed lines across `o` that head this cell.
    QList<QAccessibleInterface*> headings(Qt::Orientation o) const {
        QList<QAccessibleInterface*> out;
        if (!isValid())
            return out;
        const bool rows = o == Qt::Vertical;
        const int fixed = rows ? m_grid->fixedRowCount() : m_grid->fixedColumnCount();
        QAccessibleTableInterface* table = parent()->tableInterface();
        for (int i = 0; i < fixed; ++i)
            out << (rows ? table->cellAt(i, m_col) : table->cellAt(m_row, i));
        return out;
    }

    QPointer<CGridCtrl> m_grid;
    int m_row;
    int m_col;
};

} // namespace

void installGridAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(gridFactory);
        return true;
    }();
    (void)installed;
}

GridAccessible::GridAccessible(CGridCtrl* grid) : QAccessibleWidget(grid, QAccessible::Table) {}

GridAccessible::~GridAccessible() {
    for (QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
}

CGridCtrl* GridAccessible::grid() const {
    return static_cast<CGridCtrl*>(widget());
}

void* GridAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

int GridAccessible::rowCount() const {
    return grid()->rowCount();
}

int GridAccessible::columnCount() const {
    return grid()->columnCount();
}

int GridAccessible::childCount() const {
    return rowCount() * columnCount();
}

QAccessibleInterface* GridAccessible::child(int index) const {
    const int cols = columnCount();
    if (index < 0 || cols == 0)
        return nullptr;
    return cellAt(index / cols, index % cols);
}

int GridAccessible::indexOfChild(const QAccessibleInterface* child) const {
    auto* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
    if (!cell || child->parent() != this)
        return -1;
    return cell->rowIndex() * columnCount() + cell->columnIndex();
}

QAccessibleInterface* GridAccessible::childAt(int x, int y) const {
    const QPoint local = grid()->viewport()->mapFromGlobal(QPoint(x, y));
    const CCellID id = grid()->cellFromPoint(local, true);
    return cellAt(id.row, id.col);
}

QAccessibleInterface* GridAccessible::focusChild() const {
    const CCellID focus = grid()->focusCell();
    if (!grid()->hasFocus() || !grid()->isValid(focus))
        return nullptr;
    return cellAt(focus.row, focus.col);
}

QAccessibleInterface* GridAccessible::cellAt(int row, int column) const {
    if (!grid()->isValid(row, column))
        return nullptr;
    const quint64 key = (quint64(quint32(row)) << 32) | quint32(column);
    if (const auto found = m_cells.constFind(key); found != m_cells.cend())
        if (QAccessibleInterface* iface = QAccessible::accessibleInterface(*found))
            return iface;
    auto* cell = new GridCellAccessible(grid(), row, column);
    m_cells.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int GridAccessible::selectedCellCount() const {
    return grid()->selectedCount();
}

QList<QAccessibleInterface*> GridAccessible::selectedCells() const {
    QList<QAccessibleInterface*> out;
    for (const CCellID& id : grid()->selectedCells())
        out << cellAt(id.row, id.col);
    return out;
}

QString GridAccessible::columnDescription(int column) const {
    return grid()->fixedRowCount() > 0 ? grid()->itemText(0, column) : QString();
}

QString GridAccessible::rowDescription(int row) const {
    return grid()->fixedColumnCount() > 0 ? grid()->itemText(row, 0) : QString();
}

// --- the grid's side ------------------------------------------------------------------------

QString CGridCtrl::shownText(int row, int col) const {
    if (m_editor && m_editorCell == CCellID(row, col)) {
        if (auto* edit = qobject_cast<QLineEdit*>(m_editor.data()))
            return edit->text();
        if (auto* list = qobject_cast<QComboBox*>(m_editor.data()))
            return list->currentText();
    }
    return itemText(row, col);
}

void CGridCtrl::sendAccessibleCellEvent(QAccessible::Event type, int row, int col) {
    if (!QAccessible::isActive() || !isValid(row, col))
        return;
    QAccessibleEvent event(this, type);
    event.setChild(row * columnCount() + col);
    QAccessible::updateAccessibility(&event);
}

void CGridCtrl::sendAccessibleFocus() {
    if (hasFocus())
        sendAccessibleCellEvent(QAccessible::Focus, m_sel.focus.row, m_sel.focus.col);
}

void CGridCtrl::focusInEvent(QFocusEvent* e) {
    QAbstractScrollArea::focusInEvent(e);
    // The platform announces the grid itself once this returns; the focus cell follows it.
    if (QAccessible::isActive())
        QMetaObject::invokeMethod(this, &CGridCtrl::sendAccessibleFocus, Qt::QueuedConnection);
}

} // namespace morvik
