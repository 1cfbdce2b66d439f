#pragma once
// The project information as the program shows it right after opening a file.

#include "core/Records.h"
#include <cstdint>

namespace morvik::cli {

// Shown as 25 by the program when the file holds no temperature.
constexpr std::int16_t kShownTemperature = 25;

// Opening a file shows its project information, which normalises the mortar code, shows
// a missing temperature as 25 and a standard beyond the list as the first one.
void asShownAfterOpening(ProjectInfo& project);

} // namespace morvik::cli
