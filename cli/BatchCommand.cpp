// morvik-cli batch FILE --rows 1,3,5: the batch evaluation of the ticked rows, as the
// program would show it right after opening FILE and ticking them.

#include "Arguments.h"
#include "Command.h"
#include "JsonValues.h"
#include "LoadDataSet.h"
#include "Usage.h"
#include "core/Batch.h"
#include "core/Vocabulary.h"

namespace morvik::cli {

namespace {

Json outcomeJson(const BatchOutcome& outcome) {
    const BatchResults& v = outcome.values;
    const BatchTexts& t = outcome.texts;
    Json j;
    j["values"] = Json{{"batchMean", resultNumber(v.batchMean)},
                       {"batchStdDev", resultNumber(v.batchStdDev)},
                       {"batchMin", resultNumber(v.batchMin)},
                       {"batchCv", resultNumber(v.batchCv)},
                       {"batchEstimate", resultNumber(v.batchEstimate)}};
    j["shown"] = Json{{"batchMean", t.mean},
                      {"batchStdDev", t.stdDev},
                      {"batchMin", t.min},
                      {"batchCv", t.cv},
                      {"batchEstimate", t.estimate}};
    j["message"] = outcome.message ? Json(outcome.message->text) : Json(nullptr);
    return j;
}

} // namespace

int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments parsed;
    if (const auto done = parseCommandLine("batch", args, {kRowsOption}, parsed, out, err))
        return *done;
    const auto option = parsed.options.find(kRowsOption);
    if (option == parsed.options.end())
        return usageError(err, "batch needs --rows");
    const auto rows = parseRowList(option->second);
    if (!rows)
        return usageError(err, "--rows takes 1-based row numbers separated by commas");

    const auto file = loadDataSetOrReport(parsed.positional[0], err);
    if (!file)
        return kExitFileError;
    const std::vector<ShaJiang_GouJian_Struct>& members = file->data.members;

    std::vector<const ShaJiang_GouJian_Struct*> checked;
    for (int row : *rows) {
        if (static_cast<std::size_t>(row) >= members.size())
            return usageError(err, "row " + std::to_string(row + 1) + " is beyond the " +
                                       std::to_string(members.size()) + " members of the file");
        checked.push_back(&members[static_cast<std::size_t>(row)]);
    }
    // Opening a file in the program shows its project information, which brings the
    // mortar code back into the codes in use; the batch then runs under that code.
    const std::uint8_t code = normaliseMortarCode(file->data.project.mortarCode);
    out << dumpJson(outcomeJson(evaluateBatch(checked, code, kBatchMissing)));
    return kExitOk;
}

} // namespace morvik::cli
