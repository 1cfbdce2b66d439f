// morvik-cli pdf FILE -o OUT.pdf [--rows N,...] [--batch] [--settings PATH] [--dpi N]: the
// record sheets of the listed rows as the print preview would show them right after
// opening FILE, one A4 page per row in row order.

#include "Arguments.h"
#include "Command.h"
#include "LoadDataSet.h"
#include "ShownProject.h"
#include "Usage.h"
#include "core/Batch.h"
#include "io/AtomicFile.h"
#include "io/SettingsFile.h"
#include "sheet/SheetPdf.h"
#include <QBuffer>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace morvik::cli {

namespace {

constexpr const char* kSettingsOption = "--settings";
constexpr const char* kDpiOption = "--dpi";
constexpr int kMinDpi = 72;
constexpr int kMaxDpi = 4800;
constexpr std::size_t kMaxDpiDigits = 5; // leading zeros allowed, as before

// Qt's own notices (a missing runtime directory and the like) mean nothing to the scripts
// that read our diagnostics; only its errors are passed on.
void qtErrorsOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "morvik-cli: %s\n", message.toLocal8Bit().constData());
}

// Fonts need a GUI application; without a display it runs on the offscreen platform.
std::unique_ptr<QGuiApplication> ensureGuiApplication() {
    if (QCoreApplication::instance() != nullptr)
        return nullptr;
    qInstallMessageHandler(qtErrorsOnly);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "morvik-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

std::optional<int> parseDpi(const std::string& text) {
    const auto dpi = parseWholeNumber(text, kMaxDpiDigits);
    if (!dpi || *dpi < kMinDpi || *dpi > kMaxDpi)
        return std::nullopt;
    return dpi;
}

} // namespace

int runPdf(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // "--batch" is the one option without a value; take it out before the common parsing.
    std::vector<std::string> rest;
    bool batchFlag = false;
    if (const auto problem = takeFlag(args, kBatchFlag, rest, batchFlag))
        return usageError(err, *problem);
    Arguments parsed;
    if (const auto done =
            parseCommandLine("pdf", rest, {kOutputOption, kRowsOption, kSettingsOption, kDpiOption},
                             parsed, out, err))
        return *done;
    const auto output = parsed.options.find(kOutputOption);
    if (output == parsed.options.end() || output->second.empty())
        return usageError(err, "pdf needs -o OUT.pdf");

    std::vector<int> rows{0};
    if (const auto option = parsed.options.find(kRowsOption); option != parsed.options.end()) {
        const auto listed = parseRowList(option->second);
        if (!listed || listed->empty())
            return usageError(err, "--rows takes 1-based row numbers separated by commas");
        rows = *listed;
    }
    int dpi = kDefaultPdfDpi;
    if (const auto option = parsed.options.find(kDpiOption); option != parsed.options.end()) {
        const auto value = parseDpi(option->second);
        if (!value)
            return usageError(err, "--dpi takes a whole number from " + std::to_string(kMinDpi) +
                                       " to " + std::to_string(kMaxDpi));
        dpi = *value;
    }

    const std::string& input = parsed.positional[0];
    if (sameFile(input, output->second))
        return usageError(err, "the output " + output->second + " is the data file " + input +
                                   " itself");

    PrintSettings settings{}; // without a settings file nothing is printed around the sheet
    if (const auto option = parsed.options.find(kSettingsOption); option != parsed.options.end()) {
        if (sameFile(option->second, output->second))
            return usageError(err, "the output " + output->second + " is the settings file " +
                                       option->second + " itself");
        switch (readSettingsFile(option->second, settings)) {
        case SettingsReadResult::Read:
            break;
        case SettingsReadResult::OpenFailed:
            return fileError(err, "cannot open " + option->second);
        case SettingsReadResult::NotSettings:
            err << "morvik-cli: " << option->second
                << " is not a settings file; ignored, nothing is printed around the sheets\n";
            break;
        }
    }

    auto file = loadDataSetOrReport(input, err);
    if (!file)
        return kExitFileError;
    asShownAfterOpening(file->data.project);

    SheetJob job;
    job.project = &file->data.project;
    job.settings = settings;
    std::vector<const ShaJiang_GouJian_Struct*> checked;
    for (int row : rows) {
        if (static_cast<std::size_t>(row) >= file->data.members.size())
            return usageError(err, "row " + std::to_string(row + 1) + " is beyond the " +
                                       std::to_string(file->data.members.size()) +
                                       " members of the file");
        job.members.push_back(file->data.members[static_cast<std::size_t>(row)]);
        checked.push_back(&file->data.members[static_cast<std::size_t>(row)]);
    }
    if (batchFlag) {
        const BatchOutcome outcome =
            evaluateBatch(checked, file->data.project.mortarCode, kBatchMissing);
        if (outcome.message)
            err << "morvik-cli: " << outcome.message->text << "\n";
        job.batchMode = true;
        job.batch = outcome.values;
    }

    const auto app = ensureGuiApplication();
    // The document is made in memory and stored like a data file: through a temporary
    // file renamed over OUT only when every byte is written, so a failure leaves an old
    // OUT as it was and is never reported as success.
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    const std::string cannotWrite = "cannot write " + output->second;
    if (!writeRecordSheetsPdf(document, job, dpi))
        return fileError(err, cannotWrite);
    const QByteArray& bytes = document.data();
    if (replaceFileContents(output->second,
                            {{bytes.constData(), static_cast<std::size_t>(bytes.size())}}) !=
        ReplaceResult::Replaced)
        return fileError(err, cannotWrite);
    return kExitOk;
}

} // namespace morvik::cli
