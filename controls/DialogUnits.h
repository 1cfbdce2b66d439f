#pragma once
// Dialog units of the dialog font, so that the dialogs can be laid out from the numbers of
// their templates: one horizontal unit is a quarter of the font's average Latin letter
// width, one vertical unit an eighth of its height, both as 宋体 has them at the font's size.
#include <QFont>
#include <QRect>

namespace morvik {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    // The base units in pixels: the average letter width and the font height.
    int baseX() const { return baseX_; }
    int baseY() const { return baseY_; }

    // Pixels of a horizontal or vertical distance in dialog units, rounded to nearest.
    int x(int du) const { return (du * baseX_ + 2) / 4; }
    int y(int du) const { return (du * baseY_ + 4) / 8; }
    // Each corner of a template rectangle is converted on its own, as the platform maps
    // a dialog rectangle, so neighbouring controls keep their shared edges.
    QRect rect(int x0, int y0, int w, int h) const {
        return QRect(x(x0), y(y0), x(x0 + w) - x(x0), y(y0 + h) - y(y0));
    }

private:
    int baseX_;
    int baseY_;
};

} // namespace morvik
