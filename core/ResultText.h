#pragma once
// The texts under which results appear, so widgets and the record sheet only place them.

#include "Records.h"
#include <string>

namespace morvik {

constexpr const char* kNoValueText = "--";
constexpr int kMaxFixedDecimals = 4; // roundDigits fixes every value to four decimals

// `value` with `decimals` (0..4) digits after a '.', as "%.*f" prints it in the C locale,
// whatever locale the process runs under. A value that is not finite is no value: "--".
std::string fixedText(double value, int decimals);

// "%.2f" / "%.1f" of roundDigits(value, 2 / 1); the plain formatters every shown number
// goes through. "--" for a value that is not finite.
std::string depthText(double value);    // "%.2f" of roundDigits(value, 2)
std::string strengthText(double value); // "%.1f" of roundDigits(value, 1)
// The batch's standard deviation on the printed sheets: two decimals, where the dialog's
// field 1028 shows strengthText.
std::string sheetStdDevText(double value); // "%.2f" of roundDigits(value, 2)

// What one member shows: fields 1021 (mean depth), 1022 (strength), 1035 (estimate) and
// member list columns 2 and 3, "--" where the result is missing or not finite.
struct MemberResultTexts {
    std::string meanDepth;      // field 1021
    std::string strength;       // field 1022
    std::string memberEstimate; // field 1035
    std::string listMeanDepth;  // list column 2
    std::string listEstimate;   // list column 3
};
MemberResultTexts memberResultTexts(const ShaJiang_GouJian_Struct& record);
// Only the two list columns of memberResultTexts, for refreshing rows that are not current.
struct MemberListTexts {
    std::string meanDepth; // list column 2
    std::string estimate;  // list column 3
};
MemberListTexts memberListTexts(const ShaJiang_GouJian_Struct& record);

// The list texts written when the whole list is rebuilt: the stored value as "%.2f"
// (mean depth) or "%.1f" (estimate) when it is greater than 0 and finite, else "--"; no
// rounding.
std::string listMeanDepthText(const ShaJiang_GouJian_Struct& record);
std::string listEstimateText(const ShaJiang_GouJian_Struct& record);

} // namespace morvik
