#include "CliRunner.h"

#include "../io/TestFiles.h"
#include "core/Evaluation.h"
#include "core/GbkText.h"
#include "tests/support/Portable.h"
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace morvik::test {

std::string cliProgram() {
    if (const char* dir = std::getenv("MORVIK_BIN_DIR"))
        return std::string(dir) + "/morvik-cli" + (kOnWindows ? ".exe" : "");
    return MORVIK_CLI_PATH;
}

CliResult runCliProgram(const std::vector<std::string>& args, const std::string& input,
                        const std::vector<std::pair<std::string, std::string>>& environment) {
    ProgramOptions options;
    options.input = input;
    options.environment = environment;
    CliResult run = runProgram(cliProgram(), args, options);
    run.err = withUnixLineEnds(run.err);
    return run;
}

nlohmann::ordered_json showJson(const std::string& file) {
    const CliResult run = runCliProgram({"show", file});
    EXPECT_EQ(run.status, 0) << run.err;
    return nlohmann::ordered_json::parse(run.out);
}

namespace {

DataSet withoutReserved(DataSet data) {
    for (auto& m : data.members) {
        std::memset(m.reserved1, 0, sizeof m.reserved1);
        std::memset(m.reserved2, 0, sizeof m.reserved2);
    }
    return data;
}

DataSet evaluated(DataSet data) {
    for (auto& m : data.members)
        evaluateMember(m, data.project.mortarCode);
    return data;
}

} // namespace

std::vector<NamedDataSet> programDataSets() {
    std::vector<NamedDataSet> sets;
    sets.push_back({"one member", withoutReserved(sampleDataSet(1))});
    sets.push_back({"twelve members", withoutReserved(sampleDataSet(12))});

    DataSet gaps = withoutReserved(sampleDataSet(4));
    gaps.members[0].unevenness[3] = kMissing; // the depth keeps an old value
    gaps.members[1] = memberWithDepths(2, std::vector<float>(6, 5.0f)); // too few points
    gaps.members[2] = memberWithDepths(3, {-1.25f, 3.5f, 3.5f, 3.5f, 3.5f, 3.5f, 3.5f, 3.5f});
    gaps.members[3] = memberWithDepths(4, std::vector<float>(16, 18.7f)); // beyond the table
    sets.push_back({"missing points and no results", evaluated(gaps)});

    for (const std::uint8_t code : {0x00, 0x02, 0x10, 0x11}) {
        DataSet data = withoutReserved(sampleDataSet(3));
        data.project.mortarCode = code;
        sets.push_back({"code " + std::to_string(code), evaluated(data)});
    }

    DataSet texts = withoutReserved(sampleDataSet(2));
    std::memset(&texts.project, 0, sizeof texts.project); // a project nobody filled in
    textToField(std::string(19 * 2, 'x').substr(0, 39), texts.members[0].memberName);
    textToField(std::string(63, 'a') + std::string("备注，含\"引号\"与逗号,") + "行一\n行二",
                texts.members[0].remark);
    std::string nineteen;
    for (int i = 0; i < 19; ++i)
        nineteen += "墙";
    textToField(nineteen, texts.members[1].memberName); // 38 bytes, the most the edit takes
    textToField("", texts.members[1].testDate);
    sets.push_back({"texts", evaluated(texts)});
    return sets;
}

} // namespace morvik::test
