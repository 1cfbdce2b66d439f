#pragma once
// The usage text, built in one place from the command list.

#include "Arguments.h"
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace morvik::cli {

std::string usageText();

// Writes "morvik-cli: <problem>" and the usage to `err`; returns kExitUsage.
int usageError(std::ostream& err, const std::string& problem);

// The common start of every subcommand: parses `args` (see parseArguments) into `parsed`
// and checks that exactly one FILE is given. Returns the exit status when the command ends
// here (--help printed on `out`, or a usage error on `err`), nothing when it goes on.
std::optional<int> parseCommandLine(const char* command, const std::vector<std::string>& args,
                                    const std::set<std::string>& valued, Arguments& parsed,
                                    std::ostream& out, std::ostream& err);

// Writes "morvik-cli: <problem>" as one line to `err`; returns kExitFileError.
int fileError(std::ostream& err, const std::string& problem);

} // namespace morvik::cli
