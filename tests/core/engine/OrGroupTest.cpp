// "Or" groups: building, closing, the narrowed matching and dissolving.
#include <gtest/gtest.h>

#include "core/session/Scoring.h"
#include "tests/kit/EngineFixture.h"

namespace vorn {
namespace {

using testing::EngineFixture;

constexpr const char* kRefusal = "You can only select unscored states while performing an \"Or.\"";

class OrGroups : public EngineFixture {
protected:
    void SetUp() override {
        // Taxa:         01234
        Open(MakeKey({"+-?-+",     // A: state 0
                      "+-+?-",     // B: state 1
                      "-++-+",     // C: state 2
                      "+++++",     // D: state 3
                      "--+--"}));  // E: state 4
    }
};

TEST_F(OrGroups, AnEmptyGroupChangesNothing) {
    ScoreState(3, RequestPresent);
    auto matches = Matches();
    ToggleOrMode();
    EXPECT_TRUE(OrMode());
    ToggleOrMode();
    EXPECT_FALSE(OrMode());
    EXPECT_EQ(Matches(), matches);
    EXPECT_TRUE(OpenEngine()->ClosedGroups().empty());
    EXPECT_EQ(orRedraws_, 2);
}

TEST_F(OrGroups, WhileOpenTheMatchingIsNarrowedButMismatchesWait) {
    ToggleOrMode();
    ScoreState(0, RequestPresent);
    EXPECT_EQ(Scores(), "P....");
    EXPECT_EQ(Matches(), "10101");  // not coded absent for A
    EXPECT_EQ(MatchingTaxaCount(), 3);
    EXPECT_EQ(Mismatches(), (std::vector<int32_t>{0, 0, 0, 0, 0}));
    // Clear on an unscored state while the group is open: nothing, and no refusal.
    ScoreState(1, RequestClear);
    EXPECT_EQ(Scores(), "P....");
    EXPECT_EQ(Matches(), "10101");
    EXPECT_TRUE(ui_.Messages.empty());
}

TEST_F(OrGroups, ClosingGivesOneMismatchToTaxaSatisfyingNoMember) {
    ToggleOrMode();
    ScoreState(0, RequestPresent);  // A present: taxa 1, 3 fail
    ScoreState(1, RequestAbsent);   // B absent: taxa 0, 2 fail
    EXPECT_EQ(Scores(), "PA...");
    EXPECT_EQ(Matches(), "11111");
    ScoreState(4, RequestAbsent);  // E absent: taxon 2 fails
    ToggleOrMode();
    // Taxon 1: A absent, B "-" satisfies. Taxon 3: A "-", B "?" satisfies.
    EXPECT_EQ(Mismatches(), (std::vector<int32_t>{0, 0, 0, 0, 0}));

    ToggleOrMode();
    ScoreState(2, RequestAbsent);   // C absent: taxa 1, 2, 4 fail
    ScoreState(3, RequestPresent);  // D present: nobody fails
    ToggleOrMode();
    EXPECT_EQ(Matches(), "11111");
}

TEST_F(OrGroups, ATaxonFailingEveryMemberGetsExactlyOneMismatch) {
    ToggleOrMode();
    ScoreState(0, RequestPresent);  // taxa 1, 3 fail A
    ScoreState(2, RequestPresent);  // taxa 0, 3 fail C
    ToggleOrMode();
    EXPECT_EQ(Mismatches(), (std::vector<int32_t>{0, 0, 0, 1, 0}));
    EXPECT_EQ(Matches(), "11101");
    EXPECT_EQ(MatchingTaxaCount(), 4);
}

TEST_F(OrGroups, ATaxonThatDidNotMatchBeforeNeverMatchesDuringTheGroup) {
    ScoreState(4, RequestPresent);  // only taxon 2 matches
    ToggleOrMode();
    ScoreState(3, RequestPresent);  // everybody satisfies D
    EXPECT_EQ(Matches(), "00100");
    ScoreState(2, RequestToggle);  // a double-click joins as present
    EXPECT_EQ(StateScore(2), ScoreOrPresent);
    EXPECT_EQ(Matches(), "00100");
}

TEST_F(OrGroups, ScoredStatesAreRefusedWhileAGroupIsOpen) {
    ScoreState(0, RequestPresent);
    ToggleOrMode();
    ScoreState(1, RequestPresent);
    int refreshes = refreshes_;
    history_.clear();
    ScoreState(0, RequestAbsent);  // plain score
    ScoreState(1, RequestClear);   // member of this group
    ASSERT_EQ(ui_.Texts(), (std::vector<std::string>{kRefusal, kRefusal}));
    EXPECT_EQ(ui_.Messages[0].Kind, MessageKind::Error);
    EXPECT_EQ(Scores(), "+P...");
    // Refused requests still reach the history and the refresh.
    EXPECT_EQ(history_, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(refreshes_, refreshes + 2);
    ToggleOrMode();
    // A member of a closed group is refused too while another group is open.
    ToggleOrMode();
    ScoreState(1, RequestAbsent);
    EXPECT_EQ(ui_.Texts().size(), 3u);
}

TEST_F(OrGroups, RequestsOnAClosedMemberChangeNothingButClearDissolvesTheGroup) {
    ToggleOrMode();
    ScoreState(0, RequestPresent);
    ScoreState(2, RequestPresent);
    ToggleOrMode();
    auto mismatches = Mismatches();
    for (ScoreRequest request : {RequestPresent, RequestAbsent, RequestToggle}) {
        ScoreState(0, request);
        EXPECT_EQ(Scores(), "P.P..");
        EXPECT_EQ(Mismatches(), mismatches);
    }
    ScoreState(2, RequestClear);
    EXPECT_EQ(Scores(), ".....");
    EXPECT_EQ(Matches(), "11111");
    EXPECT_TRUE(OpenEngine()->ClosedGroups().empty());
}

TEST_F(OrGroups, DissolvingTheOlderOfTwoGroupsLeavesTheNewerInForce) {
    ScoreState(3, RequestPresent);  // plain score, contradicts nobody
    ToggleOrMode();
    ScoreState(0, RequestPresent);  // older: taxa 1, 3 fail
    ToggleOrMode();
    ToggleOrMode();
    ScoreState(4, RequestPresent);  // newer: all but taxon 2 fail
    ToggleOrMode();
    EXPECT_EQ(Mismatches(), (std::vector<int32_t>{1, 2, 0, 2, 1}));
    ScoreState(0, RequestClear);
    EXPECT_EQ(Scores(), "...+P");
    EXPECT_EQ(Mismatches(), (std::vector<int32_t>{1, 1, 0, 1, 1}));
    EXPECT_EQ(Matches(), "00100");
    ASSERT_EQ(OpenEngine()->ClosedGroups().size(), 1u);
    EXPECT_EQ(OpenEngine()->ClosedGroups()[0].Members, std::vector<int32_t>{4});
}

TEST_F(OrGroups, ClosingTheKeyEndsTheGroupAndTheNextKeyStartsWithout) {
    ToggleOrMode();
    ScoreState(0, RequestPresent);
    CloseKey();
    EXPECT_FALSE(OrMode());
    EXPECT_EQ(OpenEngine(), nullptr);  // nothing of a closed key is kept
    Open(MakeKey({"+-"}));
    EXPECT_FALSE(OrMode());
    EXPECT_TRUE(OpenEngine()->ClosedGroups().empty());
}

}  // namespace
}  // namespace vorn
