// morvik-cli make OUT.stl [--from DATA.json]: a data file from the JSON that show prints,
// for laboratory systems that hold the readings. The results in the JSON are ignored:
// every member is evaluated as opening the file would evaluate it.

#include "Arguments.h"
#include "Command.h"
#include "DataSetJson.h"
#include "InputBytes.h"
#include "Usage.h"
#include "io/DataFile.h"
#include <iostream>

namespace morvik::cli {

namespace {

constexpr const char* kFromOption = "--from";

} // namespace

int runMake(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments parsed;
    if (const auto done = parseCommandLine("make", args, {kFromOption}, parsed, out, err))
        return *done;
    const std::string& target = parsed.positional[0];

    std::optional<InputBytes> text;
    const auto from = parsed.options.find(kFromOption);
    if (from != parsed.options.end()) {
        bool opened = false;
        text = InputBytes::readFile(from->second, opened);
        if (!opened)
            return fileError(err, "cannot open " + from->second);
        if (!text)
            return fileError(err, "cannot read " + from->second);
    } else {
        text = InputBytes::readStream(std::cin);
        if (!text)
            return fileError(err, "cannot read standard input");
    }

    DataSet data;
    if (const auto problem = dataSetFromJson(text->view(), data))
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
