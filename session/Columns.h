#pragma once
// Columns of the reading grid and of the member list, as the session addresses them.

namespace morvik {

// Reading grid: row p is point p (1..16).
constexpr int kUnevennessColumn = 1; // 不平整读数
constexpr int kGaugeColumn = 2;      // 贯入仪读数
constexpr int kDepthColumn = 3;      // 贯入深度, display only

// Member list.
constexpr int kListNumberColumn = 0;    // 序号
constexpr int kListNameColumn = 1;      // 构件编号
constexpr int kListMeanDepthColumn = 2; // 平均值
constexpr int kListEstimateColumn = 3;  // 抗压强度 (the member estimate)

} // namespace morvik
