// Fuzz target: any bytes as the data file of `morvik-cli show`, end to end. The bytes go
// to an in-memory file that `show` opens by name, so the reading, the evaluation and the
// streamed JSON are the command's own. The output must be one JSON document that agrees
// with the reader: a member per record read, and every number either null or finite.

#include "cli/Command.h"
#include "cli/JsonValues.h"
#include "core/ResultText.h"
#include "io/DataFile.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

using namespace morvik;
using morvik::cli::Json;

namespace {

// One in-memory file for the whole run, rewritten for every input.
int dataFile() {
    static const int fd = memfd_create("show-fuzz.stl", 0);
    if (fd < 0) {
        std::perror("memfd_create");
        std::abort();
    }
    return fd;
}

void writeInput(const std::uint8_t* bytes, std::size_t size) {
    const int fd = dataFile();
    if (ftruncate(fd, 0) != 0)
        std::abort();
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = pwrite(fd, bytes + done, size - done, static_cast<off_t>(done));
        if (n <= 0)
            std::abort();
        done += static_cast<std::size_t>(n);
    }
}

// A JSON number of the output: null for no value, else a finite number.
void checkNumber(const Json& value) {
    if (value.is_null())
        return;
    if (!value.is_number() || !std::isfinite(value.get<double>()))
        std::abort();
}

// A shown text: "--", or a plain decimal number.
void checkShownText(const Json& value) {
    if (!value.is_string())
        std::abort();
    const std::string text = value.get<std::string>();
    if (text == kNoValueText)
        return;
    if (text.empty() || text.find_first_not_of("-0123456789.") != std::string::npos)
        std::abort();
}

void checkPoints(const Json& list) {
    if (!list.is_array() || list.size() != static_cast<std::size_t>(kPointCount))
        std::abort();
    for (const Json& v : list)
        checkNumber(v);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    writeInput(bytes, size);
    const std::string path = "/proc/self/fd/" + std::to_string(dataFile());

    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::runShow({path}, out, err);

    DataSet direct;
    DataFileLayout layout = DataFileLayout::Record;
    const ReadResult read = readDataFileBytes(bytes, size, direct, &layout);

    if (read != ReadResult::Loaded) {
        // A refused file: the exit status says so, one line on stderr, nothing on stdout.
        if (status != cli::kExitFileError || !out.str().empty() || err.str().empty())
            std::abort();
        return 0;
    }
    if (status != cli::kExitOk || !err.str().empty())
        std::abort();

    const Json doc = Json::parse(out.str()); // throws, and so fails, on a broken document
    if (doc.at("layout") != (layout == DataFileLayout::Record ? "record" : "legacy"))
        std::abort();
    const Json& members = doc.at("members");
    if (!members.is_array() || members.size() != direct.members.size())
        std::abort();
    for (const Json& m : members) {
        checkPoints(m.at("unevenness"));
        checkPoints(m.at("gaugeReading"));
        checkPoints(m.at("depth"));
        checkNumber(m.at("meanDepth"));
        checkNumber(m.at("strength"));
        checkNumber(m.at("memberEstimate"));
        const Json& shown = m.at("shown");
        checkShownText(shown.at("meanDepth"));
        checkShownText(shown.at("strength"));
        checkShownText(shown.at("memberEstimate"));
        // What has no value never shows a number.
        if ((m.at("meanDepth").is_null() && shown.at("meanDepth") != kNoValueText) ||
            (m.at("strength").is_null() && shown.at("strength") != kNoValueText) ||
            (m.at("memberEstimate").is_null() && shown.at("memberEstimate") != kNoValueText)) {
            std::fprintf(stderr, "%s\n", m.dump().c_str());
            std::abort();
        }
    }
    return 0;
}
