#include "Command.h"

namespace morvik::cli {

const std::vector<Command>& commands() {
    static const std::vector<Command> list = {
        {"show", "FILE", "print the data set of FILE as JSON", runShow},
        {"batch", "FILE --rows N[,N...]",
         "evaluate the members at rows N (1-based) of FILE as a batch, as JSON", runBatch},
        {"pdf", "FILE -o OUT.pdf [--rows N[,N...]] [--batch] [--settings PATH] [--dpi N]",
         "write the record sheets of rows N (default 1) of FILE as A4 pages to OUT.pdf", runPdf},
    };
    return list;
}

} // namespace morvik::cli
