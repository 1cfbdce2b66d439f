#pragma once
// The summary's chart: one bar per member with its converted strength, a value axis in MPa
// with round ticks, and horizontal lines for the batch values and the design strength.

#include "sheet/SummarySheet.h"

namespace morvik {

struct SheetPage;

// A value axis from 0 to `top` in steps of `step` (1, 2 or 5 times a power of ten), its
// tick labels printed with `decimals` digits.
struct ValueAxis {
    double top = 1;
    double step = 1;
    int decimals = 0;
};
// The axis for values up to `largest`: at most about six steps, `top` at least a tenth
// above it so that the highest bar and line stand clear of the plot's top.
ValueAxis valueAxis(double largest);

// Every how many bars a label is printed so that labels `labelExtent` wide stand clear of
// each other on bars `slotWidth` apart: 1 when each fits.
int labelStride(double slotWidth, int labelExtent);

// How far below the chart's top the signature line stands.
int summarySignatureOffset(int h);

// Draws the chart of `job` with its top at `top`, the body font current.
void drawSummaryChart(SheetPage& page, const SummaryJob& job, int top);

} // namespace morvik
