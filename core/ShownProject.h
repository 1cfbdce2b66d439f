#pragma once
// The project information as the program shows it: the defaults it fills in for what a
// record leaves unset, which the record keeps once it has been shown.

#include "Records.h"
#include <cstdint>
#include <string>

namespace morvik {

// 检测温度 shown, and stored, when the record holds none (0).
constexpr std::int16_t kDefaultTemperature = 25;

// Brings `project` to what the main dialog shows: the mortar code normalised, no
// temperature as kDefaultTemperature, a standard beyond the list as the first one, and an
// empty construction date as `today` (the stored date text, UTF-8). An empty `today`
// leaves the date empty, for output that must not depend on the day it is made.
void applyShownDefaults(ProjectInfo& project, const std::string& today = {});

} // namespace morvik
