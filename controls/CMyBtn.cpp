#include "controls/CMyBtn.h"

#include "controls/ListCellPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

namespace morvik {

namespace {

constexpr qreal kCornerRadius = kMyBtnCornerEllipse / 2.0;
constexpr int kFocusInset = 3; // the focus frame, clear of the rounded outline

// A rounded rectangle whose 1-pixel outline covers the outermost pixels of `r`, as the
// platform's rounded rectangle does, filled with `fill` inside.
void roundedFrame(QPainter& p, const QRect& r, ColorRef pen, ColorRef fill) {
    p.setPen(QPen(colorFromRef(pen), 0));
    p.setBrush(colorFromRef(fill));
    p.drawRoundedRect(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1), kCornerRadius,
                      kCornerRadius);
}

void drawCaption(QPainter& p, const QRect& rect, const QString& caption, ColorRef colour) {
    const QRect textRect = myBtnCaptionRect(p.fontMetrics(), rect, caption);
    p.setPen(colorFromRef(colour));
    p.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, caption);
}

} // namespace

QRect myBtnCaptionRect(const QFontMetrics& metrics, const QRect& rect, const QString& caption) {
    const int needed =
        metrics.boundingRect(rect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, caption)
            .height();
    const int inset = (rect.height() - needed) / 2;
    return rect.adjusted(0, inset, 0, -inset);
}

void drawMyBtnFace(QPainter& painter, const QRect& rect, bool pressed, bool disabled,
                   const QString& caption, const MyBtnColours& colours) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);
    const QString text = caption.left(kMyBtnMaxCaptionChars);

    QRect face = rect;
    if (pressed) {
        face.adjust(1, 1, -1, -1);
        roundedFrame(painter, face, kMyBtnPressedOuterPen, colours.pressed);
        face.adjust(1, 1, -1, -1);
        roundedFrame(painter, face, kMyBtnPressedInnerPen, colours.pressed);
    } else {
        roundedFrame(painter, face, kMyBtnNormalPen, colours.normal);
    }
    drawCaption(painter, face, text, colours.text);

    if (disabled) {
        // Greyed over whatever colours the owner chose, so every disabled button looks alike.
        roundedFrame(painter, face, kMyBtnDisabledPen, kMyBtnDisabledFace);
        drawCaption(painter, face, text, kMyBtnDisabledText);
    }
    painter.restore();
}

CMyBtn::CMyBtn(QWidget* parent) : QPushButton(parent) {}

CMyBtn::CMyBtn(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void CMyBtn::setTextColour(ColorRef c) {
    colours_.text = c;
    update();
}

void CMyBtn::setPressedColour(ColorRef c) {
    colours_.pressed = c;
    update();
}

void CMyBtn::setNormalColour(ColorRef c) {
    colours_.normal = c;
    update();
}

void CMyBtn::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    drawMyBtnFace(painter, rect(), isDown(), !isEnabled(), text(), colours_);
    // Reached by Tab, the button must show that Space would press it.
    if (hasFocus())
        drawListFocusFrame(painter,
                           rect().adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset),
                           colours_.text);
}

} // namespace morvik
