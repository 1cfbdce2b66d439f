#pragma once
// The system's printers as the print scheduler (CUPS) knows them: which there are, which
// one is the default, the paper and printable area of one, and handing it a document.
// Every failure comes back as a sentence saying why, for a message box or a diagnostic;
// the scheduler is asked afresh each time, so a printer that went away is noticed.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvik {

struct PrinterList {
    std::vector<std::string> names; // in the scheduler's order
    std::string defaultName;        // empty when no printer is the default
};

// A printer's default paper in points (1/72 inch): its size, the unprintable margins on
// each side, and the printer's resolution in dots per inch.
struct QueuePaper {
    std::string media; // the paper's name ("iso_a4_210x297mm")
    double width = 0;
    double height = 0;
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    int dotsPerInch = 0;
};

// How the copies of a document of several pages come out.
struct QueueCopies {
    int count = 1;
    bool collate = true; // 1 2 3 1 2 3 rather than 1 1 2 2 3 3
};

// The outcome of a request: a value, or why there is none.
template <typename T> struct QueueAnswer {
    std::optional<T> value;
    std::string failure;
};

// The printers of the scheduler; fails only when it cannot be reached.
QueueAnswer<PrinterList> listPrinters();

// The default paper of printer `name`.
QueueAnswer<QueuePaper> printerPaper(const std::string& name);

// Sends the PDF document `pdf` to printer `name` as one job titled `title`. Nothing when
// the scheduler took the whole job, else why not (no such printer, the printer does not
// accept jobs, the scheduler cannot be reached or went away on the way).
std::optional<std::string> sendPdfJob(const std::string& name, const std::string& title,
                                      std::string_view pdf, const QueueCopies& copies);

} // namespace morvik
