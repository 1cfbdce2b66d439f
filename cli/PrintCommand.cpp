// morvik-cli print FILE [--rows N,...] [--printer NAME] [--copies N] [--summary]
//                       [--settings PATH]
// morvik-cli printers
// The record sheets of the listed rows (row 1 when none is listed), or with --summary the
// batch summary sheet of the listed rows (every member when none is listed), printed on a
// printer's own paper as the print preview lays them out; and the printers there are.
// Without a printer nothing is printed and nothing is written in its place.

#include "Arguments.h"
#include "Command.h"
#include "SheetRequest.h"
#include "Usage.h"
#include "core/ShownProject.h"
#include "io/SettingsFile.h"
#include "printer/SheetPrinting.h"
#include <filesystem>

namespace morvik::cli {

namespace {

constexpr const char* kPrinterOption = "--printer";
constexpr const char* kCopiesOption = "--copies";
constexpr const char* kSettingsOption = "--settings";
constexpr const char* kSummaryFlag = "--summary";
constexpr int kMaxCopies = 999;
constexpr std::size_t kMaxCopiesDigits = 3;

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

// The printer to print on: the one named, else the default; nothing after a diagnostic.
std::optional<std::string> choosePrinter(const Arguments& parsed, std::ostream& err) {
    if (const auto option = parsed.options.find(kPrinterOption); option != parsed.options.end())
        return option->second;
    const QueueAnswer<PrinterList> printers = listPrinters();
    if (!printers.value) {
        fileError(err, "cannot print on the default printer: " + printers.failure);
        return std::nullopt;
    }
    if (printers.value->defaultName.empty()) {
        fileError(err, printers.value->names.empty()
                           ? "no printer to print on: no printer is set up and none is the default"
                           : "no printer to print on: none is the default printer; name one "
                             "with --printer (morvik-cli printers lists them)");
        return std::nullopt;
    }
    return printers.value->defaultName;
}

} // namespace

int runPrint(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> rest;
    bool summary = false;
    if (const auto problem = takeFlag(args, kSummaryFlag, rest, summary))
        return usageError(err, *problem);
    Arguments parsed;
    if (const auto done = parseCommandLine(
            "print", rest, {kRowsOption, kPrinterOption, kCopiesOption, kSettingsOption}, parsed,
            out, err))
        return *done;

    SheetRequest request;
    if (const auto option = parsed.options.find(kRowsOption); option != parsed.options.end()) {
        const auto listed = parseRowList(option->second);
        if (!listed || listed->empty())
            return usageError(err, "--rows takes 1-based row numbers separated by commas");
        request.rows = *listed;
    }
    QueueCopies copies;
    if (const auto option = parsed.options.find(kCopiesOption); option != parsed.options.end()) {
        const auto count = parseWholeNumber(option->second, kMaxCopiesDigits);
        if (!count || *count < 1)
            return usageError(err, "--copies takes a whole number from 1 to " +
                                       std::to_string(kMaxCopies));
        copies.count = *count;
    }
    if (const auto option = parsed.options.find(kPrinterOption);
        option != parsed.options.end() && option->second.empty())
        return usageError(err, "--printer needs a printer's name (morvik-cli printers lists them)");
    if (const auto option = parsed.options.find(kSettingsOption); option != parsed.options.end()) {
        if (const auto failed = readSettingsOption(option->second, request.settings, err))
            return *failed;
    }
    const std::string& input = parsed.positional[0];
    auto file = loadDataSetOrReport(input, err);
    if (!file)
        return kExitFileError;
    request.file = std::move(*file);
    applyShownDefaults(request.file.data.project);

    // The record sheets of row 1 when none is listed, the summary of every member.
    const std::vector<int> rows =
        summary ? listedRowsOrAll(request) : request.rows.value_or(std::vector<int>{0});
    int status = kExitOk;
    auto members = membersAtRows(request, rows, err, status);
    if (!members)
        return status;

    const auto printer = choosePrinter(parsed, err);
    if (!printer)
        return kExitFileError;
    const std::string cannot = "cannot print on printer " + quoted(*printer) + ": ";
    const QueueAnswer<QueuePaper> paper = printerPaper(*printer);
    if (!paper.value)
        return fileError(err, cannot + paper.failure);

    const auto app = ensureGuiApplication();
    SheetJob sheets;
    sheets.project = &request.file.data.project;
    sheets.settings = request.settings;
    SummaryJob batch;
    if (summary) {
        batch = summaryJob(request.file.data.project, std::move(*members), request.settings,
                           kBatchMissing);
        if (batch.batch.message)
            err << "morvik-cli: " << batch.batch.message->text << "\n";
    } else {
        sheets.members = std::move(*members);
    }
    const SheetDocument document =
        summary ? summarySheetDocument(batch) : recordSheetDocument(sheets);
    const std::string title = std::filesystem::path(input).filename().string();
    if (const auto failure = printSheets(document, pageLayoutOf(*paper.value),
                                         paper.value->dotsPerInch, *printer, title, copies))
        return fileError(err, cannot + *failure);
    out << "sent to printer " << quoted(*printer) << "\n";
    return kExitOk;
}

int runPrinters(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments parsed;
    if (const auto problem = parseArguments(args, {}, parsed))
        return usageError(err, *problem);
    if (parsed.help) {
        out << usageText();
        return kExitOk;
    }
    if (!parsed.positional.empty())
        return usageError(err, "printers takes no FILE");
    const QueueAnswer<PrinterList> printers = listPrinters();
    if (!printers.value)
        return fileError(err, "cannot list the printers: " + printers.failure);
    if (printers.value->names.empty())
        err << "morvik-cli: no printer is set up\n";
    for (const std::string& name : printers.value->names)
        out << name << (name == printers.value->defaultName ? " (default)" : "") << "\n";
    return kExitOk;
}

} // namespace morvik::cli
