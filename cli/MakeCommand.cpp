// morvik-cli make OUT.stl [--from DATA.json]: a data file from the JSON that show prints,
// for laboratory systems that hold the readings. The results in the JSON are ignored:
// every member is evaluated as opening the file would evaluate it.

#include "Arguments.h"
#include "Command.h"
#include "DataSetJson.h"
#include "Usage.h"
#include "io/DataFile.h"
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>

namespace morvik::cli {

namespace {

constexpr const char* kFromOption = "--from";

// Everything `in` holds, or nothing when reading fails (a folder given as the file throws
// from inside the stream).
std::optional<std::string> readAll(std::istream& in) {
    try {
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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
