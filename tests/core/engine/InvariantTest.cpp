// After any sequence of scoring actions, the incrementally kept counts, and the lists
// made from them, equal those made from scratch: once by the engine's own recount, once by
// brute force here from the key's code bytes, the scores and the groups. Keys of sizes around the
// 64-taxon words, and keys beyond 1,200 of either.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <random>

#include "core/platform/IoError.h"
#include "core/platform/RecordFile.h"
#include "core/session/Session.h"
#include "tests/kit/EngineFixture.h"

namespace vorn {
namespace {

using testing::EngineFixture;

class Invariants : public EngineFixture {
protected:
    // Whether taxon t's code byte contradicts a score (plain or "Or").
    bool Fails(int s, int t, uint8_t score) {
        char code = spec_.Codes[s][t];
        bool present = score == ScorePresent || score == ScoreOrPresent;
        return present ? code == '-' : code == '+';
    }
    bool Satisfies(const OrGroup& group, int t) {
        for (int32_t s : group.Members)
            if (!Fails(s, t, session_.StateScore(s))) return true;
        return false;
    }

    void CheckAgainstBruteForce(int step) {
        const Engine& engine = *session_.OpenEngine();
        std::vector<int> expected(static_cast<size_t>(session_.Key.TaxonCount), 0);
        for (int s = 0; s < session_.Key.StateCount; ++s) {
            uint8_t score = session_.StateScore(s);
            if (score != ScorePresent && score != ScoreAbsent) continue;
            for (int t = 0; t < session_.Key.TaxonCount; ++t)
                expected[t] += Fails(s, t, score);
        }
        std::vector<int> groupsOf(static_cast<size_t>(session_.Key.StateCount), 0);
        for (const OrGroup& g : engine.ClosedGroups()) {
            for (int t = 0; t < session_.Key.TaxonCount; ++t)
                expected[t] += !Satisfies(g, t);
            for (int32_t s : g.Members)
                ++groupsOf[s];
        }
        const auto& open = engine.OpenGroup();
        if (open) {
            for (int32_t s : open->Members)
                ++groupsOf[s];
        }
        int matching = 0;
        for (int t = 0; t < session_.Key.TaxonCount; ++t) {
            ASSERT_EQ(session_.TaxonMismatchCount(t), expected[t])
                << "step " << step << " taxon " << t;
            bool matches = expected[t] <= session_.Tolerance();
            if (open && !open->Members.empty()) matches = matches && Satisfies(*open, t);
            ASSERT_EQ(session_.TaxonMatches(t), matches) << "step " << step << " taxon " << t;
            matching += matches;
        }
        ASSERT_EQ(session_.MatchingTaxaCount(), matching) << "step " << step;
        std::vector<int32_t> recount = engine.RecountMismatches();
        ASSERT_EQ(recount, std::vector<int32_t>(expected.begin(), expected.end()));

        int t = 0;  // taxa within the tolerance
        for (int taxon = 0; taxon < session_.Key.TaxonCount; ++taxon)
            t += expected[taxon] <= session_.Tolerance();
        std::vector<std::pair<int32_t, double>> best;
        for (int s = 0; s < session_.Key.StateCount; ++s) {
            uint8_t score = session_.StateScore(s);
            int count = -1;
            if (score == ScoreNone || score == ScorePresent) {
                count = 0;
                for (int t = 0; t < session_.Key.TaxonCount; ++t)
                    count += expected[t] <= session_.Tolerance() && spec_.Codes[s][t] != '-';
            }
            ASSERT_EQ(session_.StateMatchCount(s), count) << "step " << step << " state " << s;
            if (score == ScoreNone && t >= 2) {
                int plus = 0, minus = 0;
                for (int t2 = 0; t2 < session_.Key.TaxonCount; ++t2) {
                    if (expected[t2] != session_.Tolerance())
                        continue;  // fewer: survives either way
                    plus += spec_.Codes[s][t2] == '+';
                    minus += spec_.Codes[s][t2] == '-';
                }
                double v = t - plus - minus;
                auto term = [](double f, double k) { return k > 0 ? f * std::log2(k) : 0.0; };
                double sep = std::log2(double(t)) -
                             (term(plus + v / 2, plus + v) + term(minus + v / 2, minus + v)) / t;
                if (sep >= 1e-9) best.emplace_back(s, sep);
            }
            ASSERT_EQ(groupsOf[s], (score == ScoreOrPresent || score == ScoreOrAbsent) ? 1 : 0)
                << "step " << step << " state " << s;
        }
        CheckListsAgainstBruteForce(step, expected, matching);
        if (HasFatalFailure()) return;
        std::stable_sort(best.begin(), best.end(), [](const auto& a, const auto& b) {
            return std::round(a.second * 1e9) > std::round(b.second * 1e9);
        });
        std::vector<StateSeparation> engineBest = session_.BestStates();
        ASSERT_EQ(engineBest.size(), best.size()) << "step " << step;
        for (size_t i = 0; i < best.size(); ++i) {
            ASSERT_EQ(engineBest[i].State, best[i].first) << "step " << step << " place " << i;
            ASSERT_NEAR(engineBest[i].Separation, best[i].second, 1e-12);
        }
    }

    // The lists the windows show, made here from the brute-force mismatches: the
    // Differentiating states (unscored, counted by the taxa within the tolerance, neither
    // none nor all of the `matching` taxa, fewest first) and the taxa ranked by
    // mismatches, all of them and the matching ones, in taxon order among equals.
    void CheckListsAgainstBruteForce(int step, const std::vector<int>& expected, int matching) {
        const int32_t taxa = session_.Key.TaxonCount;
        std::vector<std::pair<int, int32_t>> differentiating;  // count, state
        for (int32_t s = 0; s < session_.Key.StateCount; ++s) {
            if (session_.StateScore(s) != ScoreNone) continue;
            int count = 0;
            for (int32_t t = 0; t < taxa; ++t)
                count += expected[t] <= session_.Tolerance() && spec_.Codes[s][t] != '-';
            if (count != 0 && count != matching) differentiating.emplace_back(count, s);
        }
        std::sort(differentiating.begin(), differentiating.end());
        std::vector<int32_t> states;
        for (const auto& [count, s] : differentiating)
            states.push_back(s);
        ASSERT_EQ(session_.DifferentiatingStates(), states) << "step " << step;

        std::vector<std::pair<int, int32_t>> ranked;  // mismatches, taxon
        for (int32_t t = 0; t < taxa; ++t)
            ranked.emplace_back(expected[t], t);
        std::sort(ranked.begin(), ranked.end());
        std::vector<int32_t> all, matches;
        for (const auto& [mismatches, t] : ranked) {
            all.push_back(t);
            if (session_.TaxonMatches(t)) matches.push_back(t);
        }
        ASSERT_EQ(session_.TaxaByMismatches(), all) << "step " << step;
        ASSERT_EQ(session_.MatchingTaxaByMismatches(), matches) << "step " << step;
    }

    // Random actions on a random key, checked after each (or every `every`).
    void RunRandom(int32_t taxa, int32_t states, uint32_t seed, int steps, int every = 1,
                   bool tolerances = false) {
        SCOPED_TRACE(std::to_string(taxa) + " x " + std::to_string(states) + " seed " +
                     std::to_string(seed));
        spec_ = testing::RandomKey(taxa, states, seed);
        Open(spec_);
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> state(0, states - 1), request(0, 3), pick(0, 99);
        for (int step = 0; step < steps; ++step) {
            if (pick(rng) < 12) {
                session_.ToggleOrMode();
            } else if (pick(rng) < 2) {
                ResetKey(session_);
            } else if (tolerances && pick(rng) < 8) {
                session_.ChangeTolerance(pick(rng) % 4);
            } else {
                session_.ScoreState(state(rng), static_cast<ScoreRequest>(request(rng)));
            }
            if (step % every == 0 || step == steps - 1) CheckAgainstBruteForce(step);
            if (HasFatalFailure()) return;
        }
    }

    testing::KeySpec spec_;
};

TEST_F(Invariants, RandomSequencesKeepEveryCountExact) {
    for (uint32_t seed : {1u, 2u, 3u, 4u}) {
        RunRandom(97, 24, seed, 600);
        if (HasFatalFailure()) return;
    }
}

// Every query follows the tolerance, changed at random between 0 and 3 in the middle of
// scoring and "Or" groups.
TEST_F(Invariants, EveryCountFollowsTheTolerance) {
    for (uint32_t seed : {21u, 22u, 23u}) {
        RunRandom(130, 40, seed, 500, 1, true);
        if (HasFatalFailure()) break;
    }
    session_.ChangeTolerance(0);
}

TEST_F(Invariants, SizesAcrossWordBoundariesAndBeyondTheOldCapacity) {
    uint32_t seed = 10;
    for (int32_t taxa : {1, 63, 64, 65, 127, 128, 129}) {
        for (int32_t states : {1, 63, 64, 65, 127, 128, 129}) {
            RunRandom(taxa, states, ++seed, 120, 3);
            if (HasFatalFailure()) return;
        }
    }
    // The same sizes with the tolerance changed at random among the actions.
    for (int32_t taxa : {63, 127, 128}) {
        for (int32_t states : {127, 128}) {
            RunRandom(taxa, states, ++seed, 150, 2, true);
            if (HasFatalFailure()) return;
        }
    }
    session_.ChangeTolerance(0);
    RunRandom(1300, 40, 90, 200, 10);
    RunRandom(40, 1250, 91, 200, 10);
}

// The codes are read when the key opens: a matrix that cannot be read whole refuses the
// key then, and no action reads a file afterwards.
TEST_F(Invariants, AReadFaultWhileOpeningRefusesTheKeyAndActionsReadNothing) {
    spec_ = testing::RandomKey(97, 24, 7);
    std::string des = testing::WriteKey(dir_.Path(), spec_);
    for (int failAt : {0, 1, 30, 24 * 3 - 1}) {
        int reads = 0;
        RecordFile::SetReadFault([&](const std::string& file, int32_t) {
            return file == "RANDOM.DAT" && reads++ == failAt ? EIO : 0;
        });
        try {
            OpenKey(session_, des);
            ADD_FAILURE() << "a failed read of the matrix went unnoticed, read " << failAt;
        } catch (const IoError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot read \"RANDOM.DAT\": Input/output error.");
        }
        RecordFile::SetReadFault(nullptr);
        EXPECT_FALSE(session_.Key.KeyOpen);
        EXPECT_EQ(session_.OpenEngine(), nullptr);
    }

    Open(spec_);
    RecordFile::SetReadFault(
        [](const std::string& file, int32_t) { return file == "RANDOM.DAT" ? EIO : 0; });
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> state(0, 23), request(0, 3);
    for (int step = 0; step < 200; ++step) {
        session_.ScoreState(state(rng), static_cast<ScoreRequest>(request(rng)));
        if (step % 20 == 19) session_.ToggleOrMode();
    }
    RecordFile::SetReadFault(nullptr);
    CheckAgainstBruteForce(200);
}

}  // namespace
}  // namespace vorn
