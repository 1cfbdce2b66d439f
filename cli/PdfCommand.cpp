// morvik-cli pdf FILE -o OUT.pdf [--rows N,...] [--batch] [--settings PATH] [--dpi N]: the
// record sheets of the listed rows as the print preview would show them right after
// opening FILE, one A4 page per row in row order.

#include "Arguments.h"
#include "Command.h"
#include "SheetRequest.h"
#include "Usage.h"
#include "core/Batch.h"
#include "sheet/SheetPdf.h"
#include <QBuffer>

namespace morvik::cli {

int runPdf(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // "--batch" is the one option without a value; take it out before the common parsing.
    std::vector<std::string> rest;
    bool batchFlag = false;
    if (const auto problem = takeFlag(args, kBatchFlag, rest, batchFlag))
        return usageError(err, *problem);
    SheetRequest request;
    if (const auto done = readSheetRequest("pdf", rest, out, err, request))
        return *done;

    int status = kExitOk;
    const auto members =
        membersAtRows(request, request.rows.value_or(std::vector<int>{0}), err, status);
    if (!members)
        return status;
    SheetJob job;
    job.project = &request.file.data.project;
    job.settings = request.settings;
    job.members = *members;
    if (batchFlag) {
        std::vector<const ShaJiang_GouJian_Struct*> checked;
        for (const ShaJiang_GouJian_Struct& m : job.members)
            checked.push_back(&m);
        const BatchOutcome outcome = evaluateBatch(checked, job.project->mortarCode, kBatchMissing);
        if (outcome.message)
            err << "morvik-cli: " << outcome.message->text << "\n";
        job.batchMode = true;
        job.batch = outcome.values;
    }

    const auto app = ensureGuiApplication();
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    const bool written = writeRecordSheetsPdf(document, job, request.dpi);
    return storeDocument(written, document.data(), request.output, err);
}

} // namespace morvik::cli
