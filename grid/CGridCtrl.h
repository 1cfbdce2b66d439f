#pragma once
// The reading grid: a spreadsheet-like widget of cells in rows and columns, the first rows
// and columns optionally fixed (headings that do not scroll). The owner writes cells through
// the item operations and learns what the user did through notify(); the user types into a
// cell through a short-lived in-place editor laid over it.
//
// Every access outside the structure is refused quietly: reads give -1, 0, an empty text or
// no cell, writes return false and change nothing.
//
// The owner may do anything from inside a notification (open a modal message box, change the
// structure, move the focus): a press interrupted that way is dropped and the grid returns to
// idle, and the counts, the focus and the selection are made consistent again before the
// grid goes on.

#include "grid/CGridCell.h"
#include "grid/GridCellStore.h"
#include "grid/GridNavigation.h"
#include "grid/GridSelection.h"
#include "grid/GridTypes.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QPixmap>
#include <QPointer>
#include <memory>
#include <vector>

class QPainter;
class QImage;
class QScrollBar;

namespace morvik {

class CTitleTip;
class GridMouse;

class CGridCtrl : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum MouseMode {
        MouseIdle = 0,
        MouseSelectAll = 1,
        MouseSelectColumns = 2,
        MouseSelectRows = 3,
        MouseSelectCells = 4,
        MouseOverRowDivider = 6,
        MouseSizingRow = 7,
        MouseOverColumnDivider = 8,
        MouseSizingColumn = 9,
        MousePrepareEdit = 10,
        MousePrepareDrag = 11,
        MouseDragging = 12,
    };
    static constexpr int kInPlaceEditId = 8;
    static constexpr int kAutoScrollTimerId = 513;
    static constexpr int kMaxEditableColumn = 2; // columns beyond this are display-only

    explicit CGridCtrl(QWidget* parent = nullptr);
    ~CGridCtrl() override;

    int controlId() const { return m_controlId; }
    void setControlId(int id) { m_controlId = id; }

    // --- structure ---------------------------------------------------------------------
    int rowCount() const { return m_store.rowCount(); }
    int columnCount() const { return m_store.columnCount(); }
    int fixedRowCount() const { return m_store.rows().fixedCount(); }
    int fixedColumnCount() const { return m_store.columns().fixedCount(); }
    bool setRowCount(int n);
    bool setColumnCount(int n);
    bool setFixedRowCount(int n);
    bool setFixedColumnCount(int n);

    int rowHeight(int row) const;   // -1 outside the structure
    int columnWidth(int col) const; // -1 outside the structure
    bool setRowHeight(int row, int height);
    bool setColumnWidth(int col, int width);
    int fixedRowHeight() const;
    int fixedColumnWidth() const;
    int virtualHeight() const;
    int virtualWidth() const;

    bool isValid(int row, int col) const;
    bool isValid(const CCellID& c) const { return isValid(c.row, c.col); }
    bool isValid(const CCellRange& r) const;

    // --- cells -------------------------------------------------------------------------
    // Copies the masked members into the cell (text, data, image, state, format, colours,
    // font); the state is stored as is, without touching the selection. No redraw.
    virtual bool setItem(const GridItem& item);
    bool getItem(GridItem& item) const; // fills the masked members; false for a bad cell
    virtual bool setItemText(int row, int col, const QString& text); // no redraw
    virtual QString itemText(int row, int col) const;
    // What the cell shows: the open editor's text while the cell is edited, else its text.
    QString shownText(int row, int col) const;
    bool setItemState(int row, int col, std::uint32_t state); // keeps the selection in step
    std::uint32_t itemState(int row, int col) const;
    bool setItemFormat(int row, int col, std::uint32_t format);
    std::uint32_t itemFormat(int row, int col) const;
    bool setItemData(int row, int col, qintptr data);
    qintptr itemData(int row, int col) const;
    bool setItemImage(int row, int col, int image);
    int itemImage(int row, int col) const;
    bool setItemBkColour(int row, int col, GridColour c);
    GridColour itemBkColour(int row, int col) const;
    bool setItemFgColour(int row, int col, GridColour c);
    GridColour itemFgColour(int row, int col) const;
    bool setItemFont(int row, int col, const QFont& f);
    QFont itemFont(int row, int col) const; // the grid's font for a missing cell
    bool isCellEditable(int row, int col) const;
    // Marks the cell changed by the user (only beyond row 0 and column 0) and always the grid.
    void setModified(int row, int col);
    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    // --- focus and selection -----------------------------------------------------------
    CCellID focusCell() const { return m_sel.focus; }
    CCellID setFocusCell(const CCellID& cell); // returns the previous focus cell
    CCellID setFocusCell(int row, int col) { return setFocusCell(CCellID(row, col)); }
    void setSelectedRange(int minRow, int minCol, int maxRow, int maxCol);
    void setSelectedRange(const CCellRange& r) {
        setSelectedRange(r.minRow, r.minCol, r.maxRow, r.maxCol);
    }
    CCellRange selectedRange() const; // (rows, cols, -1, -1) when nothing is selected
    std::vector<CCellID> selectedCells() const;
    int selectedCount() const { return m_sel.count(); }
    void selectAllCells();
    void selectColumns(const CCellID& current);
    void selectRows(const CCellID& current);
    void selectCells(const CCellID& current);
    void resetSelectedRange(); // clears the selection and the focus

    // --- geometry ----------------------------------------------------------------------
    CCellID cellFromPoint(const QPoint& p, bool allowFixed = true) const;
    CCellID topLeftNonFixedCell() const;
    CCellRange visibleNonFixedCellRange(QRect* rect = nullptr) const;
    CCellRange fullyVisibleNonFixedCellRange() const;
    bool cellOrigin(int row, int col, QPoint* p) const;
    // The cell's pixels: left/top at its origin, right() = left + width - 1.
    bool cellRect(int row, int col, QRect* rect) const;
    bool isCellVisible(int row, int col) const;
    void ensureVisible(int row, int col);
    virtual QSize measureCell(int row, int col) const;
    bool autoSizeRow(int row);
    bool autoSizeColumn(int col);
    void resetScrollBars();

    // --- options and colours -----------------------------------------------------------
    bool isEditable() const { return m_editable; }
    void setEditable(bool on) { m_editable = on; }
    bool listMode() const { return m_listMode; }
    void setListMode(bool on) { m_listMode = on; }
    bool singleRowSelection() const { return m_singleRowSelection; }
    void setSingleRowSelection(bool on) { m_singleRowSelection = on; }
    bool isDrawingAllowed() const { return m_allowDraw; }
    void setDrawingAllowed(bool on);
    bool isSelectionEnabled() const { return m_enableSelection; }
    void setSelectionEnabled(bool on) { m_enableSelection = on; }
    bool sortOnHeadingClick() const { return m_sortOnClick; }
    void setSortOnHeadingClick(bool on) { m_sortOnClick = on; }
    bool handlesTabKey() const { return m_handleTabKey; }
    void setHandleTabKey(bool on) { m_handleTabKey = on; }
    bool doubleBuffering() const { return m_doubleBuffer; }
    void setDoubleBuffering(bool on) { m_doubleBuffer = on; }
    bool titleTipsEnabled() const { return m_titleTips; }
    void setTitleTipsEnabled(bool on) { m_titleTips = on; }
    bool dragAndDropAllowed() const { return m_allowDragAndDrop; }
    // Dragging the selection out starts only with this on (off by default).
    void setDragAndDropAllowed(bool on) { m_allowDragAndDrop = on; }
    // Drops reach the grid only once its drop target is registered; nothing in the program
    // registers it, so by default no drop ever arrives.
    void registerDropTarget(bool on) { viewport()->setAcceptDrops(on); }
    bool rowResizeAllowed() const { return m_allowRowResize; }
    void setRowResizeAllowed(bool on) { m_allowRowResize = on; }
    bool columnResizeAllowed() const { return m_allowColResize; }
    void setColumnResizeAllowed(bool on) { m_allowColResize = on; }
    int gridLines() const { return m_gridLines; }
    void setGridLines(int mode) { m_gridLines = mode; }
    int rowsPerWheelNotch() const { return m_rowsPerWheelNotch; }
    void setRowsPerWheelNotch(int n) { m_rowsPerWheelNotch = n; }

    GridColour textColour() const { return m_textColour; }
    void setTextColour(GridColour c) { m_textColour = c; }
    GridColour textBkColour() const { return m_textBkColour; }
    void setTextBkColour(GridColour c) { m_textBkColour = c; }
    GridColour bkColour() const { return m_bkColour; }
    void setBkColour(GridColour c) { m_bkColour = c; }
    GridColour fixedTextColour() const { return m_fixedTextColour; }
    void setFixedTextColour(GridColour c) { m_fixedTextColour = c; }
    GridColour fixedBkColour() const { return m_fixedBkColour; }
    void setFixedBkColour(GridColour c) { m_fixedBkColour = c; }
    GridColour gridLineColour() const { return m_gridColour; }
    void setGridLineColour(GridColour c) { m_gridColour = c; }

    // Optional cell images, indexed by the cells' image member.
    void setImageList(std::vector<QPixmap> images) { m_imageList = std::move(images); }

    int margin() const { return m_margin; }
    int defaultRowHeight() const { return m_defaultRowHeight; }
    int defaultColumnWidth() const { return m_defaultColWidth; }
    int mouseMode() const;

    // --- editing and commands ----------------------------------------------------------
    // Opens the in-place editor on the cell; refused beyond column 2 and for invalid,
    // read-only or invisible cells.
    virtual void beginCellEdit(int row, int col, int firstKey);
    // Called by an in-place editor when it ends: stores the text, tells the owner and, for
    // Tab and the navigation keys, moves on and opens the next cell.
    void onInPlaceEditEnd(const GridEditResult& result, Qt::KeyboardModifiers modifiers = {});

    bool canCopy() const;
    bool canCut() const;
    bool canPaste() const;
    bool canSelectAll() const { return m_enableSelection; }
    virtual void onEditCopy();
    virtual void onEditCut();
    virtual void onEditPaste();
    virtual void onEditSelectAll();
    // The selection as the clipboard carries it: GBK, tab-separated, one zero byte at the end.
    virtual QByteArray copyTextFromSelection() const;
    // Writes clipboard-style text (GBK) at the cell; false when the cell is not editable.
    virtual bool pasteTextToGrid(const CCellID& cell, const QByteArray& gbkText);

    // Paints the grid onto any painter (a printer painter never shows focus or selection).
    virtual void onDraw(QPainter& p, const QRect& clipBox);

signals:
    void notify(const morvik::GridNotify& n);
    // Posted to the owner after each left-button release over a valid cell.
    void command(int controlId);

protected:
    virtual CGridCell* createCell(int row, int col);
    virtual void destroyCell(CGridCell* cell);
    virtual void endCellEdit(int row, int col, const QString& text);
    virtual QWidget* createInPlaceEditor(const QRect& rect, std::uint32_t format, int id, int row,
                                         int col, const QString& text, int firstKey);
    virtual bool drawFixedCell(QPainter& p, int row, int col, QRect rect, bool erase);
    virtual bool drawCell(QPainter& p, int row, int col, QRect rect, bool erase);
    void drawCellContent(QPainter& p, const CGridCell& c, int l, int t, int r, int b,
                         const QColor& fg);
    virtual void onFixedRowClick(const CCellID& cell);
    virtual void onFixedColumnClick(const CCellID& cell);
    virtual void cutSelectedText();

    // The grid's printing steps: the program never prints a grid.
    virtual void onBeginPrinting(QPainter&) {}
    virtual void onPrint(QPainter&) {}
    virtual void onEndPrinting(QPainter&) {}
    virtual void printColumnHeadings(QPainter&) {}
    virtual void printRowHeadings(QPainter&) {}
    virtual void printHeader(QPainter&) {}
    virtual void printFooter(QPainter&) {}

    CGridCell* cell(int row, int col) const;
    void sendNotify(int code, int row, int col);
    bool redrawCell(int row, int col);

    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void timerEvent(QTimerEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dragLeaveEvent(QDragLeaveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void changeEvent(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void scrollContentsBy(int, int) override {}
    bool viewportEvent(QEvent* e) override;

private:
    friend class GridMouse;
    friend class GridAccessible;
    enum ScrollCode { LineBack, LineForward, PageBack, PageForward, ThumbTrack, ToStart, ToEnd };

    // structure and cells
    template <class T> bool writeCell(int row, int col, T CGridCell::*member, const T& value);
    template <class T> T readCell(int row, int col, T CGridCell::*member, const T& none) const;
    void applyFont();
    void refreshSystemColours();
    void dropFocusQuietly();
    GridAxis& axisOf(Qt::Orientation o);
    bool setLineCount(Qt::Orientation o, int n);
    bool setFixedLineCount(Qt::Orientation o, int n);
    void redrawHeadings(const CCellID& cell, const CCellID& other);
    bool setSpan(SelectionSpan span, const CCellID& current);

    // keyboard: a key becomes an action, the action gives a target, one place applies it
    bool handleKey(int key, Qt::KeyboardModifiers mods);
    // Whether a Tab or Shift+Tab that moved no cell goes past either end of the cells.
    bool tabLeavesGrid(GridAction action, const CCellID& from) const;
    void leaveByTab(bool forward);
    bool handleCharacter(const QString& text, Qt::KeyboardModifiers mods);
    CursorMove moveCursor(GridAction action, const CCellID& from);
    void applyMove(GridAction action, const CursorMove& move, bool shift);
    void clearFocusCell();
    bool runClipboardAction(GridAction action);

    // scrolling
    const GridAxis& axis(Qt::Orientation o) const;
    QScrollBar* scrollBar(Qt::Orientation o) const;
    void scrollBy(Qt::Orientation o, ScrollCode code, int trackPos = 0);
    void shiftByCells(Qt::Orientation o, int oldFirst, const QRect& area);
    void onScrollAction(Qt::Orientation o, int action);
    bool autoSize(Qt::Orientation o, int index);

    void offerTitleTip(const QPoint& p);
    void hideTitleTip();
    void startDrag();
    void setDragOverCell(const CCellID& cell);
    void sendAccessibleFocus();
    void sendAccessibleCellEvent(QAccessible::Event type, int row, int col);

    int m_controlId = 0;
    GridColour m_textColour, m_textBkColour, m_bkColour, m_fixedTextColour, m_fixedBkColour;
    GridColour m_gridColour = kGridLineColour;
    GridColour m_sysWindowText, m_sysWindow, m_sysButtonFace, m_sysButtonShadow;
    int m_gridLines = GridLinesBoth;
    bool m_editable = true;
    bool m_modified = false;
    bool m_allowDragAndDrop = false;
    bool m_listMode = false;
    bool m_singleRowSelection = false;
    bool m_allowDraw = true;
    bool m_enableSelection = true;
    bool m_sortOnClick = true;
    bool m_handleTabKey = true;
    bool m_doubleBuffer = true;
    bool m_titleTips = true;
    bool m_allowRowResize = true, m_allowColResize = true;
    GridCellStore m_store;
    GridSelection m_sel;
    std::unique_ptr<GridMouse> m_mouse;
    int m_margin = 0;
    int m_hScrollMax = 0, m_vScrollMax = 0;
    std::vector<QPixmap> m_imageList;
    int m_defaultColWidth = 30;
    int m_defaultRowHeight = 10;
    QFont m_font;
    int m_rowsPerWheelNotch = 3;
    CTitleTip* m_titleTip = nullptr; // child of the viewport, deleted with it
    CCellID m_dragOverCell;
    bool m_ascending = true;
    int m_sortColumn = -1;
    // The open in-place editor and its cell, so that what the cell shows can be read while
    // it is edited.
    QPointer<QWidget> m_editor;
    CCellID m_editorCell;
};

} // namespace morvik
