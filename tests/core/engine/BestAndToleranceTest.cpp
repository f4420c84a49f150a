// The states that best split the matching taxa, worked out by hand; and tolerance of
// mismatches: what matches, what the counts count.
#include <gtest/gtest.h>

#include <cmath>

#include "core/session/Modes.h"
#include "core/session/Session.h"
#include "tests/kit/EngineFixture.h"

namespace vorn {
namespace {

using testing::EngineFixture;

class BestStatesTest : public EngineFixture {
protected:
    ~BestStatesTest() override { session_.ToleranceMode = 0; }
    std::vector<std::pair<int32_t, double>> Best() {
        std::vector<std::pair<int32_t, double>> best;
        for (const StateSeparation& s : session_.BestStates())
            best.emplace_back(s.State, std::round(s.Separation * 1e4) / 1e4);
        return best;
    }
};

TEST_F(BestStatesTest, SeparationWorkedByHand) {
    // Taxa:      0123
    Open(MakeKey({"+?--",     // n+ 1, n- 2, nv 1: kP 2, kA 3, fP 1.5, fA 2.5:
                              // 2 - (1.5 log2 2 + 2.5 log2 3) / 4 = 0.6344
                  "++++",     // every taxon has it: 0, not listed
                  "????",     // every taxon may have it: 0 (rounding aside), not listed
                  "*?*?",     // the same with "*"
                  "++--",     // halves: 1
                  "-++-",     // halves too: 1, after the state before it
                  "+---"}));  // 1 against 3: 2 - (1 * 0 + 3 log2 3) / 4 = 0.8113
    EXPECT_EQ(Best(), (std::vector<std::pair<int32_t, double>>{
                          {4, 1.0}, {5, 1.0}, {6, 0.8113}, {0, 0.6344}}));

    // Scored states are left out; so are "Or" members.
    session_.ScoreState(1, RequestPresent);  // every taxon has it: nothing changes but its score
    session_.ToggleOrMode();
    session_.ScoreState(5, RequestPresent);
    EXPECT_EQ(Best(),
              (std::vector<std::pair<int32_t, double>>{{4, 1.0}, {6, 0.8113}, {0, 0.6344}}));
    session_.ToggleOrMode();  // taxa 0 and 3 fail the group

    // Over taxa 1 and 2: state 0 is "?" and "-": n- 1, nv 1: kP 1, kA 2, fP 0.5, fA 1.5:
    // 1 - (0.5 log2 1 + 1.5 log2 2) / 2 = 0.25. State 6 is "-" for both: 0.
    EXPECT_EQ(Best(), (std::vector<std::pair<int32_t, double>>{{4, 1.0}, {0, 0.25}}));
    EXPECT_EQ(session_.MatchingTaxaCount(), 2);

    // One taxon left: nothing to split.
    session_.ScoreState(4, RequestPresent);
    EXPECT_EQ(session_.MatchingTaxaCount(), 1);
    EXPECT_TRUE(session_.BestStates().empty());
}

TEST_F(BestStatesTest, ToleranceLetsTaxaWithMismatchesMatchEverywhere) {
    // Taxa:      0123
    Open(MakeKey({"+---", "++--", "+-+-", "+?+-"}));
    session_.ScoreState(0, RequestPresent);  // taxa 1, 2, 3 get a mismatch
    session_.ScoreState(1, RequestPresent);  // taxa 2, 3 get another
    EXPECT_EQ(Mismatches(), (std::vector<int32_t>{0, 1, 2, 2}));
    EXPECT_EQ(Matches(), "1000");

    refreshes_ = 0;
    session_.ChangeTolerance(1);
    EXPECT_EQ(session_.ToleranceMode, 1);
    EXPECT_EQ(session_.Tolerance(), 1);
    EXPECT_EQ(Matches(), "1100");
    EXPECT_EQ(session_.MatchingTaxaCount(), 2);
    // Counts are over the taxa within the tolerance.
    EXPECT_EQ(session_.StateMatchCount(2), 1);  // taxon 0 "+", taxon 1 "-"
    EXPECT_EQ(session_.StateMatchCount(3), 2);  // "+" and "?"
    // With one mismatch allowed, a taxon without mismatch survives either answer: over
    // taxa 0 and 1, state 2 has n+ 0, n- 1, nv 1 (taxon 0): 1 - (0.5 log2 1 + 1.5 log2 2)/2
    // = 0.25; state 3 is "+" and "?": with taxon 0 counted as "may" too, nothing splits.
    EXPECT_EQ(Best(), (std::vector<std::pair<int32_t, double>>{{2, 0.25}}));
    EXPECT_EQ(session_.MatchingTaxaByMismatches(), (std::vector<int32_t>{0, 1}));

    session_.ChangeTolerance(3);
    EXPECT_EQ(Matches(), "1111");
    EXPECT_EQ(session_.MatchingTaxaByMismatches(), (std::vector<int32_t>{0, 1, 2, 3}));
    session_.ChangeTolerance(0);
    EXPECT_EQ(Matches(), "1000");
    EXPECT_EQ(refreshes_, 3);  // each change refreshes the windows
}

TEST_F(BestStatesTest, TheToleranceOfTheSettingsAppliesToEveryKeyThatOpens) {
    session_.ToleranceMode = 2;
    Open(MakeKey({"+-", "+-", "+-"}));
    session_.ScoreState(0, RequestPresent);
    session_.ScoreState(1, RequestPresent);
    EXPECT_EQ(session_.Tolerance(), 2);
    EXPECT_EQ(session_.MatchingTaxaCount(), 2);
    session_.ScoreState(2, RequestPresent);
    EXPECT_EQ(session_.MatchingTaxaCount(), 1);
}

}  // namespace
}  // namespace vorn
