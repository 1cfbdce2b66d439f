#pragma once
// Running the real morvik-cli from the tests, and the data sets they share.

#include "io/DataFile.h"
#include "tests/support/RunProgram.h"
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace morvik::test {

using CliResult = ProgramResult;

std::string cliProgram();

// Runs morvik-cli with `args`; `input`, when not empty, is a file for its standard input,
// `environment` holds variables for it alone ({"LC_ALL", "de_DE.UTF-8"}).
CliResult runCliProgram(const std::vector<std::string>& args, const std::string& input = {},
                        const std::vector<std::pair<std::string, std::string>>& environment = {});

// The JSON of `show FILE`; fails the test when show does.
nlohmann::ordered_json showJson(const std::string& file);

// Data sets of the kinds the program makes, their reserved bytes zero as it leaves them:
// several codes, missing points, negative and out-of-table depths, empty and full-length
// texts. Named for the test output.
struct NamedDataSet {
    std::string name;
    DataSet data;
};
std::vector<NamedDataSet> programDataSets();

} // namespace morvik::test
