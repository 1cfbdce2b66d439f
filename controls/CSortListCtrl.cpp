#include "controls/CSortListCtrl.h"

#include "controls/ListRowsModel.h"
#include "controls/ListSort.h"

#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

namespace morvik {

namespace {

// Room above and below a row's text.
constexpr int kRowTextPadding = 4;

class QuietScope {
public:
    QuietScope(int& counter, bool active) : counter_(counter), active_(active) {
        if (active_)
            ++counter_;
    }
    ~QuietScope() {
        if (active_)
            --counter_;
    }
    QuietScope(const QuietScope&) = delete;
    QuietScope& operator=(const QuietScope&) = delete;

private:
    int& counter_;
    bool active_;
};

QString storedText(const ListRow& row, int column) {
    if (!row.data || column < 0 || size_t(column) >= row.data->texts.size())
        return QString();
    return row.data->texts[size_t(column)];
}

// Keys of the owner's member commands. The label editor would claim Delete and Ctrl+A
// through its shortcut override; the owner's accelerators must act wherever the focus is.
bool isMemberCommandKey(const QKeyEvent& key) {
    const QKeyCombination k = key.keyCombination();
    return k == QKeyCombination(Qt::Key_Insert) || k == QKeyCombination(Qt::Key_Delete) ||
           k == QKeyCombination(Qt::ControlModifier, Qt::Key_I) ||
           k == QKeyCombination(Qt::ControlModifier, Qt::Key_D) ||
           k == QKeyCombination(Qt::ControlModifier, Qt::Key_A);
}

class CommandKeysToOwner : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride &&
            isMemberCommandKey(*static_cast<QKeyEvent*>(event))) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

// Draws every cell through drawListCell and keeps nothing the label editor types.
class ListCellDelegate : public QStyledItemDelegate {
public:
    explicit ListCellDelegate(CSortListCtrl* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const ListRow& row = list_->model_->row(index.row());
        const int column = index.column();
        ListCellLook look;
        look.rect = option.rect;
        look.text = list_->model_->data(index, Qt::DisplayRole).toString();
        look.colours = listCellColours(row.data.get(), column,
                                       option.state & QStyle::State_Selected, list_->colours_);
        look.alignment = list_->model_->heading(column).alignment;
        look.withCheckBox = column == 0;
        look.checked = row.checked;
        drawListCell(*painter, look, list_->colours_);
    }

    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

    // The list ticks its check boxes itself, where it draws them; the style's idea of where
    // a check indicator sits must not swallow a click or a key.
    bool editorEvent(QEvent*, QAbstractItemModel*, const QStyleOptionViewItem&,
                     const QModelIndex&) override {
        return false;
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (editor)
            editor->installEventFilter(new CommandKeysToOwner(editor));
        return editor;
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override {
        editor->setGeometry(listTextRect(option.rect, index.column() == 0));
    }

private:
    CSortListCtrl* list_;
};

CSortListCtrl::CSortListCtrl(QWidget* parent) : QTableView(parent) {
    qRegisterMetaType<ListItemChange>();
    model_ = new ListRowsModel(this);
    header_ = new CSortHeaderCtrl(this);
    setHorizontalHeader(header_);
    setModel(model_);
    setItemDelegate(new ListCellDelegate(this));

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(0);
    fitRowHeightToFont();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setShowGrid(true);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The owner shows its own menu on rightClicked; nothing else may.
    setContextMenuPolicy(Qt::PreventContextMenu);

    readSystemColours(false);
    qApp->installEventFilter(this);
    connectHandlers();
}

CSortListCtrl::~CSortListCtrl() = default;

void CSortListCtrl::connectHandlers() {
    connect(header_, &QHeaderView::sectionClicked, this, &CSortListCtrl::onHeadingClicked);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CSortListCtrl::onSelectionChanged);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CSortListCtrl::onCurrentChanged);
}

void CSortListCtrl::readSystemColours(bool afterChange) {
    const QPalette pal = QApplication::palette();
    // Until the system colours change for the first time, new rows keep the frame colour.
    colours_.text = afterChange ? colorRefFrom(pal.color(QPalette::Text)) : kWindowFrameColour;
    colours_.background = colorRefFrom(pal.color(QPalette::Base));
    colours_.highlight = colorRefFrom(pal.color(QPalette::Highlight));
    colours_.highlightText = colorRefFrom(pal.color(QPalette::HighlightedText));
    colours_.checkFrame = kWindowFrameColour;
    colours_.checkFace = colorRefFrom(pal.color(QPalette::Base));
    colours_.checkMark = colorRefFrom(pal.color(QPalette::Text));
}

void CSortListCtrl::fitRowHeightToFont() {
    verticalHeader()->setDefaultSectionSize(
        std::max(kListMinRowHeight, fontMetrics().height() + kRowTextPadding));
}

void CSortListCtrl::changeEvent(QEvent* event) {
    // The owner's font usually arrives after construction, when the list is put in place.
    if (event->type() == QEvent::FontChange)
        fitRowHeightToFont();
    QTableView::changeEvent(event);
}

bool CSortListCtrl::eventFilter(QObject* watched, QEvent* event) {
    // A change of the system colours reaches the application object, not each widget.
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange) {
        readSystemColours(true);
        viewport()->update();
    }
    return QTableView::eventFilter(watched, event);
}

bool CSortListCtrl::setHeadings(const QString& headings) {
    for (const ListHeading& h : parseHeadingString(headings)) {
        const int column = model_->columnCount();
        model_->appendHeading(h);
        header_->resizeSection(column, h.width);
    }
    return true;
}

int CSortListCtrl::columnCount() const {
    return model_->columnCount();
}

int CSortListCtrl::rowCount() const {
    return model_->rowCount();
}

ListRow CSortListCtrl::newRow(const QStringList& texts, bool checked) const {
    const int columns = model_->columnCount();
    auto data = std::make_unique<ListRowData>();
    data->texts.resize(size_t(columns));
    for (int c = 0; c < columns && c < texts.size(); ++c)
        data->texts[size_t(c)] = texts[c];
    data->textColours.assign(size_t(columns), colours_.text);
    data->backColours.assign(size_t(columns), colours_.background);

    ListRow row;
    row.shown = QStringList(data->texts.begin(), data->texts.end());
    row.data = std::move(data);
    row.checked = checked;
    row.reportedState = checked ? kListChecked : kListUnchecked;
    return row;
}

int CSortListCtrl::addRow(const QStringList& texts) {
    return model_->appendRow(newRow(texts, false));
}

bool CSortListCtrl::insertRows(const std::vector<int>& at, const std::vector<QStringList>& texts,
                               const std::vector<bool>& checked) {
    if (texts.size() != at.size() || checked.size() != at.size())
        return false;
    const int total = model_->rowCount() + int(at.size());
    for (size_t i = 0; i < at.size(); ++i)
        if (at[i] < (i == 0 ? 0 : at[i - 1] + 1) || at[i] >= total)
            return false;
    if (at.empty())
        return true;
    // Where a row that is there now ends up: past every place taken before it.
    auto after = [&at](int row) {
        if (row < 0)
            return -1;
        for (int place : at)
            if (place <= row)
                ++row;
        return row;
    };
    const int selected = after(selectedRow());
    const int current = after(currentIndex().row());

    std::vector<ListRow> rows;
    rows.reserve(texts.size());
    for (size_t i = 0; i < texts.size(); ++i)
        rows.push_back(newRow(texts[i], checked[i]));
    QuietScope quiet(quiet_, true);
    model_->insertSortedRows(at, std::move(rows));
    restoreSelection(selected, current);
    return true;
}

bool CSortListCtrl::setCellText(int row, int column, const QString& text) {
    if (!model_->setShownText(row, column, text))
        return false;
    ListRowData* data = model_->row(row).data.get();
    if (data && size_t(column) < data->texts.size())
        data->texts[size_t(column)] = text;
    return true;
}

bool CSortListCtrl::setColumnTexts(int column, int first, const QStringList& texts) {
    if (column < 0 || column >= model_->columnCount() || first < 0 ||
        first + texts.size() > model_->rowCount())
        return false;
    model_->setShownColumn(column, first, texts);
    for (int i = 0; i < texts.size(); ++i) {
        ListRowData* data = model_->row(first + i).data.get();
        if (data && size_t(column) < data->texts.size())
            data->texts[size_t(column)] = texts[i];
    }
    return true;
}

QString CSortListCtrl::cellText(int row, int column) const {
    if (!model_->hasRow(row))
        return QString();
    return model_->data(model_->index(row, column), Qt::DisplayRole).toString();
}

bool CSortListCtrl::setCellColours(int row, int column, ColorRef text, ColorRef background) {
    if (!model_->hasRow(row) || column < 0)
        return false;
    ListRowData* data = model_->row(row).data.get();
    if (!data || size_t(column) >= data->texts.size())
        return false;
    data->textColours[size_t(column)] = text;
    data->backColours[size_t(column)] = background;
    model_->rowChanged(row);
    return true;
}

const ListRowData* CSortListCtrl::rowData(int row) const {
    return model_->hasRow(row) ? model_->row(row).data.get() : nullptr;
}

void CSortListCtrl::freeRowData(int row) {
    if (!model_->hasRow(row))
        return;
    model_->row(row).data.reset();
    model_->rowChanged(row);
}

void CSortListCtrl::deleteRow(int row) {
    deleteRows({row});
}

void CSortListCtrl::deleteRows(const std::vector<int>& rows) {
    std::vector<int> gone;
    gone.reserve(rows.size());
    for (int r : rows)
        if (model_->hasRow(r))
            gone.push_back(r);
    std::sort(gone.begin(), gone.end());
    gone.erase(std::unique(gone.begin(), gone.end()), gone.end());
    if (gone.empty())
        return;
    // Where a row that stays ends up; -1 for none or a deleted row.
    auto after = [&gone](int row) {
        if (row < 0 || std::binary_search(gone.begin(), gone.end(), row))
            return -1;
        return row - int(std::lower_bound(gone.begin(), gone.end(), row) - gone.begin());
    };
    const int selected = after(selectedRow());
    const int current = after(currentIndex().row());

    QuietScope quiet(quiet_, true);
    model_->removeSortedRows(gone);
    // A deleted row takes its states with it: the view would otherwise hand the selection of
    // a deleted row to its neighbour, which the owner, told nothing, would not follow.
    restoreSelection(selected, current);
}

void CSortListCtrl::restoreSelection(int selected, int current) {
    // After a reset the rows that stay get their states back; the reported states follow
    // silently.
    if (selected >= 0)
        selectionModel()->select(model_->index(selected, 0),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        selectionModel()->clearSelection();
    selectionModel()->setCurrentIndex(current >= 0 ? model_->index(current, 0) : QModelIndex(),
                                      QItemSelectionModel::NoUpdate);
}

void CSortListCtrl::deleteAllRows() {
    QuietScope quiet(quiet_, true);
    model_->removeAllRows();
}

unsigned CSortListCtrl::actualState(int row) const {
    unsigned s = model_->row(row).checked ? kListChecked : kListUnchecked;
    const QModelIndex i = model_->index(row, 0);
    if (selectionModel()->isSelected(i))
        s |= kListSelected;
    if (selectionModel()->currentIndex().row() == row)
        s |= kListFocused;
    return s;
}

unsigned CSortListCtrl::rowState(int row) const {
    return model_->hasRow(row) ? actualState(row) : 0;
}

void CSortListCtrl::reportRow(int row) {
    if (!model_->hasRow(row))
        return;
    ListRow& r = model_->row(row);
    const unsigned now = actualState(row);
    if (now == r.reportedState)
        return;
    const ListItemChange change{row, r.reportedState, now};
    r.reportedState = now;
    if (quiet_ == 0)
        emit itemChanged(change);
}

void CSortListCtrl::setRowState(int row, unsigned state, unsigned mask, ListNotify notify) {
    if (!model_->hasRow(row))
        return;
    QuietScope quiet(quiet_, notify == ListNotify::Quiet);
    if (mask & kListCheckMask) {
        model_->setChecked(row, (state & kListCheckMask) == kListChecked);
        reportRow(row);
    }
    const QModelIndex i = model_->index(row, 0);
    const bool selects = (mask & kListSelected) && (state & kListSelected);
    if (mask & kListFocused) {
        if (state & kListFocused)
            selectionModel()->setCurrentIndex(i, QItemSelectionModel::NoUpdate);
        else if (selectionModel()->currentIndex().row() == row && !selects)
            selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    if (selects) {
        // One selected row, and the focus with it: Space and the arrows then start from the
        // row the user sees highlighted, also after the owner's own (quiet) selection.
        selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    } else if (mask & kListSelected) {
        selectionModel()->select(i, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
    reportRow(row);
}

void CSortListCtrl::setRowSelected(int row, bool selected, ListNotify notify) {
    setRowState(row, selected ? kListSelected : 0, kListSelected, notify);
}

void CSortListCtrl::setRowChecked(int row, bool checked, ListNotify notify) {
    setRowState(row, checked ? kListChecked : kListUnchecked, kListCheckMask, notify);
}

bool CSortListCtrl::isRowChecked(int row) const {
    return model_->hasRow(row) && model_->row(row).checked;
}

int CSortListCtrl::selectedRow() const {
    int first = -1;
    for (const QModelIndex& i : selectionModel()->selectedRows())
        if (first < 0 || i.row() < first)
            first = i.row();
    return first;
}

void CSortListCtrl::ensureRowVisible(int row) {
    if (model_->hasRow(row))
        scrollTo(model_->index(row, 0));
}

void CSortListCtrl::sortRows(int column, bool ascending) {
    if (column < 0 || column >= model_->columnCount())
        return;
    sortColumn_ = column;
    sortAscending_ = ascending;
    header_->setSortState(column, ascending);
    QuietScope quiet(quiet_, true);
    // Rows whose stored copy was freed sort as empty texts instead of being dereferenced.
    model_->sortRows([column, ascending](const ListRow& a, const ListRow& b) {
        return compareListTexts(storedText(a, column), storedText(b, column), ascending) < 0;
    });
    viewport()->update();
}

void CSortListCtrl::onHeadingClicked(int column) {
    if (!sortOnHeadingClick_)
        return;
    sortRows(column, column == sortColumn_ ? !sortAscending_ : true);
}

void CSortListCtrl::onSelectionChanged(const QItemSelection& selected,
                                       const QItemSelection& deselected) {
    // Rows that lose the selection are told first, as the desktop list does.
    for (const QItemSelection* part : {&deselected, &selected})
        for (const QItemSelectionRange& range : *part)
            for (int r = range.top(); r <= range.bottom(); ++r)
                reportRow(r);
}

void CSortListCtrl::onCurrentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // The view repaints only the cells, the focus frame spans the rows.
    viewport()->update();
    if (previous.isValid())
        reportRow(previous.row());
    if (current.isValid())
        reportRow(current.row());
}

void CSortListCtrl::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                const QList<int>& roles) {
    QTableView::dataChanged(topLeft, bottomRight, roles);
    if (!roles.contains(Qt::CheckStateRole) || !QAccessible::isActive())
        return;
    // The view reports changed data, not changed states; a screen reader announces a tick
    // only on a state change of the cell.
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(this);
    QAccessibleTableInterface* cells = table ? table->tableInterface() : nullptr;
    if (!cells)
        return;
    QAccessible::State changed;
    changed.checked = true;
    for (int r = topLeft.row(); r <= bottomRight.row(); ++r)
        if (QAccessibleInterface* cell = cells->cellAt(r, 0)) {
            QAccessibleStateChangeEvent event(cell, changed);
            QAccessible::updateAccessibility(&event);
        }
}

QRect CSortListCtrl::checkBoxRect(int row) const {
    if (!model_->hasRow(row) || model_->columnCount() == 0)
        return QRect();
    return listCheckBoxRect(visualRect(model_->index(row, 0)));
}

bool CSortListCtrl::onCheckBox(const QPoint& pos) const {
    const QModelIndex i = indexAt(pos);
    if (!i.isValid() || i.column() != 0)
        return false;
    const QRect box = listCheckBoxRect(visualRect(i));
    return pos.x() >= box.left() && pos.x() <= box.right();
}

void CSortListCtrl::toggleCheck(int row) {
    if (model_->hasRow(row))
        setRowChecked(row, !model_->row(row).checked);
}

void CSortListCtrl::keyPressEvent(QKeyEvent* event) {
    const int current = currentIndex().row();
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        const int selected = selectedRow();
        toggleCheck(selected >= 0 ? selected : current);
        event->accept();
        return;
    }
    // Ctrl+A belongs to the owner's command that ticks every row, not to a select-all.
    if (event->matches(QKeySequence::SelectAll)) {
        event->ignore();
        return;
    }
    if (event->key() == Qt::Key_F2 && current >= 0) {
        edit(model_->index(current, 0));
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CSortListCtrl::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && onCheckBox(pos)) {
        // A click on the check box ticks it and leaves the selection alone.
        setFocus(Qt::MouseFocusReason);
        toggleCheck(indexAt(pos).row());
        checkBoxPressed_ = true;
        event->accept();
        return;
    }
    checkBoxPressed_ = false;
    QTableView::mousePressEvent(event);
}

void CSortListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && onCheckBox(pos)) {
        toggleCheck(indexAt(pos).row());
        checkBoxPressed_ = true;
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

void CSortListCtrl::mouseMoveEvent(QMouseEvent* event) {
    // Moving with the button down neither selects nor moves the focus: the row pressed stays
    // the one selected, as in the desktop's report list, where a drag is not a selection.
    if (event->buttons() & Qt::LeftButton) {
        event->accept();
        return;
    }
    QTableView::mouseMoveEvent(event);
}

QItemSelectionModel::SelectionFlags CSortListCtrl::selectionCommand(const QModelIndex& index,
                                                                    const QEvent* event) const {
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    if (event &&
        (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonRelease))
        return QItemSelectionModel::NoUpdate;
    // Presses and keys, with any modifiers, select exactly the one row; Ctrl never deselects.
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
}

QModelIndex CSortListCtrl::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // In a report list Home and End go to the first and the last row, not along the columns.
    if ((action == MoveHome || action == MoveEnd) && model_->rowCount() > 0) {
        const int column = std::max(0, currentIndex().column());
        return model_->index(action == MoveHome ? 0 : model_->rowCount() - 1, column);
    }
    return QTableView::moveCursor(action, modifiers);
}

void CSortListCtrl::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    const int row = currentIndex().row();
    if (!hasFocus() || !model_->hasRow(row) || model_->columnCount() == 0)
        return;
    const QRect first = visualRect(model_->index(row, 0));
    const QRect last = visualRect(model_->index(row, model_->columnCount() - 1));
    const bool selected = selectionModel()->isRowSelected(row, QModelIndex());
    QPainter painter(viewport());
    drawListFocusFrame(painter, first.united(last),
                       selected ? colours_.highlightText : colours_.text);
}

void CSortListCtrl::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    viewport()->update(); // the focus frame comes with the keyboard focus
}

void CSortListCtrl::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void CSortListCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && checkBoxPressed_) {
        checkBoxPressed_ = false;
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton)
        emit rightClicked(rowAt(event->position().toPoint().y()),
                          event->globalPosition().toPoint());
}

} // namespace morvik
