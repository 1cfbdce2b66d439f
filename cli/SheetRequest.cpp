#include "SheetRequest.h"

#include "Arguments.h"
#include "Command.h"
#include "FilePath.h"
#include "Usage.h"
#include "core/ShownProject.h"
#include "io/AtomicFile.h"
#include "io/SettingsFile.h"
#include "sheet/PainterCanvas.h"
#include "sheet/SheetPdf.h"
#include <cstdio>
#include <numeric>

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

std::optional<int> parseDpi(const std::string& text) {
    const auto dpi = parseWholeNumber(text, kMaxDpiDigits);
    if (!dpi || *dpi < kMinDpi || *dpi > kMaxDpi)
        return std::nullopt;
    return dpi;
}

} // namespace

std::unique_ptr<QGuiApplication> ensureGuiApplication() {
    if (QCoreApplication::instance() != nullptr)
        return nullptr;
    qInstallMessageHandler(qtErrorsOnly);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "morvik-cli";
    static char* argv[] = {name, nullptr};
    auto app = std::make_unique<QGuiApplication>(argc, argv);
    PainterCanvas::addPackagedSongFonts(QCoreApplication::applicationDirPath());
    return app;
}

std::vector<int> listedRowsOrAll(const SheetRequest& request) {
    if (request.rows)
        return *request.rows;
    std::vector<int> rows(request.file.data.members.size());
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
}

std::optional<int> readSettingsOption(const std::string& path, PrintSettings& settings,
                                      std::ostream& err) {
    switch (readSettingsFile(filePath(path), settings)) {
    case SettingsReadResult::Read:
        break;
    case SettingsReadResult::OpenFailed:
        return fileError(err, "cannot open " + path);
    case SettingsReadResult::NotSettings:
        err << "morvik-cli: " << path
            << " is not a settings file; ignored, nothing is printed around the sheets\n";
        break;
    }
    return std::nullopt;
}

std::optional<int> readSheetRequest(const char* name, const std::vector<std::string>& args,
                                    std::ostream& out, std::ostream& err, SheetRequest& request) {
    Arguments parsed;
    if (const auto done =
            parseCommandLine(name, args, {kOutputOption, kRowsOption, kSettingsOption, kDpiOption},
                             parsed, out, err))
        return done;
    const auto output = parsed.options.find(kOutputOption);
    if (output == parsed.options.end() || output->second.empty())
        return usageError(err, std::string(name) + " needs -o OUT.pdf");
    request.output = output->second;

    if (const auto option = parsed.options.find(kRowsOption); option != parsed.options.end()) {
        const auto listed = parseRowList(option->second);
        if (!listed || listed->empty())
            return usageError(err, "--rows takes 1-based row numbers separated by commas");
        request.rows = *listed;
    }
    request.dpi = kDefaultPdfDpi;
    if (const auto option = parsed.options.find(kDpiOption); option != parsed.options.end()) {
        const auto value = parseDpi(option->second);
        if (!value)
            return usageError(err, "--dpi takes a whole number from " + std::to_string(kMinDpi) +
                                       " to " + std::to_string(kMaxDpi));
        request.dpi = *value;
    }

    const std::string& input = parsed.positional[0];
    if (sameFile(input, request.output))
        return usageError(err, "the output " + request.output + " is the data file " + input +
                                   " itself");

    if (const auto option = parsed.options.find(kSettingsOption); option != parsed.options.end()) {
        if (sameFile(option->second, request.output))
            return usageError(err, "the output " + request.output + " is the settings file " +
                                       option->second + " itself");
        if (const auto failed = readSettingsOption(option->second, request.settings, err))
            return *failed;
    }

    auto file = loadDataSetOrReport(input, err);
    if (!file)
        return kExitFileError;
    request.file = std::move(*file);
    applyShownDefaults(request.file.data.project);
    return std::nullopt;
}

std::optional<std::vector<ShaJiang_GouJian_Struct>> membersAtRows(const SheetRequest& request,
                                                                  const std::vector<int>& rows,
                                                                  std::ostream& err, int& status) {
    const auto& members = request.file.data.members;
    std::vector<ShaJiang_GouJian_Struct> chosen;
    chosen.reserve(rows.size());
    for (int row : rows) {
        if (static_cast<std::size_t>(row) >= members.size()) {
            status = usageError(err, "row " + std::to_string(row + 1) + " is beyond the " +
                                         std::to_string(members.size()) + " members of the file");
            return std::nullopt;
        }
        chosen.push_back(members[static_cast<std::size_t>(row)]);
    }
    return chosen;
}

int storeDocument(bool written, const QByteArray& document, const std::string& output,
                  std::ostream& err) {
    const std::string cannotWrite = "cannot write " + output;
    if (!written)
        return fileError(err, cannotWrite);
    if (replaceFileContents(filePath(output),
                            {{document.constData(), static_cast<std::size_t>(document.size())}}) !=
        ReplaceResult::Replaced)
        return fileError(err, cannotWrite);
    return kExitOk;
}

} // namespace morvik::cli
