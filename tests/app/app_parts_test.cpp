// The small parts of the program: dialog units, the icon, the calculator's candidates.
#include "app/Calculator.h"
#include "app/ProgramIcon.h"
#include "controls/DialogUnits.h"
#include "controls/SongFont.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace morvik {
namespace {

TEST(DialogUnitsConversion, SongFaceUnitsWhateverFaceStandsIn) {
    const QFont font = songFont(9);
    const DialogUnits du(font);
    // 宋体 at 9 points on a 96 dpi screen: letters 6 pixels wide, cells 12 high.
    const int em = QFontInfo(font).pixelSize();
    EXPECT_EQ(du.baseX(), (em + 1) / 2);
    EXPECT_EQ(du.baseY(), em);
    // Rounded to nearest, as the platform's multiply-divide does.
    EXPECT_EQ(du.x(4), du.baseX());
    EXPECT_EQ(du.y(8), du.baseY());
    EXPECT_EQ(du.x(0), 0);
    EXPECT_EQ(du.x(2), (2 * du.baseX() + 2) / 4);
    EXPECT_EQ(du.y(1), (du.baseY() + 4) / 8);
}

// The reading grid's control (237 x 243 units) was made to hold its 52 + 3 x 100 pixel
// columns and 40 + 16 x 20 pixel rows with little to spare; stretched units leave a grey
// band beside and below the cells.
TEST(DialogUnitsConversion, ReadingGridFillsItsControl) {
    QFont font = songFont(9);
    font.setPixelSize(12); // a 96 dpi screen, whatever this one reports
    const DialogUnits du(font);
    const QRect area = du.rect(197, 170, 237, 243);
    const int cellsWide = 52 + 3 * 100 + 2; // and the frame
    const int cellsHigh = 40 + 16 * 20 + 2;
    EXPECT_GE(area.width(), cellsWide);
    EXPECT_LE(area.width() - cellsWide, 4);
    EXPECT_GE(area.height(), cellsHigh);
    EXPECT_LE(area.height() - cellsHigh, 4);
}

TEST(DialogUnitsConversion, RectanglesKeepSharedEdges) {
    const DialogUnits du(songFont(9));
    // Two controls side by side in units stay side by side in pixels, for any start.
    for (int x = 0; x < 40; ++x) {
        const QRect left = du.rect(x, 0, 7, 5);
        const QRect right = du.rect(x + 7, 0, 9, 5);
        EXPECT_EQ(left.right() + 1, right.left()) << x;
    }
    EXPECT_EQ(du.rect(10, 20, 30, 40).topLeft(), QPoint(du.x(10), du.y(20)));
}

TEST(ProgramIconPicture, IsDrawnAtEverySizeWithWallAndNeedle) {
    const QIcon icon = programIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 32, 64}) {
        const QImage image = icon.pixmap(size, size).toImage();
        ASSERT_EQ(image.width(), size);
        int opaque = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                opaque += qAlpha(image.pixel(x, y)) > 0;
        EXPECT_GT(opaque, size * size / 4) << size;
        EXPECT_LT(opaque, size * size) << size; // the sky above the wall stays clear
    }
    // The wall's mortar joints show between the bricks at the bottom.
    QImage big(64, 64, QImage::Format_ARGB32);
    big.fill(Qt::transparent);
    QPainter p(&big);
    drawProgramIcon(p, QRectF(0, 0, 64, 64));
    p.end();
    EXPECT_NE(big.pixel(10, 44), big.pixel(10, 50)) << "a brick and the joint below it";
}

TEST(CalculatorStart, TriesThePlatformCalculators) {
    const QStringList candidates = calculatorCandidates();
    ASSERT_FALSE(candidates.isEmpty());
#ifdef Q_OS_WIN
    EXPECT_EQ(candidates, QStringList{"calc.exe"});
#elif !defined(Q_OS_MACOS)
    EXPECT_EQ(candidates.first(), "gnome-calculator");
    EXPECT_EQ(candidates.last(), "xcalc");
#endif
}

} // namespace
} // namespace morvik
