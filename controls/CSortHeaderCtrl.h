#pragma once
// Header of the member list. It paints every heading itself on the program's face colour
// in "宋体" 9 pt, with the arrow of the sort column, a pressed look while a heading is held
// down, and the face continued after the last heading. It can store and load its widths.
#include "controls/SortHeaderPainter.h"

#include <QHeaderView>

class QDataStream;

namespace morvik {

class CSortHeaderCtrl : public QHeaderView {
    Q_OBJECT
public:
    explicit CSortHeaderCtrl(QWidget* parent = nullptr);

    // Set by the list when it sorts; decides where the arrow is drawn.
    void setSortState(int column, bool ascending);
    int sortColumn() const { return sortColumn_; }
    bool sortAscending() const { return sortAscending_; }

    // The heading held down by the mouse, or -1.
    int pressedSection() const { return pressedShown_ ? pressed_ : -1; }

    // Writes the number of headings, then each heading's width.
    void saveWidths(QDataStream& out) const;
    // Reads what saveWidths() wrote; applies the widths only when the stored count equals the
    // current number of headings. Returns whether they were applied.
    bool loadWidths(QDataStream& in);

    HeaderPens pens() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool onDivider(const QPoint& pos) const;

    int sortColumn_ = -1;
    bool sortAscending_ = true;
    int pressed_ = -1;
    bool pressedShown_ = false;
};

} // namespace morvik
