// Fuzz target: any bytes as the JSON that `morvik-cli make` reads. The reader must refuse
// or accept without reading outside the text, and a data set it accepts must hold only
// what the dialog can: at least one member, readings below 100 in absolute value or
// missing, a temperature the field holds, and each depth following from its readings. Members
// handed on one by one, as make hands them to the file, must be exactly those of the whole set.
// An accepted data set written back as `show` writes it must read again as the same data set.

#include "cli/DataSetFields.h"
#include "cli/DataSetJson.h"
#include "core/ReadingText.h"
#include "core/Records.h"
#include "core/TemperatureText.h"
#include "core/Vocabulary.h"
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

using namespace morvik;

namespace {

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

// The data set's JSON as show writes it, without the texts shown for the results.
std::string written(const DataSet& data) {
    cli::Json json;
    json["project"] = cli::projectJson(data.project);
    json["members"] = cli::Json::array();
    for (const ShaJiang_GouJian_Struct& m : data.members)
        json["members"].push_back(cli::memberJson(m));
    return cli::dumpJson(json);
}

// JSON has one missing value, null, where a record has every value not above -1000.
DataSet withOneMissingValue(DataSet data) {
    for (ShaJiang_GouJian_Struct& m : data.members)
        for (float* values : {m.unevenness, m.gaugeReading})
            for (int k = 0; k < kPointCount; ++k)
                if (!isPresent(values[k]))
                    values[k] = kMissing;
    return data;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    DataSet data;
    const auto refusal = cli::dataSetFromJson(text, data);
    ProjectInfo project{};
    Collected handed;
    if (cli::dataSetFromJson(cli::JsonText(text), project, handed) != refusal)
        std::abort();
    if (refusal)
        return 0;
    if (!same(project, handed.members, data) || data.members.empty())
        std::abort();
    for (const ShaJiang_GouJian_Struct& m : data.members) {
        for (int k = 0; k < kPointCount; ++k) {
            for (const float value : {m.unevenness[k], m.gaugeReading[k]})
                if (value != kMissing && !isReadingInRange(value))
                    std::abort();
            if (!std::isfinite(m.depth[k]))
                std::abort();
            ShaJiang_GouJian_Struct derived = m;
            updatePointDepth(derived, k);
            if (std::memcmp(&derived.depth[k], &m.depth[k], sizeof(float)) != 0)
                std::abort();
        }
    }
    if (!isTemperatureInField(data.project.testTemperature) ||
        !isStandardIndex(data.project.basisIndex))
        std::abort();
    DataSet again;
    if (cli::dataSetFromJson(written(data), again))
        std::abort();
    const DataSet expected = withOneMissingValue(data);
    if (!same(again.project, again.members, expected))
        std::abort();
    return 0;
}
