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

// The text of `in`, a window at a time; a folder given as the file throws from inside the
// stream, and any failure to read is the source's.
JsonReader::Source streamSource(std::istream& in) {
    return [&in](char* into, std::size_t room) -> std::size_t {
        try {
            in.read(into, static_cast<std::streamsize>(room));
        } catch (const std::exception&) {
            throw JsonSourceError("read failed");
        }
        if (in.bad())
            throw JsonSourceError("read failed");
        return static_cast<std::size_t>(in.gcount());
    };
}

} // namespace

int runMake(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments parsed;
    if (const auto done = parseCommandLine("make", args, {kFromOption}, parsed, out, err))
        return *done;
    const std::string& target = parsed.positional[0];

    const auto from = parsed.options.find(kFromOption);
    std::ifstream file;
    std::istream* in = &std::cin;
    std::string source = "standard input";
    std::size_t expectedSize = 0;
    if (from != parsed.options.end()) {
        source = from->second;
        file.open(source, std::ios::binary);
        if (!file)
            return fileError(err, "cannot open " + source);
        in = &file;
        std::error_code ec;
        if (std::filesystem::is_regular_file(source, ec))
            expectedSize = static_cast<std::size_t>(std::filesystem::file_size(source, ec));
    }

    // The members go to the file as they are read: a data set of any size needs about a
    // megabyte, and its pages are never cleared and copied twice. A fault removes what
    // was written; an old file stays as it was.
    std::optional<std::string> problem;
    bool unreadable = false;
    const auto written =
        writeDataFileFrom(target, [&](MemberSink& members) -> std::optional<ProjectInfo> {
            ProjectInfo project{};
            try {
                problem = dataSetFromJson(streamSource(*in), expectedSize, project, members);
            } catch (const JsonSourceError&) {
                unreadable = true;
                return std::nullopt;
            }
            if (problem)
                return std::nullopt;
            return project;
        });
    if (unreadable)
        return fileError(err, "cannot read " + source);
    if (problem)
        return fileError(err, *problem);
    if (written == WriteResult::Written)
        return kExitOk;
    return fileError(err, "cannot write " + target);
}

} // namespace morvik::cli
