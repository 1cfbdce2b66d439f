// Reading (with the evaluation of every member) and writing a data file of 100,000
// members. Target: at least a million members a second each way.

#include "core/Evaluation.h"
#include "io/DataFile.h"
#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>

namespace {

using namespace morvik;
namespace fs = std::filesystem;

constexpr int kMembers = 100000;

DataSet largeDataSet() {
    DataSet data;
    data.project.mortarCode = 0x01;
    std::mt19937 random(42);
    std::uniform_real_distribution<float> depth(3.0f, 15.0f);
    data.members.reserve(kMembers);
    for (int i = 1; i <= kMembers; ++i) {
        ShaJiang_GouJian_Struct m = newMemberRecord(i);
        for (int k = 0; k < kPointCount; ++k) {
            m.unevenness[k] = 0.5f;
            m.gaugeReading[k] = 0.5f + depth(random);
            updatePointDepth(m, k);
        }
        evaluateMember(m, data.project.mortarCode);
        data.members.push_back(m);
    }
    return data;
}

// A scratch folder for the benchmark's files, removed at the end.
struct Scratch {
    fs::path dir;
    explicit Scratch(const fs::path& root = fs::temp_directory_path())
        : dir(root / "morvik-io-bench") {
        fs::create_directories(dir);
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

void BM_ReadAndEvaluateFile(benchmark::State& state) {
    Scratch scratch;
    const fs::path file = scratch.dir / "large.stl";
    if (writeDataFile(file, largeDataSet()) != WriteResult::Written) {
        state.SkipWithError("cannot write the file to read");
        return;
    }
    for (auto _ : state) {
        DataSet data;
        if (readDataFile(file, data) != ReadResult::Loaded)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(data.members.data());
    }
    state.SetItemsProcessed(state.iterations() * kMembers);
}
BENCHMARK(BM_ReadAndEvaluateFile)->Unit(benchmark::kMillisecond);

void BM_ReadAndEvaluateImage(benchmark::State& state) {
    const std::vector<std::uint8_t> image = encodeDataFile(largeDataSet());
    for (auto _ : state) {
        DataSet data;
        readDataFileBytes(image.data(), image.size(), data);
        benchmark::DoNotOptimize(data.members.data());
    }
    state.SetItemsProcessed(state.iterations() * kMembers);
}
BENCHMARK(BM_ReadAndEvaluateImage)->Unit(benchmark::kMillisecond);

// The whole save: temporary file, flush to the device, rename over the previous file.
// On a disk the flush waits for the device; in memory (tmpfs) it costs nothing, which
// shows the writer's own share.
void writeFile(benchmark::State& state, const fs::path& root) {
    std::error_code ec;
    if (!fs::is_directory(root, ec)) {
        state.SkipWithError("no such folder");
        return;
    }
    Scratch scratch(root);
    const DataSet data = largeDataSet();
    const fs::path file = scratch.dir / "written.stl";
    for (auto _ : state) {
        if (writeDataFile(file, data) != WriteResult::Written)
            state.SkipWithError("write failed");
    }
    state.SetItemsProcessed(state.iterations() * kMembers);
}
void BM_WriteFileOnDisk(benchmark::State& state) {
    writeFile(state, fs::temp_directory_path());
}
BENCHMARK(BM_WriteFileOnDisk)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteFileInMemory(benchmark::State& state) {
    writeFile(state, "/dev/shm");
}
BENCHMARK(BM_WriteFileInMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
