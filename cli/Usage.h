#pragma once
// The usage text, built in one place from the command list.

#include <ostream>
#include <string>

namespace morvik::cli {

std::string usageText();

// Writes "morvik-cli: <problem>" and the usage to `err`; returns kExitUsage.
int usageError(std::ostream& err, const std::string& problem);

// Writes "morvik-cli: <problem>" as one line to `err`; returns kExitFileError.
int fileError(std::ostream& err, const std::string& problem);

} // namespace morvik::cli
