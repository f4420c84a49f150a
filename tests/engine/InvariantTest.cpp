// After any sequence of scoring actions, the incrementally kept counts equal a count made
// from scratch: once by the engine's own RecomputeMatches, once by brute force here from
// the key's codes, the scores and the groups.
#include <gtest/gtest.h>

#include <random>

#include "engine/Manage.h"
#include "tests/support/EngineFixture.h"

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

    void CheckAgainstBruteForce(int step) {
        int matching = 0;
        for (int t = 0; t < Key.TaxonCount; ++t) {
            int expected = 0;
            for (int s = 0; s < Key.StateCount; ++s) {
                uint8_t score = StateScore[s];
                if ((score == ScorePresent || score == ScoreAbsent) && Fails(s, t, score)) {
                    ++expected;
                }
            }
            for (const OrGroup* g = ClosedOrGroups.get(); g; g = g->Next.get()) {
                bool satisfied = false;
                for (int s = 0; s < Key.StateCount; ++s) {
                    if (g->StateMark[s]) satisfied |= !Fails(s, t, g->StateMark[s]);
                }
                expected += !satisfied;
            }
            ASSERT_EQ(MismatchCount[t], expected) << "step " << step << " taxon " << t;
            bool matches = expected == 0;
            if (OrMode && OrGroupHasState) {
                bool satisfied = false;
                for (int s = 0; s < Key.StateCount; ++s) {
                    if (OpenOrGroup->StateMark[s])
                        satisfied |= !Fails(s, t, OpenOrGroup->StateMark[s]);
                }
                matches = matches && satisfied;
            }
            ASSERT_EQ(TaxonMatches[t] != 0, matches) << "step " << step << " taxon " << t;
            matching += matches;
        }
        ASSERT_EQ(MatchingTaxaCount, matching) << "step " << step;

        for (int s = 0; s < Key.StateCount; ++s) {
            uint8_t score = StateScore[s];
            int expected = -1;
            if (score == ScoreNone || score == ScorePresent) {
                expected = 0;
                for (int t = 0; t < Key.TaxonCount; ++t) {
                    expected += MismatchCount[t] == 0 && spec_.Codes[s][t] != '-';
                }
            }
            ASSERT_EQ(StateMatchCount(s), expected) << "step " << step << " state " << s;
            // Group marks and scores agree.
            int groups = 0;
            for (const OrGroup* g = ClosedOrGroups.get(); g; g = g->Next.get()) {
                if (g->StateMark[s]) {
                    ++groups;
                    ASSERT_EQ(g->StateMark[s], score);
                }
            }
            if (OrMode && OpenOrGroup && OpenOrGroup->StateMark[s]) {
                ++groups;
                ASSERT_EQ(OpenOrGroup->StateMark[s], score);
            }
            ASSERT_EQ(groups, (score == ScoreOrPresent || score == ScoreOrAbsent) ? 1 : 0)
                << "step " << step << " state " << s;
        }

        if (!OrMode) {
            auto mismatches = MismatchCount;
            auto matches = TaxonMatches;
            int32_t count = MatchingTaxaCount;
            RecomputeMatches();
            CountMatchingTaxa();
            ASSERT_EQ(MismatchCount, mismatches) << "step " << step;
            ASSERT_EQ(TaxonMatches, matches) << "step " << step;
            ASSERT_EQ(MatchingTaxaCount, count) << "step " << step;
        }
    }

    testing::KeySpec spec_;
};

TEST_F(Invariants, RandomSequencesKeepEveryCountExact) {
    for (uint32_t seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        spec_ = testing::RandomKey(97, 24, seed);
        Open(spec_);
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> state(0, 23), request(0, 3), pick(0, 99);
        for (int step = 0; step < 600; ++step) {
            if (pick(rng) < 12) {
                ToggleOrMode();
            } else if (pick(rng) < 2) {
                ResetKey();
            } else {
                ScoreState(state(rng), static_cast<ScoreRequest>(request(rng)));
            }
            CheckAgainstBruteForce(step);
            if (HasFatalFailure()) return;
        }
    }
}

}  // namespace
}  // namespace vorn
