#include "sheet/SheetGeometry.h"

namespace morvik {

namespace {
// The sheet keeps a margin of one eleventh of the page at left, right and bottom, and a
// sixteenth at the top, above which the header stands.
constexpr double kSideDivisor = 11.0;
constexpr int kInnerElevenths = 10;
constexpr double kTopFraction = 0.0625;
constexpr int kColumnsPerHalf = 3;
constexpr int kNumberColumnLines = 2; // the point-number column is 2h wide
} // namespace

SheetGeometry sheetGeometry(int width, int height) {
    SheetGeometry g{};
    g.left = static_cast<int>(width / kSideDivisor);
    g.right = static_cast<int>(width * kInnerElevenths / kSideDivisor);
    g.top = static_cast<int>(height * kTopFraction);
    g.bottom = static_cast<int>(height * kInnerElevenths / kSideDivisor);
    g.middle = (g.left + g.right) / 2;
    g.middleExact = (g.left + g.right) * 0.5;
    g.halfWidth = (g.right - g.left) / 2;
    return g;
}

int dataColumnWidth(const SheetGeometry& g, int lineHeight) {
    return static_cast<int>(((g.right - g.left) * 0.5 - kNumberColumnLines * lineHeight) /
                            static_cast<double>(kColumnsPerHalf));
}

} // namespace morvik
