#pragma once
// Owner-drawn push button with rounded corners and the program's own colours, used for
// the command buttons of the main dialog and the print settings dialog.
//
// The face is drawn by drawMyBtnFace(), a plain function on a QPainter, so tests can render
// it into an image; the widget only supplies its rectangle, state, caption and font.
#include "controls/ColorRef.h"

#include <QPushButton>
#include <QRect>
#include <QString>

class QFontMetrics;
class QPainter;

namespace morvik {

// The colours every owner of the program gives its buttons.
inline constexpr ColorRef kMyBtnTextColour = 0x826239;
inline constexpr ColorRef kMyBtnPressedColour = 0xAFF5C8;
inline constexpr ColorRef kMyBtnNormalColour = 0xF7EEEB;
// Fixed colours of the face.
inline constexpr ColorRef kMyBtnPressedOuterPen = 0x969696;
inline constexpr ColorRef kMyBtnPressedInnerPen = 0xC8C8C8;
inline constexpr ColorRef kMyBtnNormalPen = 0x646464;
inline constexpr ColorRef kMyBtnDisabledFace = kFaceColour;
inline constexpr ColorRef kMyBtnDisabledPen = 0xAFAFAF;
inline constexpr ColorRef kMyBtnDisabledText = 0x7D7D7D;
// Width and height of the ellipse that rounds each corner.
inline constexpr int kMyBtnCornerEllipse = 8;
// Captions longer than this are cut (the caption buffer holds 512 characters with its end).
inline constexpr int kMyBtnMaxCaptionChars = 511;

struct MyBtnColours {
    ColorRef text = kMyBtnTextColour;
    ColorRef pressed = kMyBtnPressedColour;
    ColorRef normal = kMyBtnNormalColour;
};

// The rectangle in which the caption is drawn inside `rect`: the caption is measured
// word-wrapped and centred in the width of `rect`, and `rect` loses half of the spare height
// at the top and at the bottom, so the block of lines sits vertically centred.
QRect myBtnCaptionRect(const QFontMetrics& metrics, const QRect& rect, const QString& caption);

// Draws the whole face of a button into `rect` with the painter's current font.
void drawMyBtnFace(QPainter& painter, const QRect& rect, bool pressed, bool disabled,
                   const QString& caption, const MyBtnColours& colours);

class CMyBtn : public QPushButton {
    Q_OBJECT
public:
    explicit CMyBtn(QWidget* parent = nullptr);
    explicit CMyBtn(const QString& caption, QWidget* parent = nullptr);

    // Colours in 0x00BBGGRR order; they start as the program's standard button colours.
    void setTextColour(ColorRef c);
    void setPressedColour(ColorRef c);
    void setNormalColour(ColorRef c);
    const MyBtnColours& colours() const { return colours_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    MyBtnColours colours_;
};

} // namespace morvik
