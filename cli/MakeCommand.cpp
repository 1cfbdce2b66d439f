// morvik-cli make OUT.stl [--from DATA.json]: a data file from the JSON that show prints,
// for laboratory systems that hold the readings. The depths and results in the JSON are
// ignored: each depth follows from its readings, and every member is evaluated as opening
// the file would evaluate it.

#include "Arguments.h"
#include "Command.h"
#include "DataSetJson.h"
#include "FilePath.h"
#include "Usage.h"
#include "io/DataFile.h"
#include <iostream>

namespace morvik::cli {

namespace {

constexpr const char* kFromOption = "--from";
// Sizes in messages are in megabytes.
constexpr int kMegabyteShift = 20;

} // namespace

int runMake(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments parsed;
    if (const auto done = parseCommandLine("make", args, {kFromOption}, parsed, out, err))
        return *done;
    const std::string& target = parsed.positional[0];

    const auto from = parsed.options.find(kFromOption);
    const std::string source = from != parsed.options.end() ? from->second : "standard input";
    std::optional<JsonText> json;
    try {
        if (from == parsed.options.end())
            json.emplace(JsonText::readStandardInput());
        else
            json.emplace(JsonText::load(source));
    } catch (const JsonUnopenable&) {
        return fileError(err, "cannot open " + source);
    } catch (const JsonTooLarge&) {
        return fileError(err, source + " is larger than the " +
                                  std::to_string(kMaxJsonSize >> kMegabyteShift) +
                                  " MB make reads");
    } catch (const UnreadableJson&) {
        return fileError(err, "cannot read " + source);
    }
    // The members go to the file as they are read, so the data set is never held whole
    // beside its text, and its pages are never cleared and copied twice. A fault removes
    // what was written; an old file stays as it was.
    std::optional<std::string> problem;
    const auto written =
        writeDataFileFrom(filePath(target), [&](MemberSink& members) -> std::optional<ProjectInfo> {
            ProjectInfo project{};
            problem = dataSetFromJson(*json, project, members);
            if (problem)
                return std::nullopt;
            return project;
        });
    if (problem)
        return fileError(err, *problem);
    if (written == WriteResult::Written)
        return kExitOk;
    return fileError(err, "cannot write " + target);
}

} // namespace morvik::cli
