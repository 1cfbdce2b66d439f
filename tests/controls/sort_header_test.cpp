// The member list's header: face colour, the strip after the last heading, the sort arrow
// for both directions, the pressed look, and storing and loading the widths.
#include "controls/CSortListCtrl.h"

#include <QDataStream>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace morvik;

namespace {

constexpr ColorRef kLight = 0x0000FF; // red
constexpr ColorRef kDark = 0xFF0000;  // blue

class SortHeaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.setHeadings(QStringLiteral("序号,40;构件编号,90;平均值,60;抗压强度,60"));
        header = list.sortHeader();
        QPalette pal = header->palette();
        pal.setColor(QPalette::Light, colorFromRef(kLight));
        pal.setColor(QPalette::Dark, colorFromRef(kDark));
        header->setPalette(pal);
        list.resize(400, 200);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    }

    QImage image() const { return header->viewport()->grab().toImage(); }
    ColorRef at(const QImage& img, QPoint p) const { return colorRefFrom(img.pixelColor(p)); }
    QRect full(int c) const {
        return QRect(header->sectionViewportPosition(c), 0, header->sectionSize(c),
                     header->viewport()->height());
    }
    QRect face(int c) const { return full(c).adjusted(1, 1, -1, -1); }

    CSortListCtrl list;
    CSortHeaderCtrl* header = nullptr;
};

// Bounding box of the pixels in `area` darker than the face, i.e. of the text.
QRect inkBox(const QImage& img, const QRect& area) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (img.pixelColor(x, y).lightness() < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST_F(SortHeaderTest, HeadingsAreOnTheFaceColourWithTheStripAfterTheLast) {
    const QImage img = image();
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(at(img, face(c).topLeft()), kHeaderFaceColour) << c;
        EXPECT_EQ(at(img, face(c).bottomRight()), kHeaderFaceColour) << c;
        EXPECT_NE(at(img, full(c).topLeft()), kHeaderFaceColour) << "1-pixel margin " << c;
    }
    const QRect last = face(3);
    const int stripLeft = last.x() + last.width() + kHeaderStripGap;
    EXPECT_EQ(at(img, QPoint(stripLeft, last.center().y())), kHeaderFaceColour);
    EXPECT_NE(at(img, QPoint(stripLeft - 1, last.center().y())), kHeaderFaceColour);
    EXPECT_EQ(header->font().family(), QStringLiteral("宋体"));
    EXPECT_EQ(header->font().pointSize(), kHeaderFontPoints);
}

TEST_F(SortHeaderTest, ArrowIsDrawnWithTheLightAndDarkPensForBothDirections) {
    struct Case {
        bool ascending;
        // Points as functions of r (exclusive right), b (exclusive bottom) and q.
        std::function<QPoint(int, int, int)> point;
        ColorRef expected;
    };
    const std::vector<Case> cases = {
        {true, [](int r, int, int q) { return QPoint(r - 2 * q, q); }, kLight},
        {true, [](int r, int b, int q) { return QPoint(r - q, b - q - 1); }, kLight},
        {true, [](int r, int b, int q) { return QPoint(r - 3 * q - 1, b - q - 1); }, kDark},
        {true, [](int r, int b, int q) { return QPoint(r - 2 * q - 1, b - q - 1); }, kLight},
        {false, [](int r, int, int q) { return QPoint(r - q - 1, q); }, kLight},
        {false, [](int r, int b, int q) { return QPoint(r - 2 * q - 2, b - q); }, kDark},
        {false, [](int r, int, int q) { return QPoint(r - 2 * q, q); }, kDark},
    };
    for (const Case& c : cases) {
        list.sortRows(1, c.ascending);
        const QImage img = image();
        const QRect f = face(1);
        const int r = f.x() + f.width(), b = f.y() + f.height(), q = f.height() / 4;
        const QPoint p = c.point(r, b, q);
        EXPECT_EQ(at(img, p), c.expected)
            << (c.ascending ? "ascending" : "descending") << " at " << p.x() << "," << p.y();
        // No arrow on the other headings.
        const QRect other = face(2);
        EXPECT_EQ(at(img, QPoint(other.right() - q, other.center().y())), kHeaderFaceColour);
    }
}

TEST(LinePixels, LeavesOutTheEndPoint) {
    EXPECT_EQ(linePixels({0, 0}, {3, 0}), (std::vector<QPoint>{{0, 0}, {1, 0}, {2, 0}}));
    EXPECT_EQ(linePixels({2, 2}, {2, 0}), (std::vector<QPoint>{{2, 2}, {2, 1}}));
    EXPECT_EQ(linePixels({0, 0}, {2, 2}), (std::vector<QPoint>{{0, 0}, {1, 1}}));
    EXPECT_TRUE(linePixels({5, 5}, {5, 5}).empty());
}

TEST_F(SortHeaderTest, PressedHeadingShowsItsTextMovedRightAndDown) {
    const int c = 1;
    const QRect area = full(c);
    const QRect before = inkBox(image(), area);
    ASSERT_TRUE(before.isValid());

    const QPoint centre = area.center();
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(header->pressedSection(), c);
    const QRect pressed = inkBox(image(), area);
    // The pressed face fills the whole heading, so its quarter-height inset is measured from
    // the full height; on top of that the text moves by the pressed shift.
    const int qFace = face(c).height() / 4, qFull = area.height() / 4;
    const int expectedDx = (qFull - (1 + qFace)) + kHeaderPressedTextShift.x();
    EXPECT_EQ(pressed.left() - before.left(), expectedDx);
    EXPECT_EQ(pressed.top() - before.top(), kHeaderPressedTextShift.y());
    EXPECT_EQ(at(image(), area.topLeft()), kHeaderFaceColour) << "pressed face fills it all";

    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(header->pressedSection(), -1);
    EXPECT_EQ(inkBox(image(), area), before);
}

TEST_F(SortHeaderTest, WidthsAreStoredAndLoadedOnlyForTheSameNumberOfHeadings) {
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        header->saveWidths(out);
    }
    header->resizeSection(1, 30);
    {
        QDataStream in(bytes);
        EXPECT_TRUE(header->loadWidths(in));
    }
    EXPECT_EQ(header->sectionSize(1), 90);

    QByteArray three;
    {
        QDataStream out(&three, QIODevice::WriteOnly);
        out << qint32(3) << qint32(10) << qint32(10) << qint32(10);
    }
    QDataStream in(three);
    EXPECT_FALSE(header->loadWidths(in));
    EXPECT_EQ(header->sectionSize(0), 40);

    QByteArray truncated;
    {
        QDataStream out(&truncated, QIODevice::WriteOnly);
        out << qint32(4) << qint32(10);
    }
    QDataStream shortIn(truncated);
    EXPECT_FALSE(header->loadWidths(shortIn));
    EXPECT_EQ(header->sectionSize(0), 40) << "nothing applied from a cut-off archive";
}
