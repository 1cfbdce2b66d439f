// The owner-drawn button's face: colours and pens of the three looks, the disabled face
// that ignores the owner's colours, and the vertically centred caption block.
#include "controls/CMyBtn.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

using namespace morvik;

namespace {

constexpr ColorRef kCanvas = 0xFFFFFF;
constexpr int kW = 80;
constexpr int kH = 30;

QImage renderFace(bool pressed, bool disabled, const QString& caption,
                  const MyBtnColours& colours = {}, QSize size = {kW, kH}) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(colorFromRef(kCanvas));
    QPainter p(&img);
    drawMyBtnFace(p, img.rect(), pressed, disabled, caption, colours);
    return img;
}

ColorRef at(const QImage& img, int x, int y) {
    return colorRefFrom(img.pixelColor(x, y));
}

int countColour(const QImage& img, ColorRef c) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += at(img, x, y) == c;
    return n;
}

// Rows that hold at least one pixel of colour c: first and last.
std::pair<int, int> inkRows(const QImage& img, ColorRef c) {
    int first = -1, last = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (at(img, x, y) == c) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
    return {first, last};
}

} // namespace

struct FacePixel {
    const char* name;
    bool pressed;
    bool disabled;
    int x, y;
    ColorRef expected;
};

class MyBtnFace : public ::testing::TestWithParam<FacePixel> {};

TEST_P(MyBtnFace, PixelHasTheLooksColour) {
    const FacePixel& c = GetParam();
    // No caption, so only the frame and fill are under test.
    const QImage img = renderFace(c.pressed, c.disabled, QString());
    EXPECT_EQ(at(img, c.x, c.y), c.expected) << c.name << " at " << c.x << "," << c.y;
}

INSTANTIATE_TEST_SUITE_P(
    Looks, MyBtnFace,
    ::testing::Values(
        FacePixel{"normal outline left", false, false, 0, kH / 2, kMyBtnNormalPen},
        FacePixel{"normal outline right", false, false, kW - 1, kH / 2, kMyBtnNormalPen},
        FacePixel{"normal outline bottom", false, false, kW / 2, kH - 1, kMyBtnNormalPen},
        FacePixel{"normal fill", false, false, 1, kH / 2, kMyBtnNormalColour},
        FacePixel{"normal corner is rounded away", false, false, 0, 0, kCanvas},
        FacePixel{"pressed leaves a 1-pixel margin", true, false, 0, kH / 2, kCanvas},
        FacePixel{"pressed outer pen", true, false, 1, kH / 2, kMyBtnPressedOuterPen},
        FacePixel{"pressed inner pen", true, false, 2, kH / 2, kMyBtnPressedInnerPen},
        FacePixel{"pressed inner pen right", true, false, kW - 3, kH / 2, kMyBtnPressedInnerPen},
        FacePixel{"pressed fill", true, false, 3, kH / 2, kMyBtnPressedColour},
        FacePixel{"disabled outline", false, true, 0, kH / 2, kMyBtnDisabledPen},
        FacePixel{"disabled face", false, true, kW / 2, kH / 2, kMyBtnDisabledFace}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    });

TEST(MyBtn, CaptionUsesTheTextColour) {
    const QImage img = renderFace(false, false, QStringLiteral("确定"));
    EXPECT_GT(countColour(img, kMyBtnTextColour), 0);
}

TEST(MyBtn, DisabledShowsGreyTextOnTheFixedFaceWhateverTheOwnersColours) {
    const MyBtnColours own{0x0000FF, 0x00FF00, 0xFF0000};
    const QImage img = renderFace(false, true, QStringLiteral("默认"), own);
    EXPECT_GT(countColour(img, kMyBtnDisabledText), 0);
    EXPECT_EQ(countColour(img, own.text), 0);
    EXPECT_EQ(countColour(img, own.normal), 0);
    EXPECT_EQ(at(img, 2, kH / 2), kMyBtnDisabledFace);
}

TEST(MyBtn, TwoLineCaptionIsCentredVerticallyAsABlock) {
    // A caption that must wrap in a narrow, tall button.
    const QSize size(44, 120);
    const QString caption = QStringLiteral("打印 预览 设置");
    const QImage img = renderFace(false, false, caption, {}, size);
    const auto [top, bottom] = inkRows(img, kMyBtnTextColour);
    ASSERT_GE(top, 0);
    QFont font;
    QFontMetrics fm(font);
    EXPECT_GT(bottom - top, fm.height()) << "the caption should span more than one line";
    const int middle = (top + bottom) / 2;
    EXPECT_NEAR(middle, size.height() / 2, fm.height() / 2);
    // Same room above and below, allowing for the glyphs' own ascent and descent.
    EXPECT_NEAR(top, size.height() - 1 - bottom, fm.descent() + fm.ascent() / 2);
}

TEST(MyBtn, CaptionRectKeepsTheWidthAndSplitsTheSpareHeight) {
    QFont font;
    QFontMetrics fm(font);
    const QRect rect(0, 0, 44, 121);
    const QRect r = myBtnCaptionRect(fm, rect, QStringLiteral("打印 预览 设置"));
    EXPECT_EQ(r.left(), rect.left());
    EXPECT_EQ(r.width(), rect.width());
    EXPECT_EQ(r.top() - rect.top(), rect.bottom() - r.bottom());
    EXPECT_GE(r.height(), 2 * fm.lineSpacing() - fm.leading());
}

TEST(MyBtn, WidgetDrawsPressedAndDisabledLooks) {
    CMyBtn btn(QStringLiteral("确定"));
    btn.resize(kW, kH);
    btn.show();
    EXPECT_EQ(colorRefFrom(btn.grab().toImage().pixelColor(1, kH / 2)), kMyBtnNormalColour);

    QTest::mousePress(&btn, Qt::LeftButton, {}, QPoint(kW / 2, kH / 2));
    ASSERT_TRUE(btn.isDown());
    EXPECT_EQ(colorRefFrom(btn.grab().toImage().pixelColor(1, kH / 2)), kMyBtnPressedOuterPen);
    QTest::mouseRelease(&btn, Qt::LeftButton, {}, QPoint(kW / 2, kH / 2));

    btn.setNormalColour(0x00FF00);
    EXPECT_EQ(colorRefFrom(btn.grab().toImage().pixelColor(1, kH / 2)), ColorRef(0x00FF00));
    btn.setEnabled(false);
    EXPECT_EQ(colorRefFrom(btn.grab().toImage().pixelColor(1, kH / 2)), kMyBtnDisabledFace);
}
