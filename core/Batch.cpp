#include "Batch.h"

#include "Evaluation.h"
#include "GbkText.h"
#include "ResultText.h"
#include "Vocabulary.h"
#include <cmath>

namespace morvik {

namespace {

constexpr double kMasonryMinFactor = 1.18;
constexpr double kPlasteringMinFactor = 1.33;

const char* const kTooFewText = "请选中两组以上的数据进行计算。";
const char* const kNoStrengthPrefix = "构件：";
const char* const kNoStrengthSuffix = "无法计算出抗压强度换算值，请检查数据。";
const char* const kCvRefusedText = "砌筑砂浆变异系数大于0.30时无法批处理。";

std::string cvText(double value) {
    return depthText(value);
} // "%.2f", same rule

} // namespace

BatchOutcome resetBatchResults() {
    return BatchOutcome{};
}

BatchOutcome evaluateBatch(const std::vector<const ShaJiang_GouJian_Struct*>& checked,
                           std::uint8_t mortarCode, double previousEstimate) {
    BatchOutcome outcome;
    if (checked.size() < kMinBatchSize) {
        outcome.message = Message{kTooFewText, kCaptionNotice, MessageIcon::Information};
        return outcome;
    }

    std::vector<double> strengths;
    strengths.reserve(checked.size());
    double sum = 0.0;
    double minimum = kBatchMissing;
    for (const ShaJiang_GouJian_Struct* record : checked) {
        const double s = record->strength;
        if (strengths.empty() || minimum > s)
            minimum = s;
        if (!(s >= 0.0)) { // the no-result marker, or not a number
            outcome.message =
                Message{kNoStrengthPrefix + fieldToText(record->memberName) + kNoStrengthSuffix,
                        kCaptionNotice, MessageIcon::Information};
            return outcome;
        }
        strengths.push_back(s);
        sum += s;
    }

    const double count = static_cast<double>(strengths.size());
    BatchResults& v = outcome.values;
    v.batchMean = sum / count;
    v.batchMin = minimum;
    double squares = 0.0;
    for (double s : strengths)
        squares += (v.batchMean - s) * (v.batchMean - s);
    v.batchStdDev = std::sqrt(squares / (count - 1.0));
    v.batchCv = v.batchStdDev / v.batchMean;

    outcome.texts.mean = strengthText(v.batchMean);
    outcome.texts.min = strengthText(v.batchMin);
    outcome.texts.stdDev = strengthText(v.batchStdDev);
    outcome.texts.cv = cvText(v.batchCv);

    const int kind = mortarKind(mortarCode);
    if (v.batchCv > kBatchCvLimit && kind == kKindMasonry) {
        outcome.message = Message{kCvRefusedText, kCaptionNotice, MessageIcon::Warning};
        v.batchEstimate = previousEstimate;
        outcome.texts.estimate = kNoValueText;
        return outcome;
    }

    double a, b;
    if (kind == kKindPlastering) {
        a = v.batchMean;
        b = kPlasteringMinFactor * v.batchMin;
    } else {
        a = kMasonryEstimateFactor * v.batchMean;
        b = kMasonryMinFactor * v.batchMin;
    }
    v.batchEstimate = a > b ? b : a;
    outcome.texts.estimate = strengthText(v.batchEstimate);
    return outcome;
}

} // namespace morvik
