// After any sequence of scoring actions, the incrementally kept counts equal a count made
// from scratch: once by the engine's own RecomputeMatches, once by brute force here from
// the key's codes, the scores and the groups.
#include <gtest/gtest.h>

#include <random>

#include "core/platform/IoError.h"
#include "core/session/Scoring.h"
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

    // Everything an action may change, to compare before and after a failed one.
    static std::string EngineState() {
        std::string text = Scores() + "|" + Matches() + "|" + std::to_string(MatchingTaxaCount) +
                           (OrMode ? "|or" : "|") + (OrGroupHasState ? "+" : "");
        for (int32_t m : Mismatches())
            text += " " + std::to_string(m);
        auto group = [&](const OrGroup& g) {
            text += "|";
            for (int s = 0; s < Key.StateCount; ++s)
                text += static_cast<char>('0' + g.StateMark[s]);
            for (int t = 0; t < Key.TaxonCount; ++t)
                text += static_cast<char>('0' + g.TaxonSatisfies[t]);
        };
        if (OpenOrGroup) group(*OpenOrGroup);
        for (const OrGroup* g = ClosedOrGroups.get(); g; g = g->Next.get())
            group(*g);
        return text;
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

// A read of the matrix fails at every record position of every action in turn: the
// failed action changes nothing, and once the file reads again the action gives the
// counts a recount gives.
TEST_F(Invariants, AnActionWhoseReadFailsChangesNothing) {
    spec_ = testing::RandomKey(97, 24, 7);
    Open(spec_);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> state(0, 23), request(0, 3), pick(0, 99);
    int failures = 0;
    for (int step = 0; step < 300; ++step) {
        if (pick(rng) < 12) {
            ToggleOrMode();
            continue;
        }
        int32_t s = state(rng);
        auto r = static_cast<ScoreRequest>(request(rng));
        for (int failAt = 0;; ++failAt) {
            std::string before = EngineState();
            EmptyMatrixRecordCache();
            int reads = 0;
            RecordFile::SetReadFault([&](const std::string& file, int32_t) {
                return file == Key.DatFileName && reads++ == failAt ? EIO : 0;
            });
            bool failed = false;
            try {
                ScoreState(s, r);
            } catch (const IoError& e) {
                failed = true;
                ++failures;
                EXPECT_EQ(std::string(e.what()),
                          "Cannot read \"" + Key.DatFileName + "\": Input/output error.");
            }
            RecordFile::SetReadFault(nullptr);
            if (!failed) break;
            ASSERT_EQ(EngineState(), before) << "step " << step << ", read " << failAt;
        }
        CheckAgainstBruteForce(step);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(failures, 300);  // the actions did read, and each read was made to fail
}

}  // namespace
}  // namespace vorn
