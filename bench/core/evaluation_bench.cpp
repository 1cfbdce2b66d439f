// Member evaluation over sets of random members. Target: at least 5 million members per
// second on one core. The set of 1,000 stays in cache and measures the evaluation itself;
// the larger sets add the cost of bringing each 768-byte record in from memory.
#include "core/Evaluation.h"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

std::vector<ShaJiang_GouJian_Struct> randomMembers(std::size_t count) {
    std::mt19937 rng(20261207);
    std::uniform_real_distribution<float> depth(2.5f, 20.0f);
    std::uniform_real_distribution<float> unevenness(0.0f, 2.0f);
    std::uniform_int_distribution<int> missingPoint(0, 40); // now and then a gap
    std::vector<ShaJiang_GouJian_Struct> members;
    members.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        ShaJiang_GouJian_Struct r = morvik::newMemberRecord(static_cast<int>(i % 999) + 1);
        for (int k = 0; k < morvik::kPointCount; ++k) {
            if (missingPoint(rng) == 0)
                continue;
            r.unevenness[k] = unevenness(rng);
            r.gaugeReading[k] = r.unevenness[k] + depth(rng);
            morvik::updatePointDepth(r, k);
        }
        members.push_back(r);
    }
    return members;
}

void EvaluateMembers(benchmark::State& state) {
    const std::uint8_t codes[] = {0x00, 0x01, 0x02, 0x10, 0x11};
    std::vector<ShaJiang_GouJian_Struct> members =
        randomMembers(static_cast<std::size_t>(state.range(0)));
    std::size_t i = 0;
    for (auto _ : state) {
        ShaJiang_GouJian_Struct& r = members[i % members.size()];
        morvik::evaluateMember(r, codes[i % 5]);
        benchmark::DoNotOptimize(r.strength);
        ++i;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(EvaluateMembers)->Arg(1000)->Arg(10000)->Arg(100000);

} // namespace

BENCHMARK_MAIN();
