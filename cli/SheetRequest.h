#pragma once
// What the subcommands that draw sheets (pdf, summary) share: their options, the data file
// and settings they read, the GUI application fonts need, and storing the document.

#include "LoadDataSet.h"
#include "core/Records.h"
#include <QByteArray>
#include <QGuiApplication>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace morvik::cli {

struct SheetRequest {
    std::string output;
    std::optional<std::vector<int>> rows; // 0-based; nothing when --rows is absent
    PrintSettings settings{};             // nothing printed around the sheet without --settings
    int dpi = 0;
    LoadedFile file; // project as shown right after opening
};

// Parses FILE -o OUT [--rows ...] [--settings PATH] [--dpi N] for subcommand `name`, reads
// the settings and the data file. Returns the exit status when the command ends here
// (help, a usage error, a file that cannot be read), nothing to go on.
std::optional<int> readSheetRequest(const char* name, const std::vector<std::string>& args,
                                    std::ostream& out, std::ostream& err, SheetRequest& request);

// Reads the settings file at `path` into `settings`: the exit status when it cannot be
// opened, nothing to go on (a file that holds no settings is said and ignored).
std::optional<int> readSettingsOption(const std::string& path, PrintSettings& settings,
                                      std::ostream& err);

// The rows the request lists, or every row of its data set when it lists none (0-based).
std::vector<int> listedRowsOrAll(const SheetRequest& request);

// The members at `rows` of the data set, in that order, or the usage error for a row
// beyond them (then `status` holds the exit status).
std::optional<std::vector<ShaJiang_GouJian_Struct>> membersAtRows(const SheetRequest& request,
                                                                  const std::vector<int>& rows,
                                                                  std::ostream& err, int& status);

// Fonts need a GUI application; without a display it runs on the offscreen platform.
// Nothing when one exists already.
std::unique_ptr<QGuiApplication> ensureGuiApplication();

// Stores `document` as OUT like a data file: through a temporary file renamed over OUT
// only when every byte is written, so a failure leaves an old OUT as it was and is never
// reported as success. `written` false means the document could not be made.
int storeDocument(bool written, const QByteArray& document, const std::string& output,
                  std::ostream& err);

} // namespace morvik::cli
