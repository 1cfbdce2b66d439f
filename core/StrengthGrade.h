#pragma once
// What a strength grade (强度等级) says about the design strength of the mortar.

#include <optional>
#include <string>

namespace morvik {

// The design strength in MPa of a grade written as a number, with or without the "M" in
// front ("M7.5", "7.5", "M10", "10"; blanks around it are allowed). Nothing for any other
// text ("7.5级", "", "M", "M-5"), since a guess would draw a line the inspector never
// specified.
std::optional<double> designStrength(const std::string& grade);

} // namespace morvik
