// Plain scores: every request on every score, and what reaches the windows.
#include <gtest/gtest.h>

#include "core/session/Session.h"
#include "tests/kit/EngineFixture.h"

namespace vorn {
namespace {

using testing::EngineFixture;

class Scoring : public EngineFixture {
protected:
    void SetUp() override {
        // Taxa:         0123
        Open(MakeKey({"+-?*",     // state 0
                      "-+-+",     // state 1
                      "++--",     // state 2
                      "????"}));  // state 3
    }
};

TEST_F(Scoring, PresentGivesAMismatchToEveryTaxonCodedAbsent) {
    session_.ScoreState(0, RequestPresent);
    EXPECT_EQ(Matches(), "1011");  // unknown and variable keep matching
    EXPECT_EQ(session_.MatchingTaxaCount(), 3);
    EXPECT_EQ(Scores(), "+...");
}

TEST_F(Scoring, PresentThenAbsentMovesTheMismatches) {
    session_.ScoreState(1, RequestPresent);
    EXPECT_EQ(Matches(), "0101");
    session_.ScoreState(1, RequestAbsent);
    EXPECT_EQ(Matches(), "1010");
    EXPECT_EQ(Mismatches(), (std::vector<int32_t>{0, 1, 0, 1}));
    EXPECT_EQ(session_.MatchingTaxaCount(), 2);
}

TEST_F(Scoring, ToggleCyclesNonePresentAbsentNone) {
    session_.ScoreState(2, RequestToggle);
    EXPECT_EQ(Scores(), "..+.");
    EXPECT_EQ(Matches(), "1100");
    session_.ScoreState(2, RequestToggle);
    EXPECT_EQ(Scores(), "..-.");
    EXPECT_EQ(Matches(), "0011");
    session_.ScoreState(2, RequestToggle);
    EXPECT_EQ(Scores(), "....");
    EXPECT_EQ(Matches(), "1111");
}

TEST_F(Scoring, RequestsThatChangeNothingStillRefreshAndReachTheHistory) {
    session_.ScoreState(3, RequestClear);  // unscored: nothing to clear
    EXPECT_EQ(refreshes_, 1);
    EXPECT_TRUE(history_.empty());  // its score stays none

    session_.ScoreState(0, RequestPresent);
    session_.ScoreState(0, RequestPresent);  // already present
    EXPECT_EQ(Scores(), "+...");
    EXPECT_EQ(Mismatches(), (std::vector<int32_t>{0, 1, 0, 0}));
    EXPECT_EQ(history_, (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(refreshes_, 3);

    session_.ScoreState(0, RequestClear);
    EXPECT_EQ(history_.size(), 2u);  // cleared: not passed on
    EXPECT_EQ(refreshes_, 4);
}

TEST_F(Scoring, NoSelectionOrNoKeyDoesNothingAtAll) {
    session_.ScoreState(-1, RequestPresent);
    session_.ScoreState(4, RequestPresent);  // beyond the key's states
    EXPECT_EQ(refreshes_, 0);
    EXPECT_EQ(Scores(), "....");
    CloseKey(session_);
    session_.ScoreState(0, RequestPresent);
    session_.ToggleOrMode();
    EXPECT_EQ(refreshes_, 0);
    EXPECT_EQ(orRedraws_, 0);
    EXPECT_FALSE(session_.OrMode());
}

TEST_F(Scoring, TwoContradictionsNeedTwoClearsAndTheCountChangesOnceEachWay) {
    session_.ScoreState(0, RequestPresent);  // taxon 1 absent
    session_.ScoreState(2, RequestPresent);  // taxa 2, 3 absent
    session_.ScoreState(1, RequestAbsent);   // taxa 1, 3 present
    EXPECT_EQ(Mismatches(), (std::vector<int32_t>{0, 2, 1, 2}));
    EXPECT_EQ(session_.MatchingTaxaCount(), 1);
    session_.ScoreState(0, RequestClear);
    EXPECT_EQ(Matches(), "1000");
    session_.ScoreState(1, RequestClear);
    EXPECT_EQ(Matches(), "1100");
    EXPECT_EQ(session_.MatchingTaxaCount(), 2);
}

TEST_F(Scoring, ClearAllScoresForgetsEverything) {
    session_.ScoreState(0, RequestPresent);
    session_.ToggleOrMode();
    session_.ScoreState(1, RequestPresent);
    session_.OpenEngine()->ClearAllScores();
    EXPECT_EQ(Scores(), "....");
    EXPECT_EQ(Matches(), "1111");
    EXPECT_EQ(session_.MatchingTaxaCount(), 4);
    EXPECT_FALSE(session_.OrMode());
    EXPECT_FALSE(session_.OpenEngine()->OpenGroup());
    EXPECT_TRUE(session_.OpenEngine()->ClosedGroups().empty());
}

TEST_F(Scoring, ResetEndsTheOpenGroupThenClearsAndRefreshes) {
    session_.ToggleOrMode();
    session_.ScoreState(0, RequestPresent);
    int before = refreshes_;
    ResetKey(session_);
    EXPECT_FALSE(session_.OrMode());
    EXPECT_TRUE(session_.OpenEngine()->ClosedGroups().empty());
    EXPECT_EQ(Scores(), "....");
    EXPECT_EQ(refreshes_, before + 1);
    EXPECT_EQ(orRedraws_, 2);  // begin, and the end forced by the reset

    // Once the key is closed nothing matches, and a reset refreshes (opens) nothing.
    CloseKey(session_);
    EXPECT_EQ(session_.MatchingTaxaCount(), 0);
    before = refreshes_;
    ResetKey(session_);
    EXPECT_EQ(session_.MatchingTaxaCount(), 0);
    EXPECT_EQ(refreshes_, before);
}

}  // namespace
}  // namespace vorn
