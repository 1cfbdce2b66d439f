#include "Command.h"

namespace morvik::cli {

const std::vector<Command>& commands() {
    static const std::vector<Command> list = {
        {"show", "FILE", "print the data set of FILE as JSON", runShow},
        {"batch", "FILE --rows N[,N...]",
         "evaluate the members at rows N (1-based) of FILE as a batch, as JSON", runBatch},
    };
    return list;
}

} // namespace morvik::cli
