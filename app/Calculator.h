#pragma once
// 计算器: starts the platform's calculator on its own; a missing one is not reported.
#include <QStringList>

namespace morvik {

// The calculators tried, in order.
QStringList calculatorCandidates();

// Starts the first calculator found, detached. False when none could be started.
bool runCalculator();

} // namespace morvik
