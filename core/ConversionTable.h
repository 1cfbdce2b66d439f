#pragma once
// The strength conversion tables of the standard: one row per 0.1 mm of depth, column 0
// the depth, then one strength column (MPa) per mortar variety; -1.0 where the standard
// gives no value.

#include <cstdint>
#include <optional>

namespace morvik {

constexpr int kMasonryRows = 158;      // 2.9 .. 18.6 mm
constexpr int kPlasteringRows = 161;   // 3.1 .. 19.1 mm
constexpr int kMasonryFirstIndex = 29; // depth index (tenths of a mm) of row 0
constexpr int kPlasteringFirstIndex = 31;

extern const double masonryTable[kMasonryRows][4];
extern const double plasteringTable[kPlasteringRows][3];

// The interpolated strength for a depth index (mean depth in tenths of a mm, truncated)
// and the rounded mean depth, under the table column that `mortarCode` selects. No value
// when the rows or entries needed are missing; `noTable` is set when the code's kind
// selects no table at all (the caller then leaves its results as they were).
std::optional<double> convertDepth(std::uint8_t mortarCode, int depthIndex, float meanDepth,
                                   bool* noTable = nullptr);

} // namespace morvik
