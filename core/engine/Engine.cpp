#include "core/engine/Engine.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "core/key/KeyFiles.h"

namespace vorn {
namespace {

// The counting loops are built twice where the processor may lack a popcount instruction
// (the x86-64 baseline does): once with it, once without, chosen when the program starts.
// Without it a count calls a library routine per word, several times slower.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define VORN_POPCOUNT_CLONES __attribute__((target_clones("popcnt", "default")))
#else
#define VORN_POPCOUNT_CLONES
#endif

// Taxa of `within` not coded "-" (No without Yes), over the listed words.
VORN_POPCOUNT_CLONES int32_t CountCouldHave(const std::vector<int32_t>& words,
                                            const uint64_t* within, const uint64_t* yes,
                                            const uint64_t* no) {
    int32_t count = 0;
    for (int32_t w : words)
        count += std::popcount(within[w] & (yes[w] | ~no[w]));
    return count;
}

// Taxa of `within` but not `below` coded "+" and coded "-", over the listed words.
VORN_POPCOUNT_CLONES void CountSure(const std::vector<int32_t>& words, const uint64_t* within,
                                    const uint64_t* below, const uint64_t* yes, const uint64_t* no,
                                    int32_t& plus, int32_t& minus) {
    int32_t p = 0, m = 0;
    for (int32_t w : words) {
        uint64_t sure = within[w] & ~below[w];
        uint64_t both = yes[w] ^ no[w];  // "+" or "-", not "*" or "?"
        p += std::popcount(sure & both & yes[w]);
        m += std::popcount(sure & both & no[w]);
    }
    plus = p;
    minus = m;
}

bool IsOrScore(uint8_t score) {
    return score == ScoreOrPresent || score == ScoreOrAbsent;
}

bool IsPresentMark(uint8_t score) {
    return score == ScorePresent || score == ScoreOrPresent;
}

}  // namespace

Engine::Engine(const CodeMatrix& codes)
    : codes_(codes),
      taxa_(codes.TaxonCount()),
      states_(codes.StateCount()),
      words_(codes.Words()),
      score_(static_cast<size_t>(states_), ScoreNone),
      mismatches_(static_cast<size_t>(taxa_), 0),
      within_(taxa_),
      below_(taxa_),
      matches_(taxa_),
      counts_(static_cast<size_t>(states_), -2) {
    ClearAllScores();
}

// ---- Scoring ------------------------------------------------------------------------------

void Engine::Contradicted(int32_t state, uint8_t score, Bits& out) const {
    // "-" exactly is No without Yes; "+" exactly is Yes without No.
    if (out.Size() != taxa_) out = Bits(taxa_);
    if (IsPresentMark(score)) {
        out.AssignAndNot(codes_.No(state), codes_.Yes(state));
    } else {
        out.AssignAndNot(codes_.Yes(state), codes_.No(state));
    }
}

void Engine::AddMismatches(const Bits& taxa) {
    taxa.ForEach([this](int32_t t) {
        int32_t before = mismatches_[static_cast<size_t>(t)]++;
        if (before == tolerance_) within_.Reset(t);
        if (before == tolerance_ - 1) below_.Reset(t);
    });
    MarkCountsStale();
}

void Engine::RemoveMismatches(const Bits& taxa) {
    taxa.ForEach([this](int32_t t) {
        int32_t after = --mismatches_[static_cast<size_t>(t)];
        if (after == tolerance_) within_.Set(t);
        if (after == tolerance_ - 1) below_.Set(t);
    });
    MarkCountsStale();
}

void Engine::MakeWithin() {
    within_.Clear();
    below_.Clear();
    for (int32_t t = 0; t < taxa_; ++t) {
        int32_t mismatches = mismatches_[static_cast<size_t>(t)];
        if (mismatches <= tolerance_) within_.Set(t);
        if (mismatches < tolerance_) below_.Set(t);
    }
}

void Engine::MakeMatches() {
    withinCount_ = within_.Count();
    matches_ = within_;
    if (open_ && !open_->Members.empty()) matches_ &= open_->Satisfies;
    matchingCount_ = matches_.Count();
}

ScoreOutcome Engine::ApplyScoreRequest(int32_t state, ScoreRequest request) {
    if (open_) {
        if (score_[static_cast<size_t>(state)] != ScoreNone) return {.Refused = true};
        return {.Change = AddOrState(state, request)};
    }
    return {.Change = ApplySingleScore(state, request)};
}

void Engine::SetPlainScore(int32_t state, uint8_t score) {
    uint8_t& current = score_[static_cast<size_t>(state)];
    Bits taxa;
    if (current != ScoreNone) {
        Contradicted(state, current, taxa);
        RemoveMismatches(taxa);
    }
    current = score;
    if (score != ScoreNone) {
        Contradicted(state, score, taxa);
        AddMismatches(taxa);
    }
}

std::optional<EngineChange> Engine::ApplySingleScore(int32_t state, ScoreRequest request) {
    MarkCountsStale();
    const uint8_t score = score_[static_cast<size_t>(state)];
    if (request == RequestToggle) {
        if (IsOrScore(score)) return std::nullopt;
        request = score == ScoreNone      ? RequestPresent
                  : score == ScorePresent ? RequestAbsent
                                          : RequestClear;
    }
    std::optional<EngineChange> change;
    switch (request) {
        case RequestPresent:
        case RequestAbsent: {
            uint8_t wanted = request == RequestPresent ? ScorePresent : ScoreAbsent;
            if (score == wanted || IsOrScore(score)) break;
            SetPlainScore(state, wanted);
            change = EngineChange{
                .Kind = EngineChange::Scored, .Before = score, .After = wanted, .State = state};
            break;
        }
        case RequestClear:
            if (IsOrScore(score)) {
                change = DissolveGroupOf(state);
            } else if (score != ScoreNone) {
                SetPlainScore(state, ScoreNone);
                change = EngineChange{.Kind = EngineChange::Scored,
                                      .Before = score,
                                      .After = ScoreNone,
                                      .State = state};
            }
            break;
        case RequestToggle:
            break;
    }
    MakeMatches();
    return change;
}

std::optional<EngineChange> Engine::ClearAllScores() {
    std::optional<EngineChange> change;
    bool any = open_ || !closed_.empty() ||
               std::any_of(score_.begin(), score_.end(), [](uint8_t s) { return s != ScoreNone; });
    if (any) {
        change = EngineChange{.Kind = EngineChange::Cleared, .HadOpenGroup = open_.has_value()};
        for (int32_t s = 0; s < states_; ++s) {
            uint8_t score = score_[static_cast<size_t>(s)];
            if (score == ScorePresent || score == ScoreAbsent) change->Scores.push_back({s, score});
        }
        change->Place = static_cast<int32_t>(change->Scores.size());
        auto keep = [&](const OrGroup& group) {
            for (int32_t member : group.Members)
                change->Scores.push_back({member, score_[static_cast<size_t>(member)]});
        };
        for (const OrGroup& group : closed_) {
            keep(group);
            change->GroupSizes.push_back(static_cast<int32_t>(group.Members.size()));
        }
        if (open_) keep(*open_);
    }
    std::fill(score_.begin(), score_.end(), ScoreNone);
    std::fill(mismatches_.begin(), mismatches_.end(), 0);
    open_.reset();
    closed_.clear();
    MakeWithin();
    MakeMatches();
    MarkCountsStale();
    return change;
}

std::optional<EngineChange> Engine::Unscore(int32_t state) {
    const uint8_t score = score_[static_cast<size_t>(state)];
    std::optional<EngineChange> change;
    if (score == ScorePresent || score == ScoreAbsent) {
        MarkCountsStale();
        SetPlainScore(state, ScoreNone);
        change = EngineChange{
            .Kind = EngineChange::Scored, .Before = score, .After = ScoreNone, .State = state};
    } else if (IsOrScore(score)) {
        MarkCountsStale();
        change = DissolveGroupOf(state);
    }
    MakeMatches();
    return change;
}

void Engine::SetTolerance(int tolerance) {
    tolerance_ = std::max(tolerance, 0);
    MakeWithin();
    MakeMatches();
    MarkCountsStale();
}

// ---- "Or" groups ---------------------------------------------------------------------------

std::optional<EngineChange> Engine::BeginOrGroup() {
    if (open_) return std::nullopt;
    open_.emplace();
    open_->Satisfies = Bits(taxa_);
    return EngineChange{.Kind = EngineChange::GroupBegun};
}

std::optional<EngineChange> Engine::AddOrState(int32_t state, ScoreRequest request) {
    MarkCountsStale();
    if (request == RequestToggle) request = RequestPresent;
    if (request == RequestClear) return std::nullopt;
    uint8_t mark = request == RequestPresent ? ScoreOrPresent : ScoreOrAbsent;
    score_[static_cast<size_t>(state)] = mark;
    Bits satisfying;
    Contradicted(state, mark, satisfying);
    satisfying.Complement();
    open_->Satisfies |= satisfying;
    open_->Members.push_back(state);
    MakeMatches();
    return EngineChange{.Kind = EngineChange::MemberAdded, .After = mark, .State = state};
}

std::vector<int32_t> Engine::GroupsFailedBy(int32_t taxon) const {
    std::vector<int32_t> failed;
    if (taxon < 0 || taxon >= taxa_) return failed;
    for (size_t g = 0; g < closed_.size(); ++g) {
        const OrGroup& group = closed_[g];
        if (!group.Members.empty() && !group.Satisfies.Test(taxon))
            failed.push_back(static_cast<int32_t>(g));
    }
    return failed;
}

Bits Engine::Unsatisfied(const OrGroup& group) {
    Bits unsatisfied = group.Satisfies;
    unsatisfied.Complement();
    return unsatisfied;
}

std::optional<EngineChange> Engine::EndOrGroup() {
    if (!open_) return std::nullopt;
    OrGroup group = std::move(*open_);
    open_.reset();
    bool members = !group.Members.empty();
    if (members) {
        AddMismatches(Unsatisfied(group));
        closed_.push_back(std::move(group));
    }
    MakeMatches();
    MarkCountsStale();
    return EngineChange{.Kind = EngineChange::GroupEnded, .HadMembers = members};
}

std::optional<EngineChange> Engine::DissolveGroupOf(int32_t state) {
    auto group = std::find_if(closed_.begin(), closed_.end(), [state](const OrGroup& g) {
        return std::find(g.Members.begin(), g.Members.end(), state) != g.Members.end();
    });
    if (group == closed_.end()) return std::nullopt;
    EngineChange change{.Kind = EngineChange::GroupDissolved,
                        .State = state,
                        .Place = static_cast<int32_t>(group - closed_.begin())};
    // The group gave one mismatch to each taxon that satisfied none of its members: taking
    // exactly that back equals counting every remaining score and group again.
    RemoveMismatches(Unsatisfied(*group));
    for (int32_t member : group->Members) {
        change.Scores.push_back({member, score_[static_cast<size_t>(member)]});
        score_[static_cast<size_t>(member)] = ScoreNone;
    }
    closed_.erase(group);
    return change;
}

OrGroup Engine::MakeGroup(const ScoredState* members, size_t count) {
    OrGroup group{.Members = {}, .Satisfies = Bits(taxa_)};
    Bits satisfying;
    for (size_t i = 0; i < count; ++i) {
        const ScoredState& member = members[i];
        score_[static_cast<size_t>(member.State)] = member.Score;
        Contradicted(member.State, member.Score, satisfying);
        satisfying.Complement();
        group.Satisfies |= satisfying;
        group.Members.push_back(member.State);
    }
    return group;
}

// ---- Undo and redo ---------------------------------------------------------------------------

void Engine::Revert(const EngineChange& change) {
    switch (change.Kind) {
        case EngineChange::Scored:
            SetPlainScore(change.State, change.Before);
            break;
        case EngineChange::MemberAdded: {
            // The member is the open group's last; the group is made again from the others.
            std::vector<ScoredState> others;
            for (int32_t member : open_->Members) {
                if (member != change.State) others.push_back({member, Score(member)});
            }
            score_[static_cast<size_t>(change.State)] = ScoreNone;
            open_ = MakeGroup(others.data(), others.size());
            break;
        }
        case EngineChange::GroupBegun:
            open_.reset();
            break;
        case EngineChange::GroupEnded:
            if (change.HadMembers) {
                open_ = std::move(closed_.back());
                closed_.pop_back();
                RemoveMismatches(Unsatisfied(*open_));
            } else {
                open_.emplace();
                open_->Satisfies = Bits(taxa_);
            }
            break;
        case EngineChange::GroupDissolved: {
            OrGroup group = MakeGroup(change.Scores.data(), change.Scores.size());
            AddMismatches(Unsatisfied(group));
            closed_.insert(closed_.begin() + change.Place, std::move(group));
            break;
        }
        case EngineChange::Cleared: {
            size_t at = 0;
            for (; at < static_cast<size_t>(change.Place); ++at)
                SetPlainScore(change.Scores[at].State, change.Scores[at].Score);
            for (int32_t size : change.GroupSizes) {
                OrGroup group = MakeGroup(change.Scores.data() + at, static_cast<size_t>(size));
                at += static_cast<size_t>(size);
                AddMismatches(Unsatisfied(group));
                closed_.push_back(std::move(group));
            }
            if (change.HadOpenGroup) {
                open_ = MakeGroup(change.Scores.data() + at, change.Scores.size() - at);
            }
            break;
        }
    }
    MakeMatches();
    MarkCountsStale();
}

void Engine::Reapply(const EngineChange& change) {
    switch (change.Kind) {
        case EngineChange::Scored:
            SetPlainScore(change.State, change.After);
            break;
        case EngineChange::MemberAdded:
            AddOrState(change.State,
                       change.After == ScoreOrPresent ? RequestPresent : RequestAbsent);
            break;
        case EngineChange::GroupBegun:
            BeginOrGroup();
            break;
        case EngineChange::GroupEnded:
            EndOrGroup();
            break;
        case EngineChange::GroupDissolved:
            DissolveGroupOf(change.State);
            break;
        case EngineChange::Cleared:
            ClearAllScores();
            break;
    }
    MakeMatches();
    MarkCountsStale();
}

// ---- Queries --------------------------------------------------------------------------------

const std::vector<int32_t>& Engine::CountWords() {
    if (countsStale_) {
        std::fill(counts_.begin(), counts_.end(), -2);
        countWords_.clear();
        for (int32_t w = 0; w < words_; ++w) {
            if (within_.Word(w)) countWords_.push_back(w);
        }
        countsStale_ = false;
    }
    return countWords_;
}

int32_t Engine::StateMatchCount(int32_t state) {
    const std::vector<int32_t>& words = CountWords();
    int32_t& cached = counts_[static_cast<size_t>(state)];
    if (cached != -2) return cached;
    uint8_t score = score_[static_cast<size_t>(state)];
    if (score == ScoreAbsent || IsOrScore(score)) return cached = -1;
    // Taxa within the tolerance that are not coded "-": "-" is No without Yes. Only the
    // words that hold such taxa are read.
    return cached = CountCouldHave(words, within_.data(), codes_.Yes(state), codes_.No(state));
}

bool Engine::Contradicts(int32_t taxon, int32_t state) const {
    int code = codes_.Code(state, taxon);
    switch (score_[static_cast<size_t>(state)]) {
        case ScorePresent:
            return code == CodeAbsent;
        case ScoreAbsent:
            return code == CodePresent;
        default:
            return false;
    }
}

std::vector<int32_t> Engine::DifferentiatingStates() {
    std::vector<int32_t> states;
    for (int32_t s = 0; s < states_; ++s) {
        if (score_[static_cast<size_t>(s)] != ScoreNone) continue;
        int32_t n = StateMatchCount(s);
        if (n != 0 && n != matchingCount_) states.push_back(s);
    }
    std::stable_sort(states.begin(), states.end(), [this](int32_t a, int32_t b) {
        return counts_[static_cast<size_t>(a)] < counts_[static_cast<size_t>(b)];
    });
    return states;
}

std::vector<int32_t> Engine::TaxaByMismatches() const {
    std::vector<int32_t> taxa(static_cast<size_t>(taxa_));
    for (int32_t t = 0; t < taxa_; ++t)
        taxa[static_cast<size_t>(t)] = t;
    std::stable_sort(taxa.begin(), taxa.end(), [this](int32_t a, int32_t b) {
        return mismatches_[static_cast<size_t>(a)] < mismatches_[static_cast<size_t>(b)];
    });
    return taxa;
}

std::vector<int32_t> Engine::MatchingTaxaByMismatches() const {
    std::vector<int32_t> taxa = matches_.Members();
    std::stable_sort(taxa.begin(), taxa.end(), [this](int32_t a, int32_t b) {
        return mismatches_[static_cast<size_t>(a)] < mismatches_[static_cast<size_t>(b)];
    });
    return taxa;
}

namespace {

double XLog2X(double f, double k) {
    return k > 0 ? f * std::log2(k) : 0.0;
}

// The separation of a state from its numbers of taxa; below 1e-9 is rounding, and 0.
double SeparationOf(int32_t t, int32_t plus, int32_t minus) {
    if (t < 2) return 0;
    double v = t - plus - minus;
    double kP = plus + v, kA = minus + v;
    double fP = plus + v / 2, fA = minus + v / 2;
    double separation = std::log2(double(t)) - (XLog2X(fP, kP) + XLog2X(fA, kA)) / t;
    return separation < 1e-9 ? 0.0 : separation;
}

}  // namespace

const std::vector<StateSeparation>& Engine::BestStates() {
    if (!bestStale_) return best_;
    bestStale_ = false;
    best_.clear();
    const std::vector<int32_t>& words = CountWords();
    int32_t t = withinCount_;
    if (t < 2) return best_;
    // Equal values compare equal however the sums rounded: at 9 decimals.
    std::vector<std::pair<int64_t, StateSeparation>> ranked;
    for (int32_t s = 0; s < states_; ++s) {
        if (score_[static_cast<size_t>(s)] != ScoreNone) continue;
        int32_t plus = 0, minus = 0;
        CountSure(words, within_.data(), below_.data(), codes_.Yes(s), codes_.No(s), plus, minus);
        double separation = SeparationOf(t, plus, minus);
        if (separation > 0) ranked.push_back({std::llround(separation * 1e9), {s, separation}});
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& entry : ranked)
        best_.push_back(entry.second);
    return best_;
}

TaxonDifferences Engine::Differences(int32_t a, int32_t b) const {
    TaxonDifferences differences;
    for (int32_t s = 0; s < states_; ++s) {
        int codeA = codes_.Code(s, a), codeB = codes_.Code(s, b);
        bool sureA = codeA == CodePresent || codeA == CodeAbsent;
        bool sureB = codeB == CodePresent || codeB == CodeAbsent;
        if (sureA && sureB && codeA != codeB) {
            differences.Certain.push_back(s);
        } else if (sureA != sureB) {
            differences.Possible.push_back(s);
        }
    }
    return differences;
}

std::vector<int32_t> Engine::CertainDifferencesAmong(const std::vector<int32_t>& taxa) const {
    std::vector<int32_t> states;
    for (int32_t s = 0; s < states_; ++s) {
        bool present = false, absent = false;
        for (int32_t t : taxa) {
            int code = codes_.Code(s, t);
            present |= code == CodePresent;
            absent |= code == CodeAbsent;
        }
        if (present && absent) states.push_back(s);
    }
    return states;
}

std::vector<int32_t> Engine::RecountMismatches() const {
    std::vector<int32_t> counts(static_cast<size_t>(taxa_), 0);
    Bits taxa;
    for (int32_t s = 0; s < states_; ++s) {
        uint8_t score = score_[static_cast<size_t>(s)];
        if (score != ScorePresent && score != ScoreAbsent) continue;
        Contradicted(s, score, taxa);
        taxa.ForEach([&counts](int32_t t) { ++counts[static_cast<size_t>(t)]; });
    }
    for (const OrGroup& group : closed_) {
        for (int32_t t = 0; t < taxa_; ++t)
            counts[static_cast<size_t>(t)] += !group.Satisfies.Test(t);
    }
    return counts;
}

}  // namespace vorn
