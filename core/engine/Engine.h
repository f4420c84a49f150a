#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/key/KeyFiles.h"

namespace vorn {

// ---- Scores and matching taxa ---------------------------------------------------------
//
// All tables are program-wide, sized once for MaxKeyItems, and used for the states and
// taxa of the open key. They change only through ScoreState (core/session/Scoring.h), the
// "Or" group operations and ClearAllScores.
//
// Every operation below that reads the key's codes reads all it needs before it changes
// anything: when a read fails (IoError), no score, count, mark or group has changed.

enum StateScoreValue : uint8_t {
    ScoreNone = 0,
    ScorePresent = 1,
    ScoreAbsent = 2,
    ScoreOrPresent = 3,  // present, as a member of an "Or" group
    ScoreOrAbsent = 4,   // absent, as a member of an "Or" group
};

enum ScoreRequest : int32_t {
    RequestToggle = 0,  // a double-click: none -> present -> absent -> none
    RequestPresent = 1,
    RequestAbsent = 2,
    RequestClear = 3,
};

inline std::array<uint8_t, MaxKeyItems> StateScore{};
// Per taxon: contradicting plain scores plus closed "Or" groups it does not satisfy.
inline std::array<int32_t, MaxKeyItems> MismatchCount{};
// Per taxon: no mismatch, narrowed further while an "Or" group is open.
inline std::array<uint8_t, MaxKeyItems + 1> TaxonMatches{};
inline int32_t MatchingTaxaCount = 0;

// The engine's entry point, called only by ScoreState.
void ApplyScoreRequest(int32_t state, ScoreRequest request);
// Scores an unscored state ScorePresent or ScoreAbsent and counts its contradictions.
void AddStateScore(int32_t state, uint8_t score);
// Unscores a state scored ScorePresent or ScoreAbsent and takes its contradictions back.
void RemoveStateScore(int32_t state);
// Rebuilds MismatchCount, TaxonMatches and MatchingTaxaCount from every score and
// closed group.
void RecomputeMatches();
void CountMatchingTaxa();
// Unscores every state and forgets every "Or" group.
void ClearAllScores();

// ---- "Or" groups ----------------------------------------------------------------------

struct OrGroup {
    std::unique_ptr<OrGroup> Next;                      // the next older closed group
    std::array<uint8_t, MaxKeyItems> TaxonSatisfies{};  // 1: satisfies at least one member
    std::array<uint8_t, MaxKeyItems> StateMark{};       // 0, ScoreOrPresent or ScoreOrAbsent
};

inline bool OrMode = false;
// The group being built; exists only while OrMode is set. Owned by the engine.
inline std::unique_ptr<OrGroup> OpenOrGroup;
inline bool OrGroupHasState = false;
// The closed groups, most recently closed first. Owned by the engine: a group is
// released when one of its members is cleared or all scores are.
inline std::unique_ptr<OrGroup> ClosedOrGroups;
inline std::array<uint8_t, MaxKeyItems + 1> SavedMatches{};

void BeginOrGroup();
void EndOrGroup();
void AddOrState(int32_t state, ScoreRequest request);
void CountOrMatchingTaxa();
void ApplyOrGroup(const OrGroup& group);
void RemoveOrGroupOfState(int32_t state);

// ---- Queries the windows ask ----------------------------------------------------------

// -1 for a state scored absent or in an "Or" group; otherwise the number of taxa without
// mismatch that could have the state. Cached until the scores change.
int32_t StateMatchCount(int32_t state);
inline std::array<int32_t, MaxKeyItems> StateMatchCountCache{};
inline bool StateMatchCountStale = true;
inline void MarkStateMatchCountStale() {
    StateMatchCountStale = true;
}

inline int32_t TaxonMismatchCount(int32_t taxon) {
    return MismatchCount[taxon];
}

// True when some but not all of the matching taxa could have the state (its count is
// neither 0 nor MatchingTaxaCount): the states the Subset and Differentiating windows keep.
// States scored absent or in an "Or" group (count -1) always pass.
bool StateSplitsMatchingTaxa(int32_t state);

// True when the state is scored present and the taxon lacks it, or scored absent and the
// taxon has it. Members of "Or" groups never contradict. Note: taxon first.
bool StateContradicts(int32_t taxon, int32_t state);

// The unscored states that some but not all matching taxa can have, fewest first; equal
// counts in state order. What the Differentiating window lists.
std::vector<int32_t> DifferentiatingStates();

// Every taxon, fewest mismatches first; equal counts in taxon order. What the taxa
// Mismatch window lists.
std::vector<int32_t> TaxaByMismatches();

}  // namespace vorn

namespace vorn {

// The words for a number of matching taxa: "1 Taxon Matches", "12 Taxa Match".
inline std::string MatchingCountText(int32_t count) {
    return std::to_string(count) + (count == 1 ? " Taxon Matches" : " Taxa Match");
}

}  // namespace vorn
