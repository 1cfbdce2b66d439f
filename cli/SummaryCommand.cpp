// morvik-cli summary FILE -o OUT.pdf [--rows N,...] [--settings PATH] [--dpi N]: the batch
// summary sheet of the listed rows (every member when none is listed), the batch evaluated
// over them as the dialog evaluates its ticked rows.

#include "Command.h"
#include "SheetRequest.h"
#include "sheet/SheetPdf.h"
#include <QBuffer>

namespace morvik::cli {

int runSummary(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SheetRequest request;
    if (const auto done = readSheetRequest("summary", args, out, err, request))
        return *done;
    int status = kExitOk;
    auto members = membersAtRows(request, listedRowsOrAll(request), err, status);
    if (!members)
        return status;

    const SummaryJob job =
        summaryJob(request.file.data.project, std::move(*members), request.settings, kBatchMissing);
    if (job.batch.message)
        err << "morvik-cli: " << job.batch.message->text << "\n";
    const auto app = ensureGuiApplication();
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    const bool written = writeSummaryPdf(document, job, request.dpi);
    return storeDocument(written, document.data(), request.output, err);
}

} // namespace morvik::cli
