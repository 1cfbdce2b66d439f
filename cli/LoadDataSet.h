#pragma once
// Reading the data file a subcommand works on, or saying in one line why not.

#include "io/DataFile.h"
#include <optional>
#include <ostream>
#include <string>

namespace morvik::cli {

struct LoadedFile {
    DataSet data;
    DataFileLayout layout = DataFileLayout::Record;
};

// The data set of `path`, or nothing after one line on `err` (exit with kExitFileError).
std::optional<LoadedFile> loadDataSetOrReport(const std::string& path, std::ostream& err);

// Whether two paths name one file, through links or other spellings alike.
bool sameFile(const std::string& a, const std::string& b);

} // namespace morvik::cli
