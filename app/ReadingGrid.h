#pragma once
// The layout of the reading grid: a heading row and a point-number column around the 16
// points' unevenness, gauge reading and depth.
namespace morvik {

class CGridCtrl;

inline constexpr int kReadingGridRows = 17;   // heading + 16 points
inline constexpr int kReadingGridColumns = 4; // number, unevenness, gauge reading, depth
inline constexpr int kReadingNumberColumnWidth = 52;
inline constexpr int kReadingValueColumnWidth = 100;
inline constexpr int kReadingHeadingRowHeight = 40;
inline constexpr int kReadingPointRowHeight = 20;

// Lays the grid out once, with drawing switched off while it works, then redraws it.
void setupReadingGrid(CGridCtrl& grid);
// Another member's readings are on screen: keyboard entry starts again at point 1's first
// reading (at once when the grid has the focus, else on the next Tab into it).
void restartReadingEntry(CGridCtrl& grid);

} // namespace morvik
