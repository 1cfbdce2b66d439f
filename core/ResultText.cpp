#include "ResultText.h"

#include "Evaluation.h"
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace morvik {

namespace {

constexpr int kDepthDecimals = 2;
constexpr int kStrengthDecimals = 1;

} // namespace

std::string fixedText(double value, int decimals) {
    // An infinite mean (a corrupt depth of 3e38) or a NaN is no value at all.
    if (!std::isfinite(value))
        return kNoValueText;
    // to_chars writes what "%.*f" writes in the C locale, whatever the process locale is:
    // a desktop with a decimal comma must not turn a signed record's 5.00 into 5,00.
    constexpr int kLongestFixed = std::numeric_limits<double>::max_exponent10 + 1;
    std::array<char, kLongestFixed + 1 + 1 + kMaxFixedDecimals> buffer{};
    if (decimals < 0 || decimals > kMaxFixedDecimals)
        return kNoValueText;
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, decimals);
    if (error != std::errc())
        return kNoValueText;
    return std::string(buffer.data(), end);
}

std::string depthText(double value) {
    return fixedText(roundDigits(value, kDepthDecimals), kDepthDecimals);
}

std::string strengthText(double value) {
    return fixedText(roundDigits(value, kStrengthDecimals), kStrengthDecimals);
}

std::string sheetStdDevText(double value) {
    return depthText(value);
}

MemberListTexts memberListTexts(const ShaJiang_GouJian_Struct& record) {
    MemberListTexts texts{kNoValueText, kNoValueText};
    if (!isPresent(record.meanDepth))
        return texts;
    texts.meanDepth = depthText(record.meanDepth);
    // A kind without a table keeps the file's own results, and a damaged file may hold a
    // strength beside an estimate that is the no-value marker: never show the marker as a
    // number.
    if (isPresent(record.strength) && isPresent(record.memberEstimate))
        texts.estimate = strengthText(record.memberEstimate);
    return texts;
}

MemberResultTexts memberResultTexts(const ShaJiang_GouJian_Struct& record) {
    MemberListTexts list = memberListTexts(record);
    MemberResultTexts texts{list.meanDepth, kNoValueText, list.estimate, list.meanDepth,
                            list.estimate};
    if (isPresent(record.meanDepth) && isPresent(record.strength))
        texts.strength = strengthText(record.strength);
    return texts;
}

std::string listMeanDepthText(const ShaJiang_GouJian_Struct& record) {
    return record.meanDepth > 0 ? fixedText(record.meanDepth, kDepthDecimals) : kNoValueText;
}

std::string listEstimateText(const ShaJiang_GouJian_Struct& record) {
    return record.memberEstimate > 0 ? fixedText(record.memberEstimate, kStrengthDecimals)
                                     : kNoValueText;
}

} // namespace morvik
