#include "core/engine/Efficiency.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <memory>
#include <numeric>
#include <random>
#include <utility>

#include "core/engine/Engine.h"
#include "core/key/KeyFiles.h"

namespace vorn {
namespace {

// How much list-making work (states times words of taxa) passes between two questions to
// the progress callback.
constexpr int64_t kWorkBetweenProgress = int64_t{1} << 21;

// A number below `n` (n > 0), without the bias of a plain remainder; the standard
// distributions may differ between libraries, and a sample must not.
uint64_t Below(std::mt19937_64& random, uint64_t n) {
    constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
    const uint64_t limit = kMax - kMax % n;
    uint64_t r = random();
    while (r >= limit)
        r = random();
    return r % n;
}

// `count` distinct taxa of `taxa`, drawn with `seed`, in taxon order.
std::vector<int32_t> DrawTaxa(int32_t taxa, int32_t count, uint64_t seed) {
    std::vector<int32_t> all(static_cast<size_t>(taxa));
    std::iota(all.begin(), all.end(), 0);
    std::mt19937_64 random(seed);
    for (int32_t i = 0; i < count; ++i) {
        auto pick = static_cast<size_t>(i) + Below(random, static_cast<uint64_t>(taxa - i));
        std::swap(all[static_cast<size_t>(i)], all[pick]);
    }
    all.resize(static_cast<size_t>(count));
    std::sort(all.begin(), all.end());
    return all;
}

enum class ListKind { Best, Differentiating };

// A place whose matching taxa are at most this fraction of its engine's moves on to an
// engine of its own over just those taxa: every list below it then reads fewer words.
constexpr int32_t kNarrowingRatio = 8;
// No engine is made for fewer taxa than this: a word or two is read as fast as fewer.
constexpr int32_t kNarrowestEngine = 128;

// The specimens at plays_[Begin, End) answer State with Answer next.
struct Branch {
    int32_t State;
    ScoreRequest Answer;
    size_t Begin, End;
};

// A place in the tree of plays: where the plays that gave the same answers so far stand.
struct Place {
    std::vector<Branch> Branches;
    size_t Next = 0;
    int32_t Applied = -1;    // the state of the branch being played, scored on the engine
    bool OwnsLevel = false;  // the place made the engine its branches are played on
};

// An engine over some of the key's taxa, with the answers of the path that led to it.
// States keep their numbers, so lists and their order are those of an engine over every
// taxon: the taxa left out have mismatches there and never count again further down.
struct Level {
    CodeMatrix Codes;           // the taxa's codes (unused at the first level)
    std::vector<int32_t> Taxa;  // the key's number of each taxon (empty: every taxon)
    std::unique_ptr<Engine> Scores;
};

// Plays the specimens of one list kind, depth first, scoring a branch's answer on the way
// down and clearing it on the way back: an engine's lists depend only on its set of
// scores, so each place sees what a fresh engine given its answers would.
class Player {
public:
    Player(const CodeMatrix& codes, int tolerance, const std::vector<int32_t>& played,
           ListKind kind, EfficiencyOrder& result)
        : codes_(codes), tolerance_(tolerance), played_(played), kind_(kind), result_(result) {
        auto first = std::make_unique<Level>();
        first->Scores = std::make_unique<Engine>(codes);
        first->Scores->SetTolerance(tolerance);
        levels_.push_back(std::move(first));
        plays_.resize(played.size());
        std::iota(plays_.begin(), plays_.end(), size_t{0});
        result_.Answers.assign(played.size(), 0);
    }

    // Plays every specimen; false when `progress` cancelled. `doneBefore` and `total`
    // place this kind's plays in the fraction told.
    bool Play(const std::function<bool(double)>& progress, size_t doneBefore, size_t total) {
        progress_ = &progress;
        doneBefore_ = doneBefore;
        total_ = total;
        std::vector<Place> path;
        path.push_back(Visit(0, plays_.size()));
        while (!path.empty() && !cancelled_) {
            Place& place = path.back();
            if (place.Applied >= 0) {
                Scores().ApplyScoreRequest(place.Applied, RequestClear);
                answers_.pop_back();
                place.Applied = -1;
            }
            if (place.Next == place.Branches.size()) {
                if (place.OwnsLevel) levels_.pop_back();
                path.pop_back();
                continue;
            }
            const Branch branch = place.Branches[place.Next++];
            Scores().ApplyScoreRequest(branch.State, branch.Answer);
            answers_.emplace_back(branch.State, branch.Answer);
            place.Applied = branch.State;
            Place next = Visit(branch.Begin, branch.End);
            path.push_back(std::move(next));
        }
        return !cancelled_;
    }

private:
    Engine& Scores() { return *levels_.back()->Scores; }

    // Moves the plays on to an engine over the taxa matching here, given the same answers.
    void Narrow() {
        const Level& from = *levels_.back();
        auto level = std::make_unique<Level>();
        ForEachMatching([&](int32_t taxon) { level->Taxa.push_back(taxon); });
        level->Codes.AssignTaxa(from.Taxa.empty() ? codes_ : from.Codes, Scores().MatchingTaxa());
        if (!from.Taxa.empty()) {
            for (int32_t& taxon : level->Taxa)
                taxon = from.Taxa[static_cast<size_t>(taxon)];
        }
        level->Scores = std::make_unique<Engine>(level->Codes);
        level->Scores->SetTolerance(tolerance_);
        for (auto [state, answer] : answers_)
            level->Scores->ApplyScoreRequest(state, answer);
        levels_.push_back(std::move(level));
    }

    // Ends the plays at plays_[begin, end) that stop here and returns the branches of the
    // others.
    Place Visit(size_t begin, size_t end) {
        Place place;
        const auto answers = static_cast<int32_t>(answers_.size());
        int32_t matching = Scores().MatchingCount();
        if (matching <= 1) {
            // Only the specimen matches: its answers never contradict it.
            for (size_t i = begin; i < end; ++i)
                Finish(plays_[i], answers, -1);
            return place;
        }
        if (matching >= kNarrowestEngine && matching <= Scores().TaxonCount() / kNarrowingRatio) {
            Narrow();
            place.OwnsLevel = true;
        }
        list_.clear();
        if (kind_ == ListKind::Best) {
            for (const StateSeparation& s : Scores().BestStates())
                list_.push_back(s.State);
        } else {
            list_ = Scores().DifferentiatingStates();
        }
        work_ += int64_t{codes_.StateCount()} * (1 + Scores().TaxonCount() / 64);

        // The answer of each specimen that goes on: the first listed state it has coded
        // "+" or "-", as (place in the list, Absent) to group by.
        going_.clear();
        int32_t endIndex = -1;
        for (size_t i = begin; i < end; ++i) {
            size_t play = plays_[i];
            int32_t taxon = played_[play];
            size_t at = 0;
            int code = CodeUnknown;
            for (; at < list_.size(); ++at) {
                code = codes_.Code(list_[at], taxon);
                if (code == CodePresent || code == CodeAbsent) break;
            }
            if (at == list_.size()) {
                if (endIndex < 0) endIndex = AddEnd();
                Finish(play, answers, endIndex);
                continue;
            }
            going_.push_back({at * 2 + (code == CodeAbsent), play});
        }
        std::sort(going_.begin(), going_.end());
        for (size_t i = 0; i < going_.size();) {
            size_t j = i;
            while (j < going_.size() && going_[j].first == going_[i].first) {
                plays_[begin + j] = going_[j].second;
                ++j;
            }
            int32_t state = list_[going_[i].first / 2];
            ScoreRequest answer = going_[i].first % 2 ? RequestAbsent : RequestPresent;
            place.Branches.push_back({state, answer, begin + i, begin + j});
            i = j;
        }
        AskProgress();
        return place;
    }

    // Calls f with each taxon that matches on the current engine, by its number there.
    template <class F>
    void ForEachMatching(F&& f) {
        Scores().MatchingTaxa().ForEach(f);
    }

    // The matching taxa here, by the key's numbers, as a new end of unreached plays.
    int32_t AddEnd() {
        const std::vector<int32_t>& numbers = levels_.back()->Taxa;
        std::vector<int32_t> taxa;
        taxa.reserve(static_cast<size_t>(Scores().MatchingCount()));
        ForEachMatching([&](int32_t taxon) {
            taxa.push_back(numbers.empty() ? taxon : numbers[static_cast<size_t>(taxon)]);
        });
        result_.Ends.push_back(std::move(taxa));
        return static_cast<int32_t>(result_.Ends.size() - 1);
    }

    void Finish(size_t play, int32_t answers, int32_t endIndex) {
        result_.Answers[play] = answers;
        if (endIndex < 0) {
            ++result_.Reached;
        } else {
            result_.NotReached.push_back({played_[play], endIndex});
        }
        ++done_;
    }

    void AskProgress() {
        if (work_ < kWorkBetweenProgress || !*progress_) return;
        work_ = 0;
        double fraction = total_ ? double(doneBefore_ + done_) / double(total_) : 1.0;
        if (!(*progress_)(fraction)) cancelled_ = true;
    }

    const CodeMatrix& codes_;
    const int tolerance_;
    const std::vector<int32_t>& played_;
    const ListKind kind_;
    EfficiencyOrder& result_;
    std::vector<std::unique_ptr<Level>> levels_;
    std::vector<std::pair<int32_t, ScoreRequest>> answers_;  // on the path to the place
    std::vector<size_t> plays_;  // indices into played_, grouped by the branches
    std::vector<int32_t> list_;
    std::vector<std::pair<size_t, size_t>> going_;
    const std::function<bool(double)>* progress_ = nullptr;
    size_t doneBefore_ = 0, total_ = 0, done_ = 0;
    int64_t work_ = 0;
    bool cancelled_ = false;
};

void Summarize(EfficiencyOrder& order) {
    std::sort(order.NotReached.begin(), order.NotReached.end(),
              [](const UnreachedTaxon& a, const UnreachedTaxon& b) { return a.Taxon < b.Taxon; });
    if (order.Answers.empty()) return;
    std::vector<int32_t> sorted = order.Answers;
    std::sort(sorted.begin(), sorted.end());
    size_t n = sorted.size();
    order.Mean = std::accumulate(sorted.begin(), sorted.end(), 0.0) / double(n);
    order.Median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2.0;
    order.Max = sorted.back();
}

}  // namespace

std::vector<int32_t> EfficiencyOrder::LeftWith(size_t i) const {
    const UnreachedTaxon& unreached = NotReached[i];
    std::vector<int32_t> taxa;
    for (int32_t t : Ends[static_cast<size_t>(unreached.End)]) {
        if (t != unreached.Taxon) taxa.push_back(t);
    }
    return taxa;
}

Efficiency MeasureEfficiency(const CodeMatrix& codes, int tolerance, int32_t sample, uint64_t seed,
                             const std::function<bool(double)>& progress) {
    Efficiency result;
    result.Taxa = codes.TaxonCount();
    result.Log2Taxa = result.Taxa > 1 ? std::log2(double(result.Taxa)) : 0.0;
    result.Tolerance = std::max(tolerance, 0);
    sample = std::max(sample, 1);
    if (result.Taxa > sample) {
        result.Sampled = true;
        result.Seed = seed;
        result.Played = DrawTaxa(result.Taxa, sample, seed);
    } else {
        result.Played.resize(static_cast<size_t>(result.Taxa));
        std::iota(result.Played.begin(), result.Played.end(), 0);
    }

    size_t total = 2 * result.Played.size();
    bool done = Player(codes, result.Tolerance, result.Played, ListKind::Best, result.Best)
                    .Play(progress, 0, total) &&
                Player(codes, result.Tolerance, result.Played, ListKind::Differentiating,
                       result.Differentiating)
                    .Play(progress, result.Played.size(), total);
    if (!done) {
        result.Best = {};
        result.Differentiating = {};
        result.Complete = false;
        return result;
    }
    if (progress) progress(1.0);
    Summarize(result.Best);
    Summarize(result.Differentiating);
    return result;
}

}  // namespace vorn
