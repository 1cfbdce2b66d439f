#include "LoadDataSet.h"

#include "FilePath.h"
#include "Usage.h"
#include <filesystem>

namespace morvik::cli {

std::optional<LoadedFile> loadDataSetOrReport(const std::string& path, std::ostream& err) {
    LoadedFile file;
    switch (readDataFile(filePath(path), file.data, &file.layout)) {
    case ReadResult::Loaded:
        return file;
    case ReadResult::OpenFailed:
        fileError(err, "cannot open " + path);
        break;
    case ReadResult::UnsupportedVersion:
        fileError(err, path + " has a layout version other than 100");
        break;
    case ReadResult::Refused:
        fileError(err, path + " is refused: its member count does not match its whole records, "
                              "or its members do not fit in memory");
        break;
    case ReadResult::NotADataFile: {
        // Where a 3D model sharing the extension ends, the commonest stranger among .stl files.
        std::error_code ec;
        const bool empty = std::filesystem::file_size(filePath(path), ec) == 0 && !ec;
        fileError(err, path + (empty ? " is empty, not a data file"
                                     : " is not a data file (neither its record layout nor "
                                       "the older text layout)"));
        break;
    }
    }
    return std::nullopt;
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(filePath(a), filePath(b), ec) && !ec;
}

} // namespace morvik::cli
