#pragma once
// Member evaluation and the rounding rule that every shown or printed number goes through.

#include "Records.h"
#include <cstdint>

namespace morvik {

constexpr int kMinUsablePoints = 7;
constexpr int kTrimmedEachEnd = 3;
constexpr double kMasonryEstimateFactor = 0.91;

// Fixes x to four decimals (half away from zero), then rounds half to even at n decimals
// (0..4). Defined for |x| below 214748.
double roundDigits(double x, int n);

// Recomputes meanDepth, strength and memberEstimate of `record` from its points under
// `mortarCode`. With 6 or fewer usable points all three are missing; under a kind that
// selects no table, strength and memberEstimate keep what they held.
void evaluateMember(ShaJiang_GouJian_Struct& record, std::uint8_t mortarCode);

} // namespace morvik
