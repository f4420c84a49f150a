#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vorn {

// The floor the scoring benchmarks are compared with: counting, for every state, the codes
// that are not "-" over the whole matrix already in memory, without any file access.
inline void RunMatrixFloor(benchmark::State& state, const std::string& datPath, int32_t size) {
    std::ifstream file(datPath, std::ios::binary);
    std::string matrix((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (matrix.size() != static_cast<size_t>(size) * size) std::abort();
    std::vector<int32_t> counts(static_cast<size_t>(size));
    for (auto _ : state) {
        const char* bytes = matrix.data();
        for (int32_t s = 0; s < size; ++s) {
            int32_t count = 0;
            for (int32_t t = 0; t < size; ++t)
                count += bytes[t] != '-';
            counts[static_cast<size_t>(s)] = count;
            bytes += size;
        }
        benchmark::DoNotOptimize(counts.data());
        benchmark::ClobberMemory();
    }
}

}  // namespace vorn
