#pragma once
// The fixed word lists of the project information and the mortar code that indexes them.
// All texts are UTF-8.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace morvik {

constexpr int kKindMasonry = 0;    // 砌筑砂浆
constexpr int kKindPlastering = 1; // 水泥抹灰砂浆

// The mortar code holds the kind in its high four bits and the variety in its low four.
constexpr int kMortarVarietyBits = 4;
constexpr std::uint8_t kMortarVarietyMask = 0x0F;

constexpr int mortarKind(std::uint8_t code) {
    return code >> kMortarVarietyBits;
}
constexpr int mortarVariety(std::uint8_t code) {
    return code & kMortarVarietyMask;
}
// The code of a kind and a variety, each 0..15.
constexpr std::uint8_t packMortarCode(int kind, int variety) {
    return static_cast<std::uint8_t>((kind << kMortarVarietyBits) | (variety & kMortarVarietyMask));
}

// The standards list (检测依据), in order.
const std::vector<std::string>& standardsList();
// Whether `index` names an entry of the standards list.
bool isStandardIndex(std::int64_t index);
// The mortar kinds (砂浆种类), in order.
const std::vector<std::string>& kindList();
// The varieties (砂浆品种) of each kind, indexed by kind.
const std::array<std::vector<std::string>, 2>& varietyLists();

// Brings a stored code back into the codes in use: a kind above 1 becomes kind 0 with the
// same variety, then a variety beyond its kind's list becomes variety 0 of that kind.
std::uint8_t normaliseMortarCode(std::uint8_t code);

// Texts of the kind and variety of a code; empty when the code names none.
std::string kindText(std::uint8_t code);
std::string varietyText(std::uint8_t code);

} // namespace morvik
