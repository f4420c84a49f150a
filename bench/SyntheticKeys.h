#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "tests/kit/TestKeys.h"

namespace vorn::bench {

// A key of `taxa` x `states` for the benchmarks: codes about 10% "?", 5% "*" and the rest
// "+" or "-" in equal parts; long scientific and common names, and state texts that fill
// most of their record. The same for the same size.
inline testing::KeySpec SyntheticKeySpec(int32_t taxa, int32_t states) {
    testing::KeySpec keySpec;
    keySpec.Name = "SYNTH";
    keySpec.TitleLines = {"A synthetic key", std::to_string(taxa) + " x " + std::to_string(states)};
    keySpec.LongTaxonNames = true;
    std::mt19937 rng(static_cast<uint32_t>(taxa * 7919 + states));
    std::uniform_int_distribution<int> percent(0, 99);
    for (int32_t t = 0; t < taxa; ++t) {
        keySpec.Taxa.push_back("Plantago longissimifolia var. " + std::to_string(t + 1) +
                               " subsp. montana/Long-leaved mountain plantain " +
                               std::to_string(t + 1));
    }
    for (int32_t s = 0; s < states; ++s) {
        keySpec.States.push_back("Character " + std::to_string(s / 4 + 1) +
                                 " of the leaves and flowers, rather long: state " +
                                 std::to_string(s % 4 + 1));
        std::string codes(static_cast<size_t>(taxa), '?');
        for (char& code : codes) {
            int p = percent(rng);
            code = p < 10 ? '?' : p < 15 ? '*' : p < 57 ? '+' : '-';
        }
        keySpec.Codes.push_back(std::move(codes));
    }
    return keySpec;
}

// The key of a size written once per run into a folder of its own; `index` adds an index
// of one entry holding the first 300 states.
struct SyntheticKey {
    testing::TempDir dir;
    std::string des;
    std::string dat;
    int32_t size = 0;

    static const SyntheticKey& Get(int32_t size, bool index = false) {
        static std::map<std::pair<int32_t, bool>, std::unique_ptr<SyntheticKey>> keys;
        auto& key = keys[{size, index}];
        if (!key) {
            key = std::make_unique<SyntheticKey>();
            testing::KeySpec keySpec = SyntheticKeySpec(size, size);
            if (index) keySpec.Index = "1 40 2\r\nStates\r\n1\r\nStates 1 to 300\r\n1 300\r\n";
            key->des = testing::WriteKey(key->dir.Path(), keySpec);
            key->dat = key->dir.Path() + "SYNTH.DAT";
            key->size = size;
        }
        return *key;
    }
};

}  // namespace vorn::bench
