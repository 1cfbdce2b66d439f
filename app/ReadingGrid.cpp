#include "app/ReadingGrid.h"

#include "app/DialogIds.h"
#include "grid/CGridCtrl.h"
#include "session/Columns.h"

#include <QApplication>
#include <QFocusEvent>

namespace morvik {

namespace {

constexpr int kFirstPoint = 1;
constexpr int kLastPoint = kReadingGridRows - 1;

// Tab into the grid lands on point 1's first reading while no cell has the focus yet, so
// the keyboard alone can start typing a member; Shift+Tab, coming from below, lands on
// point 16's gauge reading.
class FirstCellOnTab : public QObject {
public:
    explicit FirstCellOnTab(CGridCtrl& grid) : QObject(&grid), grid_(grid) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::FocusIn || grid_.isValid(grid_.focusCell()))
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason)
            grid_.setFocusCell(kFirstPoint, kUnevennessColumn);
        else if (reason == Qt::BacktabFocusReason)
            grid_.setFocusCell(kLastPoint, kGaugeColumn);
        return false;
    }

private:
    CGridCtrl& grid_;
};

} // namespace

void setupReadingGrid(CGridCtrl& grid) {
    static const char* const kHeadings[kReadingGridColumns] = {"序号", "不平整读数(mm)",
                                                               "贯入仪读数(mm)", "贯入深度(mm)"};
    grid.setDrawingAllowed(false);
    grid.setEditable(true);
    grid.setTitleTipsEnabled(false);
    grid.setSelectionEnabled(false);
    grid.setRowResizeAllowed(false);
    grid.setColumnResizeAllowed(false);
    grid.setFixedBkColour(kDialogFaceColour);
    grid.setRowCount(kReadingGridRows);
    grid.setColumnCount(kReadingGridColumns);
    grid.setFixedRowCount(1);
    grid.setFixedColumnCount(1);

    grid.setColumnWidth(0, kReadingNumberColumnWidth);
    for (int col = 1; col < kReadingGridColumns; ++col)
        grid.setColumnWidth(col, kReadingValueColumnWidth);
    grid.setRowHeight(0, kReadingHeadingRowHeight);
    for (int row = 1; row < kReadingGridRows; ++row)
        grid.setRowHeight(row, kReadingPointRowHeight);

    for (int col = 0; col < kReadingGridColumns; ++col) {
        grid.setItemText(0, col, QString::fromUtf8(kHeadings[col]));
        grid.setItemFormat(0, col, FormatCentre | FormatVCentre | FormatWordBreak);
    }
    for (int row = 1; row < kReadingGridRows; ++row)
        grid.setItemText(row, 0, QString::number(row));

    grid.installEventFilter(new FirstCellOnTab(grid));
    grid.resetScrollBars();
    grid.setDrawingAllowed(true);
    grid.viewport()->update();
}

void restartReadingEntry(CGridCtrl& grid) {
    const QWidget* focus = QApplication::focusWidget();
    if (focus == &grid || grid.isAncestorOf(focus))
        grid.setFocusCell(kFirstPoint, kUnevennessColumn);
    else
        grid.setFocusCell(-1, -1);
}

} // namespace morvik
