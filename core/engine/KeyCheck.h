#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "core/key/CodeMatrix.h"

namespace vorn {

// What a key's author wants to know of it: the pairs of taxa that no state separates for
// certain (no state coded "+" for one and "-" for the other), the states that no taxon
// has ("+" or "*"), the states that every taxon has ("+"), and the taxa that have no
// state coded "+". Indices from 0, in order; pairs with the smaller taxon first.
struct KeyCheck {
    std::vector<std::pair<int32_t, int32_t>> InseparablePairs;
    std::vector<int32_t> StatesNoTaxonHas;
    std::vector<int32_t> StatesEveryTaxonHas;
    std::vector<int32_t> TaxaWithoutPresent;
    // False when the check was cancelled: the pairs are then those of the first
    // TaxaDone taxa with every later one; the other lists are whole.
    bool Complete = true;
    int32_t TaxaDone = 0;
};

// Checks the key. `progress` is asked now and then with the fraction of the pairs done
// (0 to 1); returning false cancels. A key of 10,000 taxa has 50 million pairs: the
// codes are turned around to one row of states per taxon first, so a pair costs a few
// word operations when an early state separates it.
KeyCheck CheckKey(const CodeMatrix& codes, const std::function<bool(double)>& progress = {});

}  // namespace vorn
