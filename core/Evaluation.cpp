#include "Evaluation.h"

#include "ConversionTable.h"
#include "Vocabulary.h"
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <utility>

namespace morvik {

namespace {

constexpr double kFourDecimals = 1e4;
constexpr float kIndexScale = 10.0f; // tenths of a millimetre

std::int64_t powerOfTen(int n) {
    std::int64_t p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

inline void compareExchange(float* v, int i, int j) {
    const float a = v[i];
    const float b = v[j];
    v[i] = a < b ? b : a;
    v[j] = a < b ? a : b;
}

// Batcher's odd-even merge sort network for 16 places (63 comparators); each pair puts
// the deeper value first.
constexpr std::uint8_t kSortNetwork[][2] = {
    {0, 1},   {2, 3},   {4, 5}, {6, 7},   {8, 9},   {10, 11}, {12, 13}, {14, 15}, {0, 2},
    {1, 3},   {4, 6},   {5, 7}, {8, 10},  {9, 11},  {12, 14}, {13, 15}, {1, 2},   {5, 6},
    {9, 10},  {13, 14}, {0, 4}, {1, 5},   {2, 6},   {3, 7},   {8, 12},  {9, 13},  {10, 14},
    {11, 15}, {2, 4},   {3, 5}, {10, 12}, {11, 13}, {1, 2},   {3, 4},   {5, 6},   {9, 10},
    {11, 12}, {13, 14}, {0, 8}, {1, 9},   {2, 10},  {3, 11},  {4, 12},  {5, 13},  {6, 14},
    {7, 15},  {4, 8},   {5, 9}, {6, 10},  {7, 11},  {2, 4},   {3, 5},   {6, 8},   {7, 9},
    {10, 12}, {11, 13}, {1, 2}, {3, 4},   {5, 6},   {7, 8},   {9, 10},  {11, 12}, {13, 14}};

template <std::size_t... I> inline void runNetwork(float* v, std::index_sequence<I...>) {
    (compareExchange(v, kSortNetwork[I][0], kSortNetwork[I][1]), ...);
}

// Largest first. The values must not be NaN.
void sortDeeperFirst(float (&v)[kPointCount]) {
    runNetwork(v, std::make_index_sequence<std::size(kSortNetwork)>{});
}

void setNoResult(ShaJiang_GouJian_Struct& record) {
    record.meanDepth = kMissing;
    record.strength = kMissing;
    record.memberEstimate = kMissing;
}

} // namespace

double roundDigits(double x, int n) {
    const double scaled = x >= 0 ? x * kFourDecimals + 0.5 : x * kFourDecimals - 0.5;
    // Outside the 32-bit range (and for NaN) there is nothing sensible to fix.
    if (!(scaled > static_cast<double>(std::numeric_limits<std::int32_t>::min()) - 1.0 &&
          scaled < static_cast<double>(std::numeric_limits<std::int32_t>::max()) + 1.0))
        return x;
    const std::int64_t X = static_cast<std::int32_t>(scaled);
    const std::int64_t m = powerOfTen(4 - n);
    const std::int64_t h = n >= 4 ? 0 : 5 * powerOfTen(3 - n);
    const std::int64_t q = X / m;
    const std::int64_t rem = X % m;
    std::int64_t adjusted;
    if ((rem < 0 ? -rem : rem) == h) {
        const bool towardsZero = q % 2 == 0;
        if (X >= 0)
            adjusted = towardsZero ? X - h : X + h;
        else
            adjusted = towardsZero ? X + h : X - h;
    } else {
        adjusted = X >= 0 ? X + h : X - h;
    }
    return static_cast<double>(adjusted / m) / static_cast<double>(powerOfTen(n));
}

void evaluateMember(ShaJiang_GouJian_Struct& record, std::uint8_t mortarCode) {
    float depths[kPointCount];
    int n = 0;
    for (int k = 0; k < kPointCount; ++k) {
        if (isPresent(record.unevenness[k]) && isPresent(record.gaugeReading[k]))
            depths[n++] = record.depth[k];
    }
    // A depth that is not a number can only come from a damaged file; it has no place
    // in the order and yields no result.
    for (int k = 0; k < n; ++k) {
        if (std::isnan(depths[k])) {
            setNoResult(record);
            return;
        }
    }
    if (n < kMinUsablePoints) {
        setNoResult(record);
        return;
    }
    // Pad the free places with -inf, which sorts last, and sort all 16 with a fixed
    // network: the order of comparisons does not depend on the data, so random
    // readings cost no mispredicted branches.
    for (int k = n; k < kPointCount; ++k)
        depths[k] = -std::numeric_limits<float>::infinity();
    sortDeeperFirst(depths);

    float sum = 0.0f;
    for (int k = kTrimmedEachEnd; k <= n - kTrimmedEachEnd - 1; ++k)
        sum += depths[k];
    const int kept = n - 2 * kTrimmedEachEnd;

    record.meanDepth = static_cast<float>(roundDigits(static_cast<double>(sum) / kept, 2));

    const float scaledMean = sum * kIndexScale / static_cast<float>(kept);
    bool noTable = false;
    std::optional<double> strength;
    // A corrupt depth can push the mean beyond any integer; it lies in no table row.
    if (std::fabs(scaledMean) < 1e6f) {
        const int depthIndex = static_cast<int>(scaledMean);
        strength = convertDepth(mortarCode, depthIndex, record.meanDepth, &noTable);
    } else {
        convertDepth(mortarCode, 0, record.meanDepth, &noTable);
    }
    if (noTable)
        return; // a kind without a table leaves the strength results as they were
    if (!strength) {
        record.strength = kMissing;
        record.memberEstimate = kMissing;
        return;
    }
    record.strength = static_cast<float>(*strength);
    record.memberEstimate =
        mortarKind(mortarCode) == kKindMasonry
            ? static_cast<float>(static_cast<double>(record.strength) * kMasonryEstimateFactor)
            : record.strength;
}

} // namespace morvik
