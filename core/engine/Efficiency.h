#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/key/CodeMatrix.h"

namespace vorn {

// Taxa played when no sample size is given: every taxon of a key up to this many, a sample
// of this many above.
constexpr int32_t kEfficiencySample = 2000;
// The seed a sample is drawn with when none is given, so that a key measures the same
// every time.
constexpr uint64_t kEfficiencySeed = 1;

// A play that ended with other taxa still matching beside its specimen.
struct UnreachedTaxon {
    int32_t Taxon = 0;
    // The taxa matching where the play ended, the specimen among them: an index into
    // EfficiencyOrder::Ends (plays that end in one place share it).
    int32_t End = 0;
};

// How the simulated user fared with one order of the states.
struct EfficiencyOrder {
    // The answers each play took, in the order of Efficiency::Played.
    std::vector<int32_t> Answers;
    double Mean = 0;
    // The middle value; the mean of the two middle values for an even count.
    double Median = 0;
    int32_t Max = 0;
    // Plays that ended with their specimen matching alone.
    int32_t Reached = 0;
    // The other plays, by taxon.
    std::vector<UnreachedTaxon> NotReached;
    // The matching taxa, in taxon order, of each place where plays ended unreached.
    std::vector<std::vector<int32_t>> Ends;

    // The taxa left with NotReached[i]'s specimen: its end without the specimen.
    std::vector<int32_t> LeftWith(size_t i) const;
};

// What a key is worth to its users: every played taxon as the specimen, answered truthfully
// in the order of the Best window and in that of the Differentiating window. Taxa and
// states from 0.
struct Efficiency {
    int32_t Taxa = 0;
    // log2 of Taxa: the fewest yes/no answers that can single out one taxon (0 for a key
    // of one taxon or none).
    double Log2Taxa = 0;
    // The taxa played, in taxon order: every taxon, or a sample drawn with Seed.
    std::vector<int32_t> Played;
    bool Sampled = false;
    uint64_t Seed = 0;
    int Tolerance = 0;
    EfficiencyOrder Best;
    EfficiencyOrder Differentiating;
    // False when the measure was cancelled; the figures are then empty.
    bool Complete = true;
};

// Plays taxa of `codes` as the specimen, at `tolerance` mismatches: every taxon when the
// key has at most `sample`, else `sample` taxa drawn with `seed` (the same for the same
// key, sample and seed, on every machine). A play starts on a fresh engine and, while more
// than one taxon matches, answers the first listed state that the specimen has coded "+"
// (Present) or "-" (Absent), passing over the states it has coded "*" or "?"; it stops
// when one taxon matches or no listed state can be answered. The list is the engine's
// Best list, then its Differentiating list. `progress` is asked now and then with the
// fraction done (0 to 1); returning false cancels.
//
// Plays that gave the same answers so far stand where the others stand: they are played
// together, on one engine whose answers are cleared again on the way back, so a list is
// made once for all of them. Touches no state of the program.
Efficiency MeasureEfficiency(const CodeMatrix& codes, int tolerance = 0,
                             int32_t sample = kEfficiencySample, uint64_t seed = kEfficiencySeed,
                             const std::function<bool(double)>& progress = {});

}  // namespace vorn
