#include "controls/DialogUnits.h"

#include <QFontInfo>

namespace morvik {

DialogUnits::DialogUnits(const QFont& font) {
    // The dialogs are laid out for 宋体, whose Latin letters are half an em wide and whose
    // cell is one em high, so its average letter width is em / 2 and its height the em.
    // The faces that stand in for it on other systems are wider and have a taller line,
    // which measured directly would stretch every dialog (the reading grid would no longer
    // fill its control), so the base units come from the em of the font as set.
    const int em = QFontInfo(font).pixelSize();
    baseX_ = (em + 1) / 2;
    baseY_ = em;
}

} // namespace morvik
