#pragma once
// File names as the command line gives them, in UTF-8. A path made from a narrow string
// reads it in the ANSI code page on Windows, which holds few of the names people give.

#include <filesystem>
#include <string>

namespace morvik::cli {

inline std::filesystem::path filePath(const std::string& name) {
    return std::filesystem::u8path(name);
}

} // namespace morvik::cli
