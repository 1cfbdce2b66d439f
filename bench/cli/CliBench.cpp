// morvik-cli with 100,000 members: export to CSV and to XLSX; and make from the JSON that
// show prints, for 1,000, 10,000 and 100,000 members. Each run is the whole command
// in-process, reading and writing real files; items per second are members per second.

#include "cli/Command.h"
#include "core/Evaluation.h"
#include "core/GbkText.h"
#include "io/DataFile.h"
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

namespace morvik {
namespace {

constexpr int kMembers = 100000;

struct Scratch {
    std::filesystem::path dir;
    std::string dataFile; // kMembers members

    Scratch() {
        dir = std::filesystem::temp_directory_path() /
              ("morvik-cli-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        dataFile = write("set.stl", kMembers);
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    // The JSON that show prints for `members` members, written once.
    const std::string& jsonFile(int members) {
        std::string& file = jsonFiles[members];
        if (file.empty()) {
            const std::string data = write("json.stl", members);
            file = (dir / ("set-" + std::to_string(members) + ".json")).string();
            std::ofstream json(file, std::ios::binary);
            std::ostringstream err;
            cli::runShow({data}, json, err);
        }
        return file;
    }

private:
    std::string write(const std::string& name, int members) {
        DataSet data;
        textToField("南湖小区3号楼", data.project.projectName);
        textToField("GY-2017-018", data.project.instrumentNumber);
        data.project.testTemperature = 18;
        textToField("2017年5月3日", data.project.constructionDate);
        data.project.mortarCode = 0x01;
        textToField("M7.5", data.project.strengthGrade);
        for (int i = 1; i <= members; ++i) {
            ShaJiang_GouJian_Struct m = newMemberRecord(i);
            for (int k = 0; k < kPointCount; ++k) {
                m.unevenness[k] = 0.05f * static_cast<float>((i + k) % 9);
                m.gaugeReading[k] =
                    m.unevenness[k] + 4.0f + 0.1f * static_cast<float>((i * 7 + k * 3) % 40);
                updatePointDepth(m, k);
            }
            textToField("2017年6月" + std::to_string(1 + i % 28) + "日", m.testDate);
            textToField("第" + std::to_string(i % 30 + 1) + "层墙体", m.remark);
            evaluateMember(m, data.project.mortarCode);
            data.members.push_back(m);
        }
        const std::string file = (dir / name).string();
        writeDataFile(file, data);
        return file;
    }

    std::map<int, std::string> jsonFiles;
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
    Scratch& s = scratch();
    const std::string out = (s.dir / "out.csv").string();
    for (auto _ : state)
        runOrFail(state, cli::runExport, {s.dataFile, "--format", "csv", "-o", out});
    state.SetItemsProcessed(state.iterations() * kMembers);
}
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);

void BM_ExportXlsx(benchmark::State& state) {
    Scratch& s = scratch();
    const std::string out = (s.dir / "out.xlsx").string();
    for (auto _ : state)
        runOrFail(state, cli::runExport, {s.dataFile, "--format", "xlsx", "-o", out});
    state.SetItemsProcessed(state.iterations() * kMembers);
}
BENCHMARK(BM_ExportXlsx)->Unit(benchmark::kMillisecond);

void BM_Make(benchmark::State& state) {
    Scratch& s = scratch();
    const int members = static_cast<int>(state.range(0));
    const std::string& json = s.jsonFile(members);
    const std::string out = (s.dir / "made.stl").string();
    for (auto _ : state)
        runOrFail(state, cli::runMake, {out, "--from", json});
    state.SetItemsProcessed(state.iterations() * members);
}
BENCHMARK(BM_Make)->Arg(1000)->Arg(10000)->Arg(kMembers)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace morvik

BENCHMARK_MAIN();
