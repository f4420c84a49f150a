// The questions the windows ask: state counts with their cache, mismatches, contradictions
// and the two ranked orders.
#include <gtest/gtest.h>

#include "core/session/Session.h"
#include "tests/kit/EngineFixture.h"

namespace vorn {
namespace {

using testing::EngineFixture;

class Queries : public EngineFixture {
protected:
    void SetUp() override {
        // Taxa:         012345
        Open(MakeKey({"++-?*-",     // state 0: 4 could have it
                      "+-----",     // state 1: 1
                      "++++++",     // state 2: all
                      "------",     // state 3: none
                      "-+-+-+",     // state 4: 3
                      "*+--?-"}));  // state 5: 3
    }
};

TEST_F(Queries, UnscoredStatesCountTheTaxaNotCodedAbsent) {
    EXPECT_EQ(session_.StateMatchCount(0), 4);
    EXPECT_EQ(session_.StateMatchCount(1), 1);
    EXPECT_EQ(session_.StateMatchCount(2), 6);
    EXPECT_EQ(session_.StateMatchCount(3), 0);
}

TEST_F(Queries, AbsentAndOrScoresAnswerMinusOne) {
    session_.ScoreState(0, RequestAbsent);  // taxa 0, 1 get a mismatch
    EXPECT_EQ(session_.StateMatchCount(0), -1);
    session_.ScoreState(4, RequestPresent);  // taxa 3, 5 remain
    EXPECT_EQ(session_.StateMatchCount(4), session_.MatchingTaxaCount());
    EXPECT_EQ(session_.StateMatchCount(5), 0);  // no remaining taxon can have it
    session_.ToggleOrMode();
    session_.ScoreState(5, RequestPresent);
    EXPECT_EQ(session_.StateMatchCount(5), -1);
}

TEST_F(Queries, OpenGroupsDoNotNarrowTheCountsUntilEnded) {
    session_.ToggleOrMode();
    session_.ScoreState(1, RequestPresent);  // only taxon 0 satisfies
    EXPECT_EQ(session_.MatchingTaxaCount(), 1);
    EXPECT_EQ(session_.StateMatchCount(0), 4);  // mismatches unchanged while open
    session_.ToggleOrMode();
    EXPECT_EQ(session_.StateMatchCount(0), 1);
    EXPECT_EQ(session_.StateMatchCount(4), 0);
}

TEST_F(Queries, ContradictionsOnlyForPlainScores) {
    session_.ScoreState(0, RequestPresent);
    session_.ScoreState(4, RequestAbsent);
    EXPECT_TRUE(session_.StateContradicts(2, 0));   // present, taxon lacks it
    EXPECT_FALSE(session_.StateContradicts(3, 0));  // unknown
    EXPECT_TRUE(session_.StateContradicts(1, 4));   // absent, taxon has it
    EXPECT_FALSE(session_.StateContradicts(1, 1));  // unscored
    session_.ToggleOrMode();
    session_.ScoreState(1, RequestPresent);
    session_.ToggleOrMode();
    for (int t = 0; t < 6; ++t)
        EXPECT_FALSE(session_.StateContradicts(t, 1)) << t;
    EXPECT_EQ(session_.TaxonMismatchCount(5), 3);  // state 0, state 4 and the group
}

TEST_F(Queries, DifferentiatingStatesAscendByCountTiesInStateOrder) {
    // Counts: 4, 1, 6 (all), 0, 3, 3.
    EXPECT_EQ(session_.DifferentiatingStates(), (std::vector<int32_t>{1, 4, 5, 0}));
    session_.ScoreState(4, RequestPresent);  // taxa 1, 3, 5 remain
    // state 0: taxa 1 "+", 3 "?", 5 "-" -> 2; state 1: 0; state 5: 1 "+", 3 "-", 5 "-" -> 1.
    EXPECT_EQ(session_.DifferentiatingStates(), (std::vector<int32_t>{5, 0}));
    session_.ScoreState(5, RequestPresent);  // taxon 1 alone
    EXPECT_TRUE(session_.DifferentiatingStates().empty());
}

TEST_F(Queries, TaxaByMismatchesListsEveryTaxonFewestFirst) {
    EXPECT_EQ(session_.TaxaByMismatches(), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
    session_.ScoreState(0, RequestPresent);  // one mismatch for taxa 2 and 5
    session_.ScoreState(1, RequestPresent);  // one more for taxa 1 to 5
    EXPECT_EQ(session_.TaxaByMismatches(), (std::vector<int32_t>{0, 1, 3, 4, 2, 5}));
}

}  // namespace
}  // namespace vorn
