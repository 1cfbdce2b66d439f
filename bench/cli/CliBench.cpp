// morvik-cli with 100,000 members: export to CSV and to XLSX, and make from the JSON that
// show prints. Each run is the whole command in-process, reading and writing real files;
// items per second are members per second.

#include "cli/Command.h"
#include "core/Evaluation.h"
#include "core/GbkText.h"
#include "io/DataFile.h"
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace morvik {
namespace {

constexpr int kMembers = 100000;

struct Scratch {
    std::filesystem::path dir;
    std::string dataFile;
    std::string jsonFile;

    Scratch() {
        dir = std::filesystem::temp_directory_path() /
              ("morvik-cli-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        DataSet data;
        textToField("南湖小区3号楼", data.project.projectName);
        textToField("GY-2017-018", data.project.instrumentNumber);
        data.project.testTemperature = 18;
        textToField("2017年5月3日", data.project.constructionDate);
        data.project.mortarCode = 0x01;
        textToField("M7.5", data.project.strengthGrade);
        for (int i = 1; i <= kMembers; ++i) {
            ShaJiang_GouJian_Struct m = newMemberRecord(i);
            for (int k = 0; k < kPointCount; ++k) {
                m.unevenness[k] = 0.05f * static_cast<float>((i + k) % 9);
                m.gaugeReading[k] =
                    m.unevenness[k] + 4.0f + 0.1f * static_cast<float>((i * 7 + k * 3) % 40);
                m.depth[k] = m.gaugeReading[k] - m.unevenness[k];
            }
            textToField("2017年6月" + std::to_string(1 + i % 28) + "日", m.testDate);
            textToField("第" + std::to_string(i % 30 + 1) + "层墙体", m.remark);
            evaluateMember(m, data.project.mortarCode);
            data.members.push_back(m);
        }
        dataFile = (dir / "set.stl").string();
        writeDataFile(dataFile, data);
        jsonFile = (dir / "set.json").string();
        std::ofstream json(jsonFile, std::ios::binary);
        std::ostringstream err;
        cli::runShow({dataFile}, json, err);
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

Scratch& scratch() {
    static Scratch s;
    return s;
}

void runOrFail(benchmark::State& state, cli::CommandFunction command,
               const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    if (command(args, out, err) != cli::kExitOk)
        state.SkipWithError(err.str().c_str());
}

void BM_ExportCsv(benchmark::State& state) {
    const Scratch& s = scratch();
    const std::string out = (s.dir / "out.csv").string();
    for (auto _ : state)
        runOrFail(state, cli::runExport, {s.dataFile, "--format", "csv", "-o", out});
    state.SetItemsProcessed(state.iterations() * kMembers);
}
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);

void BM_ExportXlsx(benchmark::State& state) {
    const Scratch& s = scratch();
    const std::string out = (s.dir / "out.xlsx").string();
    for (auto _ : state)
        runOrFail(state, cli::runExport, {s.dataFile, "--format", "xlsx", "-o", out});
    state.SetItemsProcessed(state.iterations() * kMembers);
}
BENCHMARK(BM_ExportXlsx)->Unit(benchmark::kMillisecond);

void BM_Make(benchmark::State& state) {
    const Scratch& s = scratch();
    const std::string out = (s.dir / "made.stl").string();
    for (auto _ : state)
        runOrFail(state, cli::runMake, {out, "--from", s.jsonFile});
    state.SetItemsProcessed(state.iterations() * kMembers);
}
BENCHMARK(BM_Make)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace morvik

BENCHMARK_MAIN();
