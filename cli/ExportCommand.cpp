// morvik-cli export FILE --format csv|xlsx -o OUT [--rows N,...] [--batch]: the members
// of FILE with their readings and results as a spreadsheet, numbers as the program shows
// them right after opening FILE.

#include "Arguments.h"
#include "Command.h"
#include "CsvExport.h"
#include "FilePath.h"
#include "LoadDataSet.h"
#include "Usage.h"
#include "XlsxExport.h"
#include "io/AtomicFile.h"

namespace morvik::cli {

namespace {

constexpr const char* kFormatOption = "--format";
constexpr const char* kCsvFormat = "csv";
constexpr const char* kXlsxFormat = "xlsx";

} // namespace

int runExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> rest;
    bool withBatch = false;
    if (const auto problem = takeFlag(args, kBatchFlag, rest, withBatch))
        return usageError(err, *problem);
    Arguments parsed;
    if (const auto done = parseCommandLine(
            "export", rest, {kFormatOption, kOutputOption, kRowsOption}, parsed, out, err))
        return *done;
    const auto format = parsed.options.find(kFormatOption);
    if (format == parsed.options.end() ||
        (format->second != kCsvFormat && format->second != kXlsxFormat))
        return usageError(err, "export needs --format csv or --format xlsx");
    const auto output = parsed.options.find(kOutputOption);
    if (output == parsed.options.end() || output->second.empty())
        return usageError(err, "export needs -o OUT");
    std::optional<std::vector<int>> rows;
    if (const auto option = parsed.options.find(kRowsOption); option != parsed.options.end()) {
        rows = parseRowList(option->second);
        if (!rows || rows->empty())
            return usageError(err, "--rows takes 1-based row numbers separated by commas");
    }
    const std::string& input = parsed.positional[0];
    if (sameFile(input, output->second))
        return usageError(err, "the output " + output->second + " is the data file " + input +
                                   " itself");

    const auto file = loadDataSetOrReport(input, err);
    if (!file)
        return kExitFileError;
    const std::vector<ShaJiang_GouJian_Struct>& members = file->data.members;

    ExportContent content;
    content.project = file->data.project;
    if (rows) {
        for (int row : *rows) {
            if (static_cast<std::size_t>(row) >= members.size())
                return usageError(err, "row " + std::to_string(row + 1) + " is beyond the " +
                                           std::to_string(members.size()) + " members of the file");
            content.members.emplace_back(row + 1, &members[static_cast<std::size_t>(row)]);
        }
    } else {
        content.members.reserve(members.size());
        for (std::size_t i = 0; i < members.size(); ++i)
            content.members.emplace_back(static_cast<int>(i + 1), &members[i]);
    }
    if (withBatch) {
        std::vector<const ShaJiang_GouJian_Struct*> ticked;
        for (const auto& entry : content.members)
            ticked.push_back(entry.second);
        content.batch = exportBatch(ticked, content.project);
        // As the program shows it before the fields; the export carries it as well.
        if (content.batch->message)
            err << "morvik-cli: " << content.batch->message->text << "\n";
    }

    if (format->second == kXlsxFormat) {
        if (const auto problem = writeXlsx(content, filePath(output->second)))
            return fileError(err, "cannot write " + output->second + ": " + *problem);
        return kExitOk;
    }
    const std::string document = csvDocument(content);
    if (replaceFileContents(filePath(output->second), {{document.data(), document.size()}}) !=
        ReplaceResult::Replaced)
        return fileError(err, "cannot write " + output->second);
    return kExitOk;
}

} // namespace morvik::cli
