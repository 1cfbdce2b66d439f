// Drawing, checked on rendered images and on the regions the grid asks to repaint.
#include "GridFixture.h"

#include <QPaintEvent>
#include <QPalette>

using namespace morvik;
using namespace morvik::test;

namespace {

QImage render(CGridCtrl& g) {
    return g.viewport()->grab().toImage();
}

// Collects the regions of the paint events the viewport receives.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* w) { w->installEventFilter(this); }
    QRegion painted;
    int events = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent*>(e)->region();
            ++events;
        }
        return false;
    }
};

// Pixels in the cell's inside (edges excluded) darker than mid grey: the ink of its text.
int inkInside(const QImage& img, const QRect& cell) {
    int ink = 0;
    for (int y = cell.top() + 2; y < cell.bottom() - 1; ++y)
        for (int x = cell.left() + 2; x < cell.right() - 1; ++x)
            if (qGray(img.pixel(x, y)) < 128)
                ++ink;
    return ink;
}

} // namespace

TEST(GridDrawing, HeadingsOfTheFocusRowAndColumnAreSunkenAndSemiBold) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    for (int r = 1; r < 17; ++r)
        g.setItemText(r, 0, QString::number(r));
    g.setItemText(0, 2, QStringLiteral("HEAD"));
    g.setItemText(0, 1, QStringLiteral("HEAD"));
    const QPalette& pal = g.palette();
    const QRgb light = pal.color(QPalette::Light).rgb();
    const QRgb shadow = pal.color(QPalette::Shadow).rgb();
    const QRgb midlight = pal.color(QPalette::Midlight).rgb();
    ASSERT_NE(light, shadow);

    g.setFocusCell(7, 1);
    const QImage before = render(g);
    g.setFocusCell(5, 2);
    const QImage img = render(g);

    QRect rowHead, colHead, plainHead, plainColHead;
    ASSERT_TRUE(g.cellRect(5, 0, &rowHead));
    ASSERT_TRUE(g.cellRect(0, 2, &colHead));
    ASSERT_TRUE(g.cellRect(6, 0, &plainHead));
    ASSERT_TRUE(g.cellRect(0, 1, &plainColHead));
    for (const QRect& r : {rowHead, colHead}) {
        EXPECT_EQ(img.pixel(r.left(), r.center().y()), shadow);     // sunken: dark left
        EXPECT_EQ(img.pixel(r.center().x(), r.top()), shadow);      // and top
        EXPECT_EQ(img.pixel(r.right(), r.center().y()), midlight);  // light right
        EXPECT_EQ(img.pixel(r.center().x(), r.bottom()), midlight); // and bottom
    }
    for (const QRect& r : {plainHead, plainColHead}) {
        EXPECT_EQ(img.pixel(r.left(), r.center().y()), light); // raised: light left
        EXPECT_EQ(img.pixel(r.center().x(), r.top()), light);
        EXPECT_EQ(img.pixel(r.right(), r.center().y()), shadow); // dark right
        EXPECT_EQ(img.pixel(r.center().x(), r.bottom()), shadow);
    }
    // The same heading text carries more ink when it is emphasised.
    EXPECT_GT(inkInside(img, colHead), inkInside(before, colHead));
    EXPECT_LT(inkInside(img, plainColHead), inkInside(before, plainColHead));
}

TEST(GridDrawing, FocusFrameSelectionAndGridLines) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    g.setTextBkColour(colourRef(255, 255, 255));
    g.setFocusCell(3, 1);
    g.setItemState(4, 2, CellSelected);
    const QImage img = render(g);
    QRect focus, selected, plain;
    g.cellRect(3, 1, &focus);
    g.cellRect(4, 2, &selected);
    g.cellRect(6, 3, &plain);
    EXPECT_EQ(img.pixel(focus.left(), focus.center().y()), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(focus.right() - 1, focus.center().y()), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(selected.center()), g.palette().color(QPalette::Highlight).rgb());
    const QRgb line = toQColor(kGridLineColour).rgb();
    EXPECT_EQ(img.pixel(plain.right(), plain.center().y()), line);
    EXPECT_EQ(img.pixel(plain.center().x(), plain.bottom()), line);
    EXPECT_EQ(img.pixel(plain.center().x() + 20, plain.center().y() - 5), qRgb(255, 255, 255));
}

TEST(GridDrawing, NoGridLinesInModeNoneEvenAfterACellRedraw) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    g.setTextBkColour(colourRef(255, 255, 255));
    g.setGridLines(GridLinesNone);
    g.setFocusCell(6, 2);
    g.setFocusCell(6, 3); // redraws (6, 2) alone
    QApplication::processEvents();
    const QImage img = render(g);
    QRect r;
    g.cellRect(6, 2, &r);
    EXPECT_EQ(img.pixel(r.right(), r.center().y()), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(r.center().x(), r.bottom()), qRgb(255, 255, 255));
}

TEST(GridDrawing, AFocusMoveRepaintsOnlyTheCellsItConcerns) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    g.setFocusCell(3, 1);
    QApplication::processEvents();
    PaintRecorder rec(g.viewport());
    g.setFocusCell(5, 2);
    QTRY_VERIFY(rec.events > 0);
    QRegion expected;
    for (const CCellID& id : {CCellID(3, 1), CCellID(5, 2), CCellID(0, 1), CCellID(0, 2),
                              CCellID(3, 0), CCellID(5, 0)}) {
        QRect r;
        ASSERT_TRUE(g.cellRect(id.row, id.col, &r));
        expected += r;
    }
    EXPECT_TRUE((rec.painted - expected).isEmpty());
    EXPECT_TRUE((expected - rec.painted).isEmpty());
}

TEST(GridDrawing, DeleteRepaintsOneCell) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    g.setItemText(9, 2, QStringLiteral("2.00"));
    g.setFocusCell(9, 2);
    QApplication::processEvents();
    PaintRecorder rec(g.viewport());
    QTest::keyClick(&g, Qt::Key_Delete);
    QTRY_VERIFY(rec.events > 0);
    QRect r;
    g.cellRect(9, 2, &r);
    EXPECT_EQ(rec.painted, QRegion(r));
}

TEST(GridDrawing, DefaultColoursFollowTheSystemButExplicitOnesStay) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    const GridColour face = colourRef(213, 222, 242);
    g.setFixedBkColour(face);
    QPalette pal = g.palette();
    pal.setColor(QPalette::Base, QColor(10, 200, 30));
    pal.setColor(QPalette::Button, QColor(90, 90, 200));
    g.setPalette(pal);
    EXPECT_EQ(g.textBkColour(), colourRef(10, 200, 30));
    EXPECT_EQ(g.fixedBkColour(), face);
    const QImage img = render(g);
    QRect normal, heading;
    g.cellRect(8, 3, &normal);
    g.cellRect(8, 0, &heading);
    EXPECT_EQ(img.pixel(normal.center()), qRgb(10, 200, 30));
    EXPECT_EQ(img.pixel(heading.center()), qRgb(213, 222, 242));
}

TEST(GridDrawing, EmptyRowsAndColumnsDrawNothing) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    g.setBkColour(colourRef(40, 90, 160));
    g.setColumnWidth(3, 0);
    g.setRowHeight(16, 0);
    g.setFocusCell(15, 2);
    const QImage img = render(g);
    const QRgb bk = qRgb(40, 90, 160);
    const int right = 52 + 2 * 100;  // first pixel right of the cells
    const int bottom = 40 + 15 * 20; // first pixel below the cells
    for (int y = 0; y < bottom + 30; ++y)
        ASSERT_EQ(img.pixel(right, y), bk) << "column right of the cells, y " << y;
    for (int x = 0; x < right; ++x)
        ASSERT_EQ(img.pixel(x, bottom), bk) << "row below the cells, x " << x;
    // The heading of the focus column keeps its light right edge.
    QRect head;
    ASSERT_TRUE(g.cellRect(0, 2, &head));
    EXPECT_EQ(img.pixel(head.right(), head.center().y()),
              g.palette().color(QPalette::Midlight).rgb());
}

TEST(GridDrawing, AmpersandMarksTheNextCharacterUnlessTheFormatSaysNoPrefix) {
    GridWindow<> w;
    CGridCtrl& g = *w.grid;
    g.setTextBkColour(colourRef(255, 255, 255));
    g.setTextColour(colourRef(0, 0, 0));
    const std::uint32_t single = FormatSingleLine | FormatVCentre;
    auto cellImage = [&](const QString& text, std::uint32_t format) {
        g.setItemText(4, 1, text);
        g.setItemFormat(4, 1, format);
        QRect r;
        g.cellRect(4, 1, &r);
        return render(g).copy(r);
    };
    const QImage doubled = cellImage(QStringLiteral("A&&B"), single);
    const QImage literal = cellImage(QStringLiteral("A&B"), single | FormatNoPrefix);
    const QImage marked = cellImage(QStringLiteral("A&B"), single);
    const QImage plain = cellImage(QStringLiteral("AB"), single | FormatNoPrefix);
    EXPECT_TRUE(doubled == literal); // "&&" draws one '&'
    EXPECT_FALSE(marked == literal);
    // "A&B" is "AB" with B underlined: the only differences lie on one or two scan lines
    // below the letters.
    ASSERT_EQ(marked.size(), plain.size());
    int top = marked.height(), bottomRow = -1, differing = 0;
    for (int y = 0; y < marked.height(); ++y)
        for (int x = 0; x < marked.width(); ++x)
            if (marked.pixel(x, y) != plain.pixel(x, y)) {
                ++differing;
                top = std::min(top, y);
                bottomRow = std::max(bottomRow, y);
            }
    EXPECT_GT(differing, 2);
    EXPECT_LE(bottomRow - top, 1);
    EXPECT_GT(top, marked.height() / 2);
}
