// Fuzz target: any bytes as the JSON that `morvik-cli make` reads. The reader must refuse
// or accept without reading outside the text, and a data set it accepts must hold only
// what a data file can: at least one member and finite readings within a float's range.
// Read from a source in small pieces, as make reads a file, the bytes must give exactly
// the same data set or the same refusal, whether the members are kept or handed on one
// by one as make hands them to the file.
// The same bytes are also read as a lone number, whose value must be exactly what
// from_chars makes of its text: the reader converts short numbers on its own.

#include "cli/DataSetJson.h"
#include "cli/JsonReader.h"
#include "core/Records.h"
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

using namespace morvik;

namespace {

// The text in pieces of a few bytes, their sizes taken from the text itself.
cli::JsonReader::Source pieces(std::string_view text) {
    auto at = std::make_shared<std::size_t>(0);
    return [text, at](char* into, std::size_t room) {
        const std::size_t step = 1 + (*at < text.size() ? text[*at] & 7 : 0);
        const std::size_t n = std::min({step, room, text.size() - *at});
        std::memcpy(into, text.data() + *at, n);
        *at += n;
        return n;
    };
}

struct Collected : MemberSink {
    std::vector<ShaJiang_GouJian_Struct> members;
    void add(const ShaJiang_GouJian_Struct& member) override { members.push_back(member); }
};

bool same(const ProjectInfo& project, const std::vector<ShaJiang_GouJian_Struct>& members,
          const DataSet& data) {
    return members.size() == data.members.size() &&
           std::memcmp(members.data(), data.members.data(),
                       data.members.size() * sizeof data.members[0]) == 0 &&
           std::memcmp(&project, &data.project, sizeof data.project) == 0;
}

void checkDataSet(std::string_view text) {
    DataSet data;
    const auto refusal = cli::dataSetFromJson(text, data);
    DataSet streamed;
    if (cli::dataSetFromJson(pieces(text), text.size(), streamed) != refusal)
        std::abort();
    ProjectInfo project{};
    Collected handed;
    if (cli::dataSetFromJson(pieces(text), text.size(), project, handed) != refusal)
        std::abort();
    if (refusal)
        return;
    if (!same(streamed.project, streamed.members, data) || !same(project, handed.members, data))
        std::abort();
    if (data.members.empty())
        std::abort();
    for (const ShaJiang_GouJian_Struct& m : data.members)
        for (int k = 0; k < kPointCount; ++k)
            for (const float value : {m.unevenness[k], m.gaugeReading[k], m.depth[k]})
                if (!std::isfinite(value))
                    std::abort();
}

void checkNumber(std::string_view text) {
    cli::JsonReader reader(text);
    cli::JsonReader::Number number{};
    try {
        if (reader.next() != cli::JsonReader::Kind::Number)
            return;
        number = reader.number();
    } catch (const cli::JsonSyntaxError&) {
        return;
    }
    double expected = 0.0;
    const auto [end, error] =
        std::from_chars(number.text.data(), number.text.data() + number.text.size(), expected);
    if (error != std::errc()) {
        if (!std::isnan(number.value))
            std::abort();
        return;
    }
    if (end != number.text.data() + number.text.size() ||
        std::memcmp(&expected, &number.value, sizeof expected) != 0)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    checkDataSet(text);
    checkNumber(text);
    return 0;
}
