#pragma once
// The export as an XLSX workbook: the member table on the sheet "构件", the project
// information on "工程信息" and, when asked for, the batch on "批检测". Numbers are numeric
// cells formatted with as many decimals as the program shows ("0.00", "0.0"), so a
// spreadsheet computes with them and shows the same digits.

#include "ExportTable.h"
#include <filesystem>
#include <optional>
#include <string>

namespace morvik::cli {

constexpr const char* kMembersSheet = "构件";
constexpr const char* kProjectSheet = "工程信息";
constexpr const char* kBatchSheet = "批检测";

// Writes the workbook to `target` through a temporary file and the safe save, so a
// failure leaves an old `target` as it was. Returns why it failed, or nothing.
std::optional<std::string> writeXlsx(const ExportContent& content,
                                     const std::filesystem::path& target);

// The column width, in characters of the default font, that shows `text` whole: a
// character of the CJK and other wide ranges counts as two.
double columnWidthFor(const std::string& text);

} // namespace morvik::cli
