#pragma once
// Batch evaluation over the converted strengths of the ticked members.

#include "Message.h"
#include "Records.h"
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morvik {

constexpr double kBatchMissing = -1600.0;
// Above this coefficient of variation (unrounded) a masonry batch is refused, and no
// record sheet prints a batch estimate.
constexpr double kBatchCvLimit = 0.30;
constexpr std::size_t kMinBatchSize = 2;

struct BatchResults {
    double batchMean = kBatchMissing;
    double batchStdDev = kBatchMissing;
    double batchMin = kBatchMissing;
    double batchCv = kBatchMissing;
    double batchEstimate = kBatchMissing;
};

// Texts of the five batch fields: 平均值 (1027), 标准差 (1028), 最小值 (1029),
// 变异系数 (1030), 推定值 (1031).
struct BatchTexts {
    std::string mean = "--";
    std::string stdDev = "--";
    std::string min = "--";
    std::string cv = "--";
    std::string estimate = "--";
};

struct BatchOutcome {
    BatchResults values;
    BatchTexts texts;
    std::optional<Message> message; // to show before the fields are updated
};

// The state after resetBatchResults: all five values missing, all fields "--".
BatchOutcome resetBatchResults();

// Evaluates the batch of `checked` (the records of the ticked rows, in row order) under
// `mortarCode`. `previousEstimate` is kept when a masonry batch is refused for its
// coefficient of variation.
BatchOutcome evaluateBatch(const std::vector<const ShaJiang_GouJian_Struct*>& checked,
                           std::uint8_t mortarCode, double previousEstimate);

} // namespace morvik
