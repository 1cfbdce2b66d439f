#include "Evaluation.h"

#include "ConversionTable.h"
#include "Vocabulary.h"
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

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

// Descending order that keeps NaN (a corrupt depth from a file) at the end, so the sort
// always sees a strict weak ordering.
bool deeperFirst(float a, float b) {
    if (std::isnan(a))
        return false;
    return std::isnan(b) || a > b;
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
    if (n < kMinUsablePoints) {
        setNoResult(record);
        return;
    }
    std::sort(depths, depths + n, deeperFirst);

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
