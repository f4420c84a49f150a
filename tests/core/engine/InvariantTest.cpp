// After any sequence of scoring actions, the incrementally kept counts equal a count made
// from scratch: once by the engine's own recount, once by brute force here from the key's
// code bytes, the scores and the groups. Keys of sizes around the 64-taxon words, and
// keys beyond 1,200 of either.
#include <gtest/gtest.h>

#include <cerrno>
#include <random>

#include "core/platform/IoError.h"
#include "core/platform/RecordFile.h"
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
    bool Satisfies(const OrGroup& group, int t) {
        for (int32_t s : group.Members)
            if (!Fails(s, t, StateScore(s))) return true;
        return false;
    }

    void CheckAgainstBruteForce(int step) {
        const Engine& engine = *OpenEngine();
        std::vector<int> expected(static_cast<size_t>(Key.TaxonCount), 0);
        for (int s = 0; s < Key.StateCount; ++s) {
            uint8_t score = StateScore(s);
            if (score != ScorePresent && score != ScoreAbsent) continue;
            for (int t = 0; t < Key.TaxonCount; ++t)
                expected[t] += Fails(s, t, score);
        }
        std::vector<int> groupsOf(static_cast<size_t>(Key.StateCount), 0);
        for (const OrGroup& g : engine.ClosedGroups()) {
            for (int t = 0; t < Key.TaxonCount; ++t)
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
        for (int t = 0; t < Key.TaxonCount; ++t) {
            ASSERT_EQ(TaxonMismatchCount(t), expected[t]) << "step " << step << " taxon " << t;
            bool matches = expected[t] <= Tolerance();
            if (open && !open->Members.empty()) matches = matches && Satisfies(*open, t);
            ASSERT_EQ(TaxonMatches(t), matches) << "step " << step << " taxon " << t;
            matching += matches;
        }
        ASSERT_EQ(MatchingTaxaCount(), matching) << "step " << step;
        std::vector<int32_t> recount = engine.RecountMismatches();
        ASSERT_EQ(recount, std::vector<int32_t>(expected.begin(), expected.end()));

        for (int s = 0; s < Key.StateCount; ++s) {
            uint8_t score = StateScore(s);
            int count = -1;
            if (score == ScoreNone || score == ScorePresent) {
                count = 0;
                for (int t = 0; t < Key.TaxonCount; ++t)
                    count += expected[t] <= Tolerance() && spec_.Codes[s][t] != '-';
            }
            ASSERT_EQ(StateMatchCount(s), count) << "step " << step << " state " << s;
            ASSERT_EQ(groupsOf[s], (score == ScoreOrPresent || score == ScoreOrAbsent) ? 1 : 0)
                << "step " << step << " state " << s;
        }
    }

    // Random actions on a random key, checked after each (or every `every`).
    void RunRandom(int32_t taxa, int32_t states, uint32_t seed, int steps, int every = 1) {
        SCOPED_TRACE(std::to_string(taxa) + " x " + std::to_string(states) + " seed " +
                     std::to_string(seed));
        spec_ = testing::RandomKey(taxa, states, seed);
        Open(spec_);
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> state(0, states - 1), request(0, 3), pick(0, 99);
        for (int step = 0; step < steps; ++step) {
            if (pick(rng) < 12) {
                ToggleOrMode();
            } else if (pick(rng) < 2) {
                ResetKey();
            } else {
                ScoreState(state(rng), static_cast<ScoreRequest>(request(rng)));
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

TEST_F(Invariants, SizesAcrossWordBoundariesAndBeyondTheOldCapacity) {
    uint32_t seed = 10;
    for (int32_t taxa : {1, 63, 64, 65, 127, 128, 129}) {
        for (int32_t states : {1, 63, 64, 65, 129}) {
            RunRandom(taxa, states, ++seed, 120, 3);
            if (HasFatalFailure()) return;
        }
    }
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
            OpenKey(des);
            ADD_FAILURE() << "a failed read of the matrix went unnoticed, read " << failAt;
        } catch (const IoError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot read \"RANDOM.DAT\": Input/output error.");
        }
        RecordFile::SetReadFault(nullptr);
        EXPECT_FALSE(Key.KeyOpen);
        EXPECT_EQ(OpenEngine(), nullptr);
    }

    Open(spec_);
    RecordFile::SetReadFault(
        [](const std::string& file, int32_t) { return file == "RANDOM.DAT" ? EIO : 0; });
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> state(0, 23), request(0, 3);
    for (int step = 0; step < 200; ++step) {
        ScoreState(state(rng), static_cast<ScoreRequest>(request(rng)));
        if (step % 20 == 19) ToggleOrMode();
    }
    RecordFile::SetReadFault(nullptr);
    CheckAgainstBruteForce(200);
}

}  // namespace
}  // namespace vorn
