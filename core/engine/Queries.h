#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/engine/Engine.h"
#include "core/key/KeyFiles.h"

namespace vorn {

// What the windows and the command-line identifier ask of the open key's engine. With no
// key open there are no taxa and no states: nothing is scored, nothing matches, every
// count is 0. Indices are the caller's to keep within the key.

uint8_t StateScore(int32_t state);
int32_t MatchingTaxaCount();
bool TaxonMatches(int32_t taxon);
bool OrMode();
int Tolerance();
int32_t TaxonMismatchCount(int32_t taxon);

// -1 for a state scored absent or in an "Or" group; otherwise the number of taxa without
// mismatch that could have the state. Cached until the scores change.
int32_t StateMatchCount(int32_t state);

// The number of taxa the counts beside states are made from: the taxa within the
// tolerance, an open "Or" group's narrowing ignored. Outside a group it is
// MatchingTaxaCount. A count equal to it is shown as "(all)".
int32_t CountedTaxaCount();

// True when some but not all of the counted taxa could have the state (its count is
// neither 0 nor CountedTaxaCount): the states a Subset window keeps. States scored absent
// or in an "Or" group (count -1) always pass, so a group's members stay listed.
bool StateSplitsCountedTaxa(int32_t state);

// True when the state is scored present and the taxon lacks it, or scored absent and the
// taxon has it. Members of "Or" groups never contradict. Note: taxon first.
bool StateContradicts(int32_t taxon, int32_t state);

// The unscored states that some but not all matching taxa can have, fewest first; equal
// counts in state order. What the Differentiating window lists.
std::vector<int32_t> DifferentiatingStates();

// Every taxon, fewest mismatches first; equal counts in taxon order. What the taxa
// Mismatch window lists.
std::vector<int32_t> TaxaByMismatches();

// The matching taxa, fewest mismatches first; equal counts in taxon order. What the
// Matching Taxa window lists when mismatches are allowed.
std::vector<int32_t> MatchingTaxaByMismatches();

// The unscored states that split the taxa within the tolerance, best first, each with its
// separation (see Engine::BestStates). What the Best Character States window lists.
std::vector<StateSeparation> BestStates();

// The states on which two taxa differ (see Engine::Differences).
TaxonDifferences Differences(int32_t a, int32_t b);

// The words for a number of matching taxa: "1 Taxon Matches", "12 Taxa Match".
inline std::string MatchingCountText(int32_t count) {
    return std::to_string(count) + (count == 1 ? " Taxon Matches" : " Taxa Match");
}

}  // namespace vorn
