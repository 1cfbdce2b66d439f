#include "controls/DialogUnits.h"

#include <QFontMetrics>

namespace morvik {

namespace {
// The letters whose mean width is the horizontal base unit.
const char kAverageWidthSample[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kSampleLetterPairs = 26; // the sample is measured as 26 pairs, then halved
} // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(QString::fromLatin1(kAverageWidthSample));
    baseX_ = (letters / kSampleLetterPairs + 1) / 2;
    baseY_ = metrics.height();
}

} // namespace morvik
