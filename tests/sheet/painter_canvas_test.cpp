// The QPainter drawing surface: fonts matched on their cell height, text hung from its
// top-left corner, rules one device unit wide.
#include "sheet/PainterCanvas.h"
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace morvik {
namespace {

constexpr double kMetresPerInch = 0.0254;

QImage page(int dpi, int size = 800) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMetre = qRound(dpi / kMetresPerInch);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    return image;
}

// Rows [first, last] holding any non-white pixel; first > last when none.
std::pair<int, int> inkedRows(const QImage& image) {
    int first = image.height(), last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                first = std::min(first, y);
                last = std::max(last, y);
                break;
            }
    return {first, last};
}

TEST(PainterCanvas, SongFaceResolvesToAnInstalledChineseFont) {
    const QString family = PainterCanvas::resolveFamily(QStringLiteral("宋体"));
    EXPECT_TRUE(QFontDatabase::families().contains(family)) << family.toStdString();
    EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese));
    EXPECT_EQ(PainterCanvas::resolveFamily("DejaVu Sans"), QStringLiteral("DejaVu Sans"));
}

TEST(PainterCanvas, MeasuredHeightIsTheCellHeightOfThePoints) {
    struct Case {
        int dpi, points, height;
    };
    const Case cases[] = {{600, 11, 92}, {600, 7, 58},    {600, 14, 117}, {600, 22, 183},
                          {300, 11, 46}, {1200, 11, 183}, {96, 9, 12}};
    for (const auto& k : cases) {
        QImage image = page(k.dpi, 16);
        QPainter painter(&image);
        PainterCanvas canvas(painter);
        EXPECT_EQ(canvas.logPixelsY(), k.dpi);
        const auto font = canvas.createFont(QStringLiteral("宋体"), k.points);
        canvas.selectFont(font);
        for (const char* text : {"砂浆抗压强度", "M7.5", "∑"}) {
            const TextSize size = canvas.measureText(QString::fromUtf8(text));
            EXPECT_EQ(size.height, k.height) << k.dpi << " dpi " << k.points << " pt " << text;
            EXPECT_GT(size.width, 0);
        }
    }
}

TEST(PainterCanvas, PdfPagesMeasureTheSameHeights) {
    QTemporaryDir dir;
    QPdfWriter writer(dir.filePath("probe.pdf"));
    writer.setResolution(600);
    QPainter painter(&writer);
    PainterCanvas canvas(painter);
    EXPECT_EQ(canvas.logPixelsY(), 600);
    canvas.selectFont(canvas.createFont(QStringLiteral("宋体"), 11));
    EXPECT_EQ(canvas.measureText(QStringLiteral("共3页 第1页")).height, 92);
    canvas.selectFont(canvas.createFont(QStringLiteral("宋体"), 22));
    EXPECT_EQ(canvas.measureText(QStringLiteral("砂浆抗压强度贯入检测记录表")).height, 183);
}

TEST(PainterCanvas, TextHangsFromItsTopLeftCorner) {
    QImage image = page(600);
    {
        QPainter painter(&image);
        PainterCanvas canvas(painter);
        canvas.selectFont(canvas.createFont(QStringLiteral("宋体"), 11));
        canvas.drawText(100, 300, QStringLiteral("砂浆抗压强度"));
    }
    const auto [first, last] = inkedRows(image);
    EXPECT_GE(first, 300);
    EXPECT_LT(last, 300 + 92);
    EXPECT_LT(first, 300 + 46); // the glyphs fill the upper half of the cell too
}

TEST(PainterCanvas, RulesAreOneDeviceUnitWide) {
    QImage image = page(600);
    {
        QPainter painter(&image);
        PainterCanvas canvas(painter);
        canvas.moveTo(10, 400);
        canvas.lineTo(700, 400);
    }
    const auto [first, last] = inkedRows(image);
    EXPECT_EQ(first, 400);
    EXPECT_EQ(last, 400);
    EXPECT_EQ(image.pixel(350, 400), qRgb(0, 0, 0));
}

TEST(PainterCanvas, SelectingGivesThePreviousFontAndThePainterGetsItsPenBack) {
    QImage image = page(600, 16);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::red, 5));
    {
        PainterCanvas canvas(painter);
        const auto a = canvas.createFont(QStringLiteral("宋体"), 11);
        const auto b = canvas.createFont(QStringLiteral("宋体"), 7);
        EXPECT_EQ(canvas.selectFont(a), SheetCanvas::kNoFont);
        EXPECT_EQ(canvas.selectFont(b), a);
        EXPECT_EQ(canvas.measureText("x").height, 58);
        EXPECT_EQ(canvas.selectFont(a), b);
        EXPECT_EQ(canvas.measureText("x").height, 92);
        EXPECT_EQ(painter.pen().width(), 1);
    }
    EXPECT_EQ(painter.pen().color(), QColor(Qt::red));
    EXPECT_EQ(painter.pen().width(), 5);
}

} // namespace
} // namespace morvik
