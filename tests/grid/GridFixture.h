#pragma once
// A reading-style grid in an active top-level window, plus helpers that send QTest events
// to the viewport at cell centres.
#include "grid/CGridCtrl.h"
#include "grid/CInPlaceEdit.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace morvik {
// Cells read as (row, col) in failure messages.
inline void PrintTo(const CCellID& c, std::ostream* os) {
    *os << "(" << c.row << ", " << c.col << ")";
}
} // namespace morvik

namespace morvik::test {

// Notifications seen by a spy, as (code, row, col) triples.
struct Seen {
    int code, row, col;
    bool operator==(const Seen& o) const { return code == o.code && row == o.row && col == o.col; }
};

inline std::vector<Seen> notifications(const QSignalSpy& spy) {
    std::vector<Seen> out;
    for (const QList<QVariant>& args : spy) {
        const auto n = args.at(0).value<GridNotify>();
        out.push_back({n.code, n.row, n.col});
    }
    return out;
}

inline std::vector<Seen> notificationsWith(const QSignalSpy& spy, int code) {
    std::vector<Seen> out;
    for (const Seen& s : notifications(spy))
        if (s.code == code)
            out.push_back(s);
    return out;
}

inline std::ostream& operator<<(std::ostream& os, const Seen& s) {
    return os << "{" << s.code << ", " << s.row << ", " << s.col << "}";
}

// Lays a grid out like the reading table: 17 rows x 4 columns, one fixed row and column.
inline void layOutReadingGrid(CGridCtrl& g) {
    g.setRowCount(17);
    g.setColumnCount(4);
    g.setFixedRowCount(1);
    g.setFixedColumnCount(1);
    g.setColumnWidth(0, 52);
    for (int c = 1; c < 4; ++c)
        g.setColumnWidth(c, 100);
    g.setRowHeight(0, 40);
    for (int r = 1; r < 17; ++r)
        g.setRowHeight(r, 20);
    g.resetScrollBars();
}

template <class Grid = CGridCtrl> class GridWindow {
public:
    explicit GridWindow(QSize size = QSize(400, 420)) {
        window = std::make_unique<QWidget>();
        window->resize(size);
        grid = new Grid(window.get());
        grid->setGeometry(0, 0, size.width(), size.height());
        layOutReadingGrid(*grid);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        grid->setFocus();
        // A double click of an earlier test can leave the application believing the
        // button is still down; let it go before this test moves the mouse.
        if (QGuiApplication::mouseButtons() & Qt::LeftButton)
            QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, QPoint(1, 1));
        QApplication::processEvents();
    }
    ~GridWindow() {
        window.reset();
        QApplication::processEvents();
    }

    QPoint centre(int row, int col) const {
        QRect r;
        EXPECT_TRUE(grid->cellRect(row, col, &r)) << row << "," << col;
        return r.center();
    }
    void click(int row, int col, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, mods, centre(row, col));
    }
    // A move with no button to `p`. Qt drops a move to where the pointer already is, so the
    // pointer first goes somewhere else.
    void hover(QPoint p) {
        QTest::mouseMove(grid->viewport(), p + QPoint(p.x() > 200 ? -37 : 37, 11));
        QTest::mouseMove(grid->viewport(), p);
    }
    // The open in-place editor, if any.
    QLineEdit* editor() const {
        for (QLineEdit* e : grid->viewport()->template findChildren<QLineEdit*>())
            if (e->isVisible())
                return e;
        return nullptr;
    }
    // Keys go wherever the keyboard focus is (the grid or its editor).
    void key(Qt::Key k, Qt::KeyboardModifiers mods = {}) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : grid;
        QTest::keyClick(target, k, mods);
    }
    void type(const QString& text) {
        for (QChar ch : text) {
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : grid;
            QTest::keyClick(target, ch.toLatin1());
        }
    }

    std::unique_ptr<QWidget> window;
    Grid* grid;
};

} // namespace morvik::test
