// morvik-cli make OUT.stl [--from DATA.json]: a data file from the JSON that show prints,
// for laboratory systems that hold the readings. The results in the JSON are ignored:
// every member is evaluated as opening the file would evaluate it.

#include "Arguments.h"
#include "Command.h"
#include "DataSetJson.h"
#include "Usage.h"
#include "io/DataFile.h"
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace morvik::cli {

namespace {

constexpr const char* kFromOption = "--from";

// Everything `in` holds, or nothing when reading fails (a folder given as the file throws
// from inside the stream).
std::optional<std::string> readAll(std::istream& in, std::size_t expected = 0) {
    constexpr std::size_t kChunk = std::size_t{1} << 20;
    try {
        std::string text;
        if (expected > 0) {
            text.resize(expected);
            in.read(text.data(), static_cast<std::streamsize>(expected));
            text.resize(static_cast<std::size_t>(in.gcount()));
        }
        while (in) {
            const std::size_t used = text.size();
            text.resize(used + kChunk);
            in.read(text.data() + used, static_cast<std::streamsize>(kChunk));
            text.resize(used + static_cast<std::size_t>(in.gcount()));
        }
        if (in.bad())
            return std::nullopt;
        return text;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace

int runMake(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments parsed;
    if (const auto done = parseCommandLine("make", args, {kFromOption}, parsed, out, err))
        return *done;
    const std::string& target = parsed.positional[0];

    std::optional<std::string> text;
    const auto from = parsed.options.find(kFromOption);
    if (from != parsed.options.end()) {
        std::ifstream in(from->second, std::ios::binary);
        if (!in)
            return fileError(err, "cannot open " + from->second);
        // A regular file is read in one piece; its size is known.
        std::error_code ec;
        if (std::filesystem::is_regular_file(from->second, ec))
            text = readAll(in, std::filesystem::file_size(from->second, ec));
        else
            text = readAll(in);
        if (!text)
            return fileError(err, "cannot read " + from->second);
    } else {
        text = readAll(std::cin);
        if (!text)
            return fileError(err, "cannot read standard input");
    }

    DataSet data;
    if (const auto problem = dataSetFromJson(*text, data))
        return fileError(err, *problem);
    switch (writeDataFile(target, data)) {
    case WriteResult::Written:
        return kExitOk;
    case WriteResult::OpenFailed:
    case WriteResult::WriteFailed:
        break;
    }
    return fileError(err, "cannot write " + target);
}

} // namespace morvik::cli
