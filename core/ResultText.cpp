#include "ResultText.h"

#include "Evaluation.h"
#include <cstdio>

namespace morvik {

namespace {

std::string format(const char* pattern, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

} // namespace

std::string depthText(double value) {
    return format("%.2f", roundDigits(value, 2));
}

std::string strengthText(double value) {
    return format("%.1f", roundDigits(value, 1));
}

MemberResultTexts memberResultTexts(const ShaJiang_GouJian_Struct& record) {
    MemberResultTexts texts{kNoValueText, kNoValueText, kNoValueText, kNoValueText, kNoValueText};
    if (!isPresent(record.meanDepth))
        return texts;
    texts.meanDepth = texts.listMeanDepth = depthText(record.meanDepth);
    if (isPresent(record.strength)) {
        texts.strength = strengthText(record.strength);
        texts.memberEstimate = texts.listEstimate = strengthText(record.memberEstimate);
    }
    return texts;
}

std::string listMeanDepthText(const ShaJiang_GouJian_Struct& record) {
    return record.meanDepth > 0 ? format("%.2f", record.meanDepth) : kNoValueText;
}

std::string listEstimateText(const ShaJiang_GouJian_Struct& record) {
    return record.memberEstimate > 0 ? format("%.1f", record.memberEstimate) : kNoValueText;
}

} // namespace morvik
