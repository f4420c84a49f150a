#include "core/engine/KeyCheck.h"

#include <algorithm>
#include <bit>

namespace vorn {

KeyCheck CheckKey(const CodeMatrix& codes, const std::function<bool(double)>& progress) {
    KeyCheck check;
    const int32_t taxa = codes.TaxonCount(), states = codes.StateCount();
    const int32_t taxonWords = codes.Words(), stateWords = WordsFor(states);

    // Per taxon, the states it is coded "+" for and those it is coded "-" for.
    std::vector<uint64_t> plus(static_cast<size_t>(taxa) * stateWords);
    std::vector<uint64_t> minus(plus.size());
    std::vector<bool> hasPresent(static_cast<size_t>(taxa));
    Bits exactPlus(taxa), exactMinus(taxa);
    for (int32_t s = 0; s < states; ++s) {
        const uint64_t* yes = codes.Yes(s);
        const uint64_t* no = codes.No(s);
        exactPlus.AssignAndNot(yes, no);
        exactMinus.AssignAndNot(no, yes);
        const uint64_t bit = uint64_t{1} << (s % 64);
        const size_t word = static_cast<size_t>(s / 64);
        exactPlus.ForEach([&](int32_t t) {
            plus[static_cast<size_t>(t) * stateWords + word] |= bit;
            hasPresent[static_cast<size_t>(t)] = true;
        });
        exactMinus.ForEach(
            [&](int32_t t) { minus[static_cast<size_t>(t) * stateWords + word] |= bit; });
        if (std::all_of(yes, yes + taxonWords, [](uint64_t w) { return w == 0; }))
            check.StatesNoTaxonHas.push_back(s);
        if (taxa > 0 && exactPlus.Count() == taxa) check.StatesEveryTaxonHas.push_back(s);
    }
    for (int32_t t = 0; t < taxa; ++t) {
        if (!hasPresent[static_cast<size_t>(t)]) check.TaxaWithoutPresent.push_back(t);
    }

    const double pairs = 0.5 * taxa * (taxa - 1.0);
    double done = 0;
    int64_t sinceAsked = 0;
    for (int32_t a = 0; a < taxa; ++a) {
        const uint64_t* plusA = plus.data() + static_cast<size_t>(a) * stateWords;
        const uint64_t* minusA = minus.data() + static_cast<size_t>(a) * stateWords;
        for (int32_t b = a + 1; b < taxa; ++b) {
            const uint64_t* plusB = plus.data() + static_cast<size_t>(b) * stateWords;
            const uint64_t* minusB = minus.data() + static_cast<size_t>(b) * stateWords;
            bool separated = false;
            for (int32_t w = 0; w < stateWords && !separated; ++w)
                separated = ((plusA[w] & minusB[w]) | (minusA[w] & plusB[w])) != 0;
            if (!separated) check.InseparablePairs.emplace_back(a, b);
        }
        done += taxa - 1 - a;
        sinceAsked += taxa - 1 - a;
        check.TaxaDone = a + 1;
        if (progress && (sinceAsked >= 1 << 20 || a + 1 == taxa)) {
            sinceAsked = 0;
            if (!progress(pairs > 0 ? done / pairs : 1.0) && a + 1 < taxa) {
                check.Complete = false;
                break;
            }
        }
    }
    return check;
}

}  // namespace vorn
