// The measure of a key's efficiency: every taxon of a key the size of a regional flora
// played as the specimen, and a sample of 200 taxa of the 10,000 x 10,000 synthetic key of
// bench/SyntheticKeys.h; each in the Best and the Differentiating order, as
// vorn-identify --efficiency and the Key Check window run it.
#include <benchmark/benchmark.h>

#include <random>

#include "bench/SyntheticKeys.h"
#include "core/engine/Efficiency.h"

namespace vorn {
namespace {

// Codes shaped like a flora converted from DELTA: one character of 40 states, the family,
// recorded for every taxon; then characters of 2 to 6 states, each of which applies to a
// third of the families, and of which a taxon has one ("+", the others "-") or now and
// then several ("*"); a character not recorded for a taxon is "?" in all its states. Half
// the taxa (the species) record most characters that apply to their family; the other
// half (genera, sparse descriptions) few. About 84% of the codes are "?", as in a real
// flora of this size.
CodeMatrix FloraLikeCodes(int32_t taxa, int32_t states) {
    constexpr int32_t kFamilies = 40;
    std::mt19937 rng(506);
    std::uniform_real_distribution<double> chance(0, 1);
    std::vector<int32_t> family(static_cast<size_t>(taxa));
    std::vector<double> recorded(static_cast<size_t>(taxa));
    for (int32_t t = 0; t < taxa; ++t) {
        family[static_cast<size_t>(t)] = static_cast<int32_t>(rng() % kFamilies);
        recorded[static_cast<size_t>(t)] = chance(rng) < 0.5 ? 0.05 : 0.8;
    }
    std::vector<std::string> codes;
    for (int32_t f = 0; f < kFamilies && f < states; ++f) {
        std::string state(static_cast<size_t>(taxa), '-');
        for (int32_t t = 0; t < taxa; ++t) {
            if (family[static_cast<size_t>(t)] == f) state[static_cast<size_t>(t)] = '+';
        }
        codes.push_back(std::move(state));
    }
    while (static_cast<int32_t>(codes.size()) < states) {
        int32_t k = std::min<int32_t>(2 + static_cast<int32_t>(rng() % 5),
                                      states - static_cast<int32_t>(codes.size()));
        std::vector<bool> applies(kFamilies);
        for (int32_t f = 0; f < kFamilies; ++f)
            applies[static_cast<size_t>(f)] = chance(rng) < 0.33;
        std::vector<std::string> character(static_cast<size_t>(k), std::string(taxa, '?'));
        for (int32_t t = 0; t < taxa; ++t) {
            if (!applies[static_cast<size_t>(family[static_cast<size_t>(t)])] ||
                chance(rng) >= recorded[static_cast<size_t>(t)])
                continue;
            bool several = k > 2 && chance(rng) < 0.3;
            auto first = static_cast<size_t>(rng() % static_cast<uint32_t>(k));
            for (size_t s = 0; s < character.size(); ++s) {
                bool has = s == first || (several && s == (first + 1) % character.size());
                character[s][static_cast<size_t>(t)] = has ? (several ? '*' : '+') : '-';
            }
        }
        for (std::string& state : character)
            codes.push_back(std::move(state));
    }
    CodeMatrix matrix;
    matrix.Assign(taxa, codes);
    return matrix;
}

void Report(benchmark::State& state, const Efficiency& measured) {
    state.counters["played"] = static_cast<double>(measured.Played.size());
    state.counters["best_mean"] = measured.Best.Mean;
    state.counters["diff_mean"] = measured.Differentiating.Mean;
    state.counters["best_reached"] = measured.Best.Reached;
}

// A flora of 506 taxa and 1,199 states, every taxon played.
void BM_EfficiencyFlora(benchmark::State& state) {
    static const CodeMatrix codes = FloraLikeCodes(506, 1199);
    Efficiency measured;
    for (auto _ : state) {
        measured = MeasureEfficiency(codes);
        benchmark::DoNotOptimize(measured.Best.Answers.data());
    }
    Report(state, measured);
}
BENCHMARK(BM_EfficiencyFlora)->Unit(benchmark::kMillisecond)->Iterations(3);

// The 10,000 x 10,000 synthetic key, a sample of 200 taxa (vorn-identify --sample 200).
void BM_EfficiencySample200(benchmark::State& state) {
    static const CodeMatrix codes = [] {
        CodeMatrix matrix;
        matrix.Assign(10000, bench::SyntheticKeySpec(10000, 10000).Codes);
        return matrix;
    }();
    Efficiency measured;
    for (auto _ : state) {
        measured = MeasureEfficiency(codes, 0, 200);
        benchmark::DoNotOptimize(measured.Best.Answers.data());
    }
    Report(state, measured);
}
BENCHMARK(BM_EfficiencySample200)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace vorn

BENCHMARK_MAIN();
