// Engine benchmarks on a synthetic key of 1200 taxa x 1200 states written here.
// BM_MatrixFloor is the floor the others are compared with: the same counting work on the
// matrix already in memory, without any file access.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "bench/MatrixFloor.h"
#include "core/session/OpenKey.h"
#include "core/session/Scoring.h"
#include "tests/kit/TestKeys.h"

namespace vorn {
namespace {

constexpr int32_t kSize = 1200;

// Writes and opens the synthetic key once for the whole run.
class SyntheticKey {
public:
    static SyntheticKey& Get() {
        static SyntheticKey key;
        return key;
    }
    const std::string& DatPath() const { return datPath_; }

private:
    SyntheticKey() {
        std::string des = testing::WriteKey(dir_.Path(), testing::RandomKey(kSize, kSize, 42));
        datPath_ = dir_.Path() + "RANDOM.DAT";
        OpenKey(des);
        if (!Key.KeyOpen) std::abort();
    }
    testing::TempDir dir_;
    std::string datPath_;
};

void Reset() {
    SyntheticKey::Get();
    ResetKey();
}

void BM_MatrixFloor(benchmark::State& state) {
    RunMatrixFloor(state, SyntheticKey::Get().DatPath(), kSize);
}
BENCHMARK(BM_MatrixFloor);

// One ScoreState request per iteration: Present and Clear in turn on one state.
void BM_ScoreRequest(benchmark::State& state) {
    Reset();
    bool present = true;
    for (auto _ : state) {
        ScoreState(600, present ? RequestPresent : RequestClear);
        present = !present;
        benchmark::DoNotOptimize(MatchingTaxaCount());
    }
}
BENCHMARK(BM_ScoreRequest);

// StateMatchCount for every state right after a request, with the cache cold.
void BM_AllStateCounts(benchmark::State& state) {
    Reset();
    bool present = true;
    for (auto _ : state) {
        state.PauseTiming();
        ScoreState(17, present ? RequestPresent : RequestClear);
        present = !present;
        state.ResumeTiming();
        int32_t sum = 0;
        for (int32_t s = 0; s < kSize; ++s)
            sum += StateMatchCount(s);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_AllStateCounts);

// Clear on a member of a closed "Or" group, with 50 plain scores and 3 closed groups in
// force: the group is dissolved and every count rebuilt from the remaining scores.
void BM_DissolveOrGroup(benchmark::State& state) {
    Reset();
    // Plain scores on states 0-49 would leave no taxon matching; mostly Absent on rare states
    // keeps the key realistic, but the rebuild's work does not depend on the outcome.
    for (int32_t s = 0; s < 50; ++s)
        ScoreState(s, s % 5 == 0 ? RequestPresent : RequestAbsent);
    auto group = [](int32_t first) {
        ToggleOrMode();
        for (int32_t s = first; s < first + 3; ++s)
            ScoreState(s, RequestPresent);
        ToggleOrMode();
    };
    group(100);
    group(200);
    group(300);
    for (auto _ : state) {
        ScoreState(201, RequestClear);
        benchmark::DoNotOptimize(MatchingTaxaCount());
        state.PauseTiming();
        group(200);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DissolveOrGroup);

}  // namespace
}  // namespace vorn

BENCHMARK_MAIN();
