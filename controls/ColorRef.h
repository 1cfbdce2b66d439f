#pragma once
// Colours of the controls are kept as 32-bit values in the order 0x00BBGGRR, the form in
// which the program's colour constants are written; these two helpers cross to QColor.
#include <QColor>
#include <cstdint>

namespace morvik {

using ColorRef = std::uint32_t;

// The system's face colour RGB(213, 222, 242): the dialogs' background, the grid's fixed
// cells, the list's header and a disabled button's face.
inline constexpr ColorRef kFaceColour = 0xF2DED5;

inline QColor colorFromRef(ColorRef c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

inline ColorRef colorRefFrom(const QColor& c) {
    return ColorRef(c.red()) | (ColorRef(c.green()) << 8) | (ColorRef(c.blue()) << 16);
}

} // namespace morvik
