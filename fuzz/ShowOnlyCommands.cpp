// The command table of the show fuzz target: show alone, so the target needs neither the
// spreadsheet writers nor the record sheets of the other subcommands. Only the usage text
// reads it.

#include "cli/Command.h"

namespace morvik::cli {

const std::vector<Command>& commands() {
    static const std::vector<Command> list = {
        {"show", "FILE", "print the data set of FILE as JSON", runShow},
    };
    return list;
}

} // namespace morvik::cli
