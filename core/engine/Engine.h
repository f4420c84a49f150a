#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/key/CodeMatrix.h"

namespace vorn {

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

// A state and how well it splits the matching taxa (see Engine::BestStates).
struct StateSeparation {
    int32_t State = 0;
    double Separation = 0;
};

// The states on which two taxa differ, in state order: certain differences (one coded
// "+", the other "-") and possible ones (one "+" or "-", the other "?" or "*").
struct TaxonDifferences {
    std::vector<int32_t> Certain;
    std::vector<int32_t> Possible;
};

// One "Or" group: its members (their marks are their scores) and the taxa that satisfy at
// least one of them.
struct OrGroup {
    std::vector<int32_t> Members;
    Bits Satisfies;
};

// A state and its score.
struct ScoredState {
    int32_t State = 0;
    uint8_t Score = ScoreNone;
};

// What one action of the engine changed: enough to take it back (Engine::Revert) and to do
// it again (Engine::Reapply), and no more. A reset keeps the scores and groups it dropped,
// a cleared state its old score, nothing of the rest of the key.
struct EngineChange {
    enum KindValue : uint8_t {
        Scored,          // State's plain score went from Before to After
        MemberAdded,     // State joined the open group, marked After
        GroupBegun,      // an empty group was opened
        GroupEnded,      // the open group closed; HadMembers: it became the newest closed one
        GroupDissolved,  // clearing State dissolved the closed group at Place (oldest first),
                         // whose members and marks are Scores
        Cleared,         // every score and group dropped: Scores holds the Place plain scores,
                         // then the members of each closed group (GroupSizes, oldest first),
                         // then, when HadOpenGroup, the open group's members
    };
    KindValue Kind = Scored;
    uint8_t Before = ScoreNone;
    uint8_t After = ScoreNone;
    bool HadMembers = false;
    bool HadOpenGroup = false;
    int32_t State = -1;
    int32_t Place = 0;
    std::vector<ScoredState> Scores{};
    std::vector<int32_t> GroupSizes{};
};

// What a scoring request did: refused (a scored state while a group is open; nothing
// changed, and the caller tells the user), or applied, with what changed when anything did.
struct ScoreOutcome {
    bool Refused = false;
    std::optional<EngineChange> Change{};
};

// The identification state of one open key: the score of every state, the mismatches of
// every taxon, which taxa match, the "Or" groups, and the cache of counts. It is made when
// a key opens, with every table sized for that key, and destroyed when the key closes;
// it reads the key's codes from the CodeMatrix it is given (which must outlive it) and no
// file. Every action runs to its end: nothing in it can fail half-way.
//
// A taxon matches while it has at most Tolerance() mismatches (0 unless changed); while
// an "Or" group is open the matching taxa are narrowed further to those that satisfy one
// of its members. Mismatches are kept incrementally: an action costs a pass over the
// words of one state's planes plus one step per taxon whose count changes.
class Engine {
public:
    explicit Engine(const CodeMatrix& codes);
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    int32_t TaxonCount() const { return taxa_; }
    int32_t StateCount() const { return states_; }

    // ---- What the windows ask --------------------------------------------------------
    uint8_t Score(int32_t state) const { return score_[static_cast<size_t>(state)]; }
    int32_t Mismatches(int32_t taxon) const { return mismatches_[static_cast<size_t>(taxon)]; }
    bool Matches(int32_t taxon) const { return matches_.Test(taxon); }
    int32_t MatchingCount() const { return matchingCount_; }
    // The taxa within the tolerance: what the counts are made from.
    int32_t CountedCount() const { return withinCount_; }
    const Bits& MatchingTaxa() const { return matches_; }
    bool OrMode() const { return open_.has_value(); }
    int Tolerance() const { return tolerance_; }
    // -1 for a state scored absent or in an "Or" group; otherwise the number of taxa within
    // the tolerance that could have the state (not coded "-"). An open group's narrowing is
    // ignored. Cached until the scores change.
    int32_t StateMatchCount(int32_t state);
    // True when the state is scored present and the taxon is coded "-", or absent and "+".
    bool Contradicts(int32_t taxon, int32_t state) const;
    // The unscored states whose count is neither 0 nor the number of matching taxa,
    // fewest first, equal counts in state order.
    std::vector<int32_t> DifferentiatingStates();
    // Every taxon, fewest mismatches first, equal counts in taxon order.
    std::vector<int32_t> TaxaByMismatches() const;
    // The matching taxa, fewest mismatches first, equal counts in taxon order.
    std::vector<int32_t> MatchingTaxaByMismatches() const;
    // The unscored states that split the t taxa within the tolerance (an open group's
    // narrowing ignored, as for the counts), by how much one yes/no answer about them is
    // expected to tell: with n+ taxa coded "+", n- coded "-" and nv the others (coded "?"
    // or "*", or with fewer mismatches than the tolerance, so surviving either answer),
    // kP = n+ + nv, kA = n- + nv, fP = n+ + nv/2, fA = n- + nv/2,
    //   separation = log2 t - (fP log2 kP + fA log2 kA) / t,
    // a term with kP or kA of 0 counting 0. 1 splits the taxa in halves, 0 not at all.
    // Only states above 1e-9 are listed, highest first (compared at 9 decimals), then
    // in state order; nothing with fewer than two taxa. Cached until the scores change.
    const std::vector<StateSeparation>& BestStates();
    TaxonDifferences Differences(int32_t a, int32_t b) const;
    // The states on which at least two of `taxa` differ for certain (one coded "+",
    // another "-"), in state order.
    std::vector<int32_t> CertainDifferencesAmong(const std::vector<int32_t>& taxa) const;
    // The closed "Or" groups (their places in ClosedGroups(), oldest first) that the taxon
    // satisfies none of: each gave it one mismatch.
    std::vector<int32_t> GroupsFailedBy(int32_t taxon) const;
    const CodeMatrix& Codes() const { return codes_; }

    // ---- What scoring does -------------------------------------------------------------
    // Each action returns what it changed, nothing when it changed no score and no group.
    // Applies a request as the windows make it. While a group is open a request on a
    // scored state is refused; otherwise the state joins the group.
    ScoreOutcome ApplyScoreRequest(int32_t state, ScoreRequest request);
    std::optional<EngineChange> BeginOrGroup();
    // Closes the open group: each taxon that satisfies none of its members gets one
    // mismatch. A group without members leaves nothing behind.
    std::optional<EngineChange> EndOrGroup();
    // Unscores every state and forgets every group.
    std::optional<EngineChange> ClearAllScores();
    // Unscores a state scored plainly, or dissolves the closed group it is a member of, as
    // Clear does, also while a group is open; a member of the open group stays.
    std::optional<EngineChange> Unscore(int32_t state);
    // A taxon matches while it has at most `tolerance` (0 or more) mismatches.
    void SetTolerance(int tolerance);

    // Takes a change back, the engine being as the change left it: scores and groups,
    // open or closed, with their members in their order, are as before it. Reapply does
    // it again, the engine being as before it. The tolerance is the engine's own now.
    void Revert(const EngineChange& change);
    void Reapply(const EngineChange& change);

    // ---- For checks -------------------------------------------------------------------
    // The mismatches made from scratch from every plain score and closed group, in taxon
    // order: what the incremental counts must equal.
    std::vector<int32_t> RecountMismatches() const;
    const std::vector<OrGroup>& ClosedGroups() const { return closed_; }
    const std::optional<OrGroup>& OpenGroup() const { return open_; }

private:
    // Taxa that a score contradicts: coded "-" for a present mark, "+" for an absent one.
    void Contradicted(int32_t state, uint8_t score, Bits& out) const;
    void AddMismatches(const Bits& taxa);
    void RemoveMismatches(const Bits& taxa);
    // Remakes within_ and below_ from the mismatch counts.
    void MakeWithin();
    // Matching taxa from Within and the open group; the count with them.
    void MakeMatches();
    void MarkCountsStale() { countsStale_ = bestStale_ = true; }
    // The words of within_ that are not 0, rebuilt (and the counts cleared) when stale.
    const std::vector<int32_t>& CountWords();
    std::optional<EngineChange> AddOrState(int32_t state, ScoreRequest request);
    std::optional<EngineChange> DissolveGroupOf(int32_t state);
    std::optional<EngineChange> ApplySingleScore(int32_t state, ScoreRequest request);
    // Gives a state a plain score (none, present or absent), its mismatches following.
    void SetPlainScore(int32_t state, uint8_t score);
    // A group of `members` (their marks), its taxa and scores set; no mismatch given.
    OrGroup MakeGroup(const ScoredState* members, size_t count);
    // The taxa that satisfy none of a group's members.
    static Bits Unsatisfied(const OrGroup& group);

    const CodeMatrix& codes_;
    int32_t taxa_;
    int32_t states_;
    int32_t words_;
    std::vector<uint8_t> score_;
    std::vector<int32_t> mismatches_;
    int tolerance_ = 0;
    Bits within_;   // taxa with at most tolerance_ mismatches
    Bits below_;    // taxa with fewer than tolerance_ mismatches
    Bits matches_;  // within_, narrowed by the open group's members
    int32_t matchingCount_ = 0;
    int32_t withinCount_ = 0;
    std::optional<OrGroup> open_;
    std::vector<OrGroup> closed_;      // oldest first
    std::vector<int32_t> counts_;      // StateMatchCount per state, -2 until computed
    std::vector<int32_t> countWords_;  // the words of within_ that are not 0
    bool countsStale_ = true;
    std::vector<StateSeparation> best_;
    bool bestStale_ = true;
};

}  // namespace vorn
