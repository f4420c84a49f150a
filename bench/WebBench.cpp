// The web engine's all-state counts, natively, on a published key's codes: the figure the
// page's WebAssembly build is compared with (bench/web/page-bench.mjs runs both on the same
// key in one run). Each iteration scores state 18 Present or Clear in turn, untimed, and
// then times WebSession::StateCounts, the call the page makes for every list it draws.
//
//   vorn-bench-web PUBLISHED_FOLDER [benchmark flags]
#include <benchmark/benchmark.h>

#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "web/WebSession.h"

namespace {

std::string gCodes;

void BM_WebStateCounts(benchmark::State& state) {
    vorn::web::WebSession web;
    if (!web.Open("SYNTH", gCodes)) {
        state.SkipWithError("the published codes cannot be opened");
        return;
    }
    bool present = true;
    for (auto _ : state) {
        state.PauseTiming();
        web.Act(present ? "+18" : "=18");
        present = !present;
        state.ResumeTiming();
        benchmark::DoNotOptimize(web.StateCounts().size());
    }
}
BENCHMARK(BM_WebStateCounts)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (argc != 2) {
        std::cerr << "usage: vorn-bench-web PUBLISHED_FOLDER [benchmark flags]\n";
        return 2;
    }
    std::ifstream in(std::string(argv[1]) + "/key/codes.bin", std::ios::binary);
    if (!in) {
        std::cerr << "vorn-bench-web: cannot read " << argv[1] << "/key/codes.bin\n";
        return 1;
    }
    gCodes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
