#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/platform/FileLookup.h"
#include "core/platform/WholeFile.h"

namespace vorn {

// The floor the scoring benchmarks are compared with: counting, for every state, the codes
// that are not "-" over the whole matrix of a size x size key (one record of 40 bytes per
// 40 taxa) already in memory, without any file access.
inline void RunMatrixFloor(benchmark::State& state, const std::string& datPath, int32_t size) {
    std::string matrix = ReadWholeFile(datPath).Bytes;
    size_t stateBytes = static_cast<size_t>((size + 39) / 40 * 40);
    if (matrix.size() != stateBytes * static_cast<size_t>(size)) std::abort();
    std::vector<int32_t> counts(static_cast<size_t>(size));
    for (auto _ : state) {
        const char* bytes = matrix.data();
        for (int32_t s = 0; s < size; ++s) {
            int32_t count = 0;
            for (int32_t t = 0; t < size; ++t)
                count += bytes[t] != '-';
            counts[static_cast<size_t>(s)] = count;
            bytes += stateBytes;
        }
        benchmark::DoNotOptimize(counts.data());
        benchmark::ClobberMemory();
    }
}

// The floor of opening a key: one sequential read of its matrix file, in pieces of 1 MB,
// the page cache warm.
inline void RunReadFloor(benchmark::State& state, const std::string& datPath) {
    std::vector<char> piece(1 << 20);
    int64_t bytes = 0;
    for (auto _ : state) {
        int fd = OpenForReading(datPath);
        for (ssize_t n; (n = ::read(fd, piece.data(), piece.size())) > 0;)
            bytes += n;
        ::close(fd);
        benchmark::DoNotOptimize(piece.data());
    }
    state.SetBytesProcessed(bytes);
}

}  // namespace vorn
