// Engine benchmarks on synthetic keys of 1,200 x 1,200 and 10,000 x 10,000 written here
// (bench/SyntheticKeys.h). BM_MatrixFloor is the floor the counts are compared with: the
// same counting work on the matrix bytes already in memory, at the same size; BM_ReadFloor
// the floor of opening a key: one sequential read of its matrix file.
#include <benchmark/benchmark.h>

#include "bench/MatrixFloor.h"
#include "bench/SyntheticKeys.h"
#include "core/engine/KeyCheck.h"
#include "core/platform/JournalFile.h"
#include "core/session/Journal.h"
#include "core/session/OpenKey.h"
#include "core/session/Session.h"
#include "core/session/Settings.h"
#include "tests/kit/TestKeys.h"

namespace vorn {
namespace {

// The benchmarks' session: the key of the last size asked for stays open in it.
Session& BenchSession() {
    static Session session;
    return session;
}

// Opens the key of the benchmark's size, unless it is open, with every state unscored.
void OpenAndReset(const benchmark::State& state) {
    const bench::SyntheticKey& key = bench::SyntheticKey::Get(static_cast<int32_t>(state.range(0)));
    if (BenchSession().OpenKeyPath != key.des) OpenKey(BenchSession(), key.des);
    if (!BenchSession().Key.KeyOpen) std::abort();
    ResetKey(BenchSession());
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1200)->Arg(10000)->Unit(benchmark::kMicrosecond);
}

void BM_MatrixFloor(benchmark::State& state) {
    auto size = static_cast<int32_t>(state.range(0));
    RunMatrixFloor(state, bench::SyntheticKey::Get(size).dat, size);
}
BENCHMARK(BM_MatrixFloor)->Apply(Sizes);

// One ScoreState request per iteration: Present and Clear in turn on one state.
void BM_ScoreRequest(benchmark::State& state) {
    OpenAndReset(state);
    bool present = true;
    for (auto _ : state) {
        BenchSession().ScoreState(600, present ? RequestPresent : RequestClear);
        present = !present;
        benchmark::DoNotOptimize(BenchSession().MatchingTaxaCount());
    }
}
BENCHMARK(BM_ScoreRequest)->Apply(Sizes);

// StateMatchCount for every state right after a request, with the cache cold and every
// taxon but those the request rules out matching: the most work a count can take.
void BM_AllStateCounts(benchmark::State& state) {
    OpenAndReset(state);
    int32_t states = BenchSession().Key.StateCount;
    bool present = true;
    for (auto _ : state) {
        state.PauseTiming();
        BenchSession().ScoreState(17, present ? RequestPresent : RequestClear);
        present = !present;
        state.ResumeTiming();
        int32_t sum = 0;
        for (int32_t s = 0; s < states; ++s)
            sum += BenchSession().StateMatchCount(s);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_AllStateCounts)->Apply(Sizes);

// The Best Character States window's list right after a request, cold: n+ and n- of every
// unscored state over the taxa within the tolerance, and the separations sorted.
void BM_BestStates(benchmark::State& state) {
    OpenAndReset(state);
    bool present = true;
    for (auto _ : state) {
        state.PauseTiming();
        BenchSession().ScoreState(17, present ? RequestPresent : RequestClear);
        present = !present;
        state.ResumeTiming();
        benchmark::DoNotOptimize(BenchSession().OpenEngine()->BestStates().size());
    }
}
BENCHMARK(BM_BestStates)->Apply(Sizes);

// The check of the whole key: every pair of taxa, and the states no taxon or every taxon
// has.
void BM_CheckKey(benchmark::State& state) {
    OpenAndReset(state);
    for (auto _ : state) {
        KeyCheck check = CheckKey(BenchSession().Key.Codes);
        benchmark::DoNotOptimize(check.InseparablePairs.size());
    }
}
BENCHMARK(BM_CheckKey)->Apply(Sizes)->Unit(benchmark::kMillisecond)->Iterations(1);

// Clear on a member of a closed "Or" group, with 50 plain scores and 3 closed groups in
// force: the group is dissolved and every count rebuilt from the remaining scores.
void BM_DissolveOrGroup(benchmark::State& state) {
    OpenAndReset(state);
    for (int32_t s = 0; s < 50; ++s)
        BenchSession().ScoreState(s, s % 5 == 0 ? RequestPresent : RequestAbsent);
    auto group = [](int32_t first) {
        BenchSession().ToggleOrMode();
        for (int32_t s = first; s < first + 3; ++s)
            BenchSession().ScoreState(s, RequestPresent);
        BenchSession().ToggleOrMode();
    };
    group(100);
    group(200);
    group(300);
    for (auto _ : state) {
        BenchSession().ScoreState(201, RequestClear);
        benchmark::DoNotOptimize(BenchSession().MatchingTaxaCount());
        state.PauseTiming();
        group(200);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DissolveOrGroup)->Apply(Sizes);

// 1,000 steps of Undo: plain scores, "Or" groups, and a Reset of the 300 states scored by
// then; the memory the steps hold, and the time to take all of them back and do them
// again.
void BM_UndoSteps(benchmark::State& state) {
    OpenAndReset(state);
    Session& session = BenchSession();
    const int32_t states = session.Key.StateCount;
    uint32_t random = 12345;
    auto next = [&random] { return random = random * 1664525u + 1013904223u; };
    while (session.Steps().Done() < 1000) {
        size_t done = session.Steps().Done();
        if (done == 500) {
            // By now about 300 states are scored: a Reset keeps those, not the key.
            ResetKey(session);
        } else if (next() % 10 == 0) {
            session.ToggleOrMode();
            session.ScoreState(static_cast<int32_t>(next() % states), RequestPresent);
            session.ScoreState(static_cast<int32_t>(next() % states), RequestAbsent);
            session.ToggleOrMode();
        } else {
            session.ScoreState(static_cast<int32_t>(next() % states),
                               next() % 2 ? RequestPresent : RequestAbsent);
        }
    }
    state.counters["steps"] = static_cast<double>(session.Steps().Done());
    state.counters["bytes"] = static_cast<double>(session.Steps().Bytes());
    state.counters["bytes_per_step"] =
        static_cast<double>(session.Steps().Bytes()) / static_cast<double>(session.Steps().Done());
    for (auto _ : state) {
        while (session.Undo()) {
        }
        while (session.Redo()) {
        }
    }
    ResetKey(session);
}
BENCHMARK(BM_UndoSteps)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Writing the settings file, as the desktop does when a setting changes: a whole file of
// a few hundred bytes written beside, flushed to the disk and renamed over the old one.
void BM_WriteSettings(benchmark::State& state) {
    testing::TempDir dir;
    Session session;
    for (int i = 0; i < kKeyHistorySize; ++i)
        session.KeyHistory[static_cast<size_t>(i)] =
            dir.Path() + "keys/KEY" + std::to_string(i) + ".DES";
    for (auto _ : state) {
        session.CountMode = !session.CountMode;
        if (!WriteSettings(session, dir.Path() + "VORNWIN.INI")) state.SkipWithError("not written");
    }
}
BENCHMARK(BM_WriteSettings)->Unit(benchmark::kMillisecond);

// Writing the journal of an identification of 300 scores and two groups on the 10,000 x
// 10,000 key, as after every step: the text made, written beside and renamed, not flushed.
void BM_WriteJournal(benchmark::State& state) {
    OpenAndReset(state);
    Session& session = BenchSession();
    for (int32_t s = 0; s < 300; ++s)
        session.ScoreState(s * 31 % session.Key.StateCount, s % 3 ? RequestAbsent : RequestPresent);
    testing::TempDir dir;
    JournalFile journal;
    journal.Open(dir.Path());
    for (auto _ : state)
        journal.Write(JournalText(session, "2026-12-09 14:05"));
    journal.Close();
    ResetKey(session);
}
BENCHMARK(BM_WriteJournal)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ReadFloor(benchmark::State& state) {
    RunReadFloor(state, bench::SyntheticKey::Get(static_cast<int32_t>(state.range(0))).dat);
}
BENCHMARK(BM_ReadFloor)->Apply(Sizes);

// Opening the key whole: its files opened and counted, every code read and packed, the
// engine's tables made.
void BM_OpenKey(benchmark::State& state) {
    const bench::SyntheticKey& key = bench::SyntheticKey::Get(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        OpenKey(BenchSession(), key.des);
        if (!BenchSession().Key.KeyOpen) state.SkipWithError("the key did not open");
    }
    CloseKey(BenchSession());
}
BENCHMARK(BM_OpenKey)->Apply(Sizes);

}  // namespace
}  // namespace vorn

BENCHMARK_MAIN();
