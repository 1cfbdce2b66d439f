#include "sheet/SheetCanvas.h"

namespace morvik {

int cellHeightForPoints(int points, int dotsPerInch) {
    constexpr int kPointsPerInch = 72;
    const long long product = static_cast<long long>(points) * dotsPerInch;
    // Halves away from zero, as the system's MulDiv rounds.
    const long long rounded = product >= 0 ? (product + kPointsPerInch / 2) / kPointsPerInch
                                           : (product - kPointsPerInch / 2) / kPointsPerInch;
    return static_cast<int>(rounded);
}

} // namespace morvik
