#include "Command.h"

namespace morvik::cli {

const std::vector<Command>& commands() {
    static const std::vector<Command> list = {
        {"show", "FILE", "print the data set of FILE as JSON", runShow},
        {"batch", "FILE --rows N[,N...]",
         "evaluate the members at rows N (1-based) of FILE as a batch, as JSON", runBatch},
#ifdef MORVIK_CLI_PDF
        {"pdf", "FILE -o OUT.pdf [--rows N[,N...]] [--batch] [--settings PATH] [--dpi N]",
         "write the record sheets of rows N (default 1) of FILE as A4 pages to OUT.pdf", runPdf},
        {"summary", "FILE -o OUT.pdf [--rows N[,N...]] [--settings PATH] [--dpi N]",
         "write the batch summary sheet of rows N (default all) of FILE to OUT.pdf", runSummary},
#endif
#ifdef MORVIK_CLI_PRINT
        {"print",
         "FILE [--rows N[,N...]] [--printer NAME] [--copies N] [--summary] [--settings PATH]",
         "print the record sheets of rows N (default 1), or the batch summary sheet, of FILE",
         runPrint},
        {"printers", "", "list the printers, the default one marked", runPrinters},
#endif
        {"export", "FILE --format csv|xlsx -o OUT [--rows N[,N...]] [--batch]",
         "write the members (or rows N) of FILE with their results as a spreadsheet", runExport},
        {"make", "OUT.stl [--from DATA.json]",
         "make a data file from the JSON that show prints (standard input without --from)",
         runMake},
    };
    return list;
}

} // namespace morvik::cli
