// "Or" groups: building, closing, the narrowed matching and dissolving.
#include <gtest/gtest.h>

#include "core/session/Session.h"
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
    session_.ScoreState(3, RequestPresent);
    auto matches = Matches();
    session_.ToggleOrMode();
    EXPECT_TRUE(session_.OrMode());
    session_.ToggleOrMode();
    EXPECT_FALSE(session_.OrMode());
    EXPECT_EQ(Matches(), matches);
    EXPECT_TRUE(session_.OpenEngine()->ClosedGroups().empty());
    EXPECT_EQ(orRedraws_, 2);
}

TEST_F(OrGroups, WhileOpenTheMatchingIsNarrowedButMismatchesWait) {
    session_.ToggleOrMode();
    session_.ScoreState(0, RequestPresent);
    EXPECT_EQ(Scores(), "P....");
    EXPECT_EQ(Matches(), "10101");  // not coded absent for A
    EXPECT_EQ(session_.MatchingTaxaCount(), 3);
    EXPECT_EQ(Mismatches(), (std::vector<int32_t>{0, 0, 0, 0, 0}));
    // Clear on an unscored state while the group is open: nothing, and no refusal.
    session_.ScoreState(1, RequestClear);
    EXPECT_EQ(Scores(), "P....");
    EXPECT_EQ(Matches(), "10101");
    EXPECT_TRUE(ui_.Messages.empty());
}

TEST_F(OrGroups, ClosingGivesOneMismatchToTaxaSatisfyingNoMember) {
    session_.ToggleOrMode();
    session_.ScoreState(0, RequestPresent);  // A present: taxa 1, 3 fail
    session_.ScoreState(1, RequestAbsent);   // B absent: taxa 0, 2 fail
    EXPECT_EQ(Scores(), "PA...");
    EXPECT_EQ(Matches(), "11111");
    session_.ScoreState(4, RequestAbsent);  // E absent: taxon 2 fails
    session_.ToggleOrMode();
    // Taxon 1: A absent, B "-" satisfies. Taxon 3: A "-", B "?" satisfies.
    EXPECT_EQ(Mismatches(), (std::vector<int32_t>{0, 0, 0, 0, 0}));

    session_.ToggleOrMode();
    session_.ScoreState(2, RequestAbsent);   // C absent: taxa 1, 2, 4 fail
    session_.ScoreState(3, RequestPresent);  // D present: nobody fails
    session_.ToggleOrMode();
    EXPECT_EQ(Matches(), "11111");
}

TEST_F(OrGroups, ATaxonFailingEveryMemberGetsExactlyOneMismatch) {
    session_.ToggleOrMode();
    session_.ScoreState(0, RequestPresent);  // taxa 1, 3 fail A
    session_.ScoreState(2, RequestPresent);  // taxa 0, 3 fail C
    session_.ToggleOrMode();
    EXPECT_EQ(Mismatches(), (std::vector<int32_t>{0, 0, 0, 1, 0}));
    EXPECT_EQ(Matches(), "11101");
    EXPECT_EQ(session_.MatchingTaxaCount(), 4);
}

TEST_F(OrGroups, ATaxonThatDidNotMatchBeforeNeverMatchesDuringTheGroup) {
    session_.ScoreState(4, RequestPresent);  // only taxon 2 matches
    session_.ToggleOrMode();
    session_.ScoreState(3, RequestPresent);  // everybody satisfies D
    EXPECT_EQ(Matches(), "00100");
    session_.ScoreState(2, RequestToggle);  // a double-click joins as present
    EXPECT_EQ(session_.StateScore(2), ScoreOrPresent);
    EXPECT_EQ(Matches(), "00100");
}

TEST_F(OrGroups, ScoredStatesAreRefusedWhileAGroupIsOpen) {
    session_.ScoreState(0, RequestPresent);
    session_.ToggleOrMode();
    session_.ScoreState(1, RequestPresent);
    int refreshes = refreshes_;
    history_.clear();
    session_.ScoreState(0, RequestAbsent);  // plain score
    session_.ScoreState(1, RequestClear);   // member of this group
    ASSERT_EQ(ui_.Texts(), (std::vector<std::string>{kRefusal, kRefusal}));
    EXPECT_EQ(ui_.Messages[0].Kind, MessageKind::Error);
    EXPECT_EQ(Scores(), "+P...");
    // Refused requests still reach the history and the refresh.
    EXPECT_EQ(history_, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(refreshes_, refreshes + 2);
    session_.ToggleOrMode();
    // A member of a closed group is refused too while another group is open.
    session_.ToggleOrMode();
    session_.ScoreState(1, RequestAbsent);
    EXPECT_EQ(ui_.Texts().size(), 3u);
}

TEST_F(OrGroups, RequestsOnAClosedMemberChangeNothingButClearDissolvesTheGroup) {
    session_.ToggleOrMode();
    session_.ScoreState(0, RequestPresent);
    session_.ScoreState(2, RequestPresent);
    session_.ToggleOrMode();
    auto mismatches = Mismatches();
    for (ScoreRequest request : {RequestPresent, RequestAbsent, RequestToggle}) {
        session_.ScoreState(0, request);
        EXPECT_EQ(Scores(), "P.P..");
        EXPECT_EQ(Mismatches(), mismatches);
    }
    session_.ScoreState(2, RequestClear);
    EXPECT_EQ(Scores(), ".....");
    EXPECT_EQ(Matches(), "11111");
    EXPECT_TRUE(session_.OpenEngine()->ClosedGroups().empty());
}

TEST_F(OrGroups, DissolvingTheOlderOfTwoGroupsLeavesTheNewerInForce) {
    session_.ScoreState(3, RequestPresent);  // plain score, contradicts nobody
    session_.ToggleOrMode();
    session_.ScoreState(0, RequestPresent);  // older: taxa 1, 3 fail
    session_.ToggleOrMode();
    session_.ToggleOrMode();
    session_.ScoreState(4, RequestPresent);  // newer: all but taxon 2 fail
    session_.ToggleOrMode();
    EXPECT_EQ(Mismatches(), (std::vector<int32_t>{1, 2, 0, 2, 1}));
    session_.ScoreState(0, RequestClear);
    EXPECT_EQ(Scores(), "...+P");
    EXPECT_EQ(Mismatches(), (std::vector<int32_t>{1, 1, 0, 1, 1}));
    EXPECT_EQ(Matches(), "00100");
    ASSERT_EQ(session_.OpenEngine()->ClosedGroups().size(), 1u);
    EXPECT_EQ(session_.OpenEngine()->ClosedGroups()[0].Members, std::vector<int32_t>{4});
}

// The groups a taxon fails are what its mismatches beyond its contradicted states are made
// of: each named with its members and marks, oldest first, and gone once dissolved.
TEST_F(OrGroups, TheGroupsATaxonFailsAreTheOnesThatGaveItAMismatch) {
    session_.ToggleOrMode();
    session_.ScoreState(0, RequestPresent);  // taxa 1, 3 fail A present
    session_.ScoreState(1, RequestPresent);  // taxon 1 fails B present too
    session_.ToggleOrMode();
    session_.ToggleOrMode();
    session_.ScoreState(4, RequestAbsent);  // taxon 2 fails E absent
    session_.ScoreState(2, RequestAbsent);  // taxa 1, 2, 4 fail C absent
    session_.ToggleOrMode();
    EXPECT_EQ(Mismatches(), (std::vector<int32_t>{0, 1, 1, 0, 0}));
    auto members = [](const std::vector<ScoredState>& group) {
        std::vector<std::pair<int32_t, int>> out;
        for (const ScoredState& m : group)
            out.emplace_back(m.State, m.Score);
        return out;
    };
    auto failed = session_.GroupsFailedBy(1);
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(members(failed[0]),
              (std::vector<std::pair<int32_t, int>>{{0, ScoreOrPresent}, {1, ScoreOrPresent}}));
    failed = session_.GroupsFailedBy(2);
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(members(failed[0]),
              (std::vector<std::pair<int32_t, int>>{{4, ScoreOrAbsent}, {2, ScoreOrAbsent}}));
    for (int32_t taxon : {0, 3, 4})
        EXPECT_TRUE(session_.GroupsFailedBy(taxon).empty()) << taxon;
    // Outside the key, nothing rather than a read past the tables.
    EXPECT_TRUE(session_.GroupsFailedBy(-1).empty());
    EXPECT_TRUE(session_.GroupsFailedBy(5).empty());

    session_.ScoreState(0, RequestClear);  // dissolves the older group
    EXPECT_TRUE(session_.GroupsFailedBy(1).empty());
    EXPECT_EQ(session_.GroupsFailedBy(2).size(), 1u);
    session_.ResetScores();
    EXPECT_TRUE(session_.GroupsFailedBy(2).empty());
}

TEST_F(OrGroups, ClosingTheKeyEndsTheGroupAndTheNextKeyStartsWithout) {
    session_.ToggleOrMode();
    session_.ScoreState(0, RequestPresent);
    CloseKey(session_);
    EXPECT_FALSE(session_.OrMode());
    EXPECT_EQ(session_.OpenEngine(), nullptr);  // nothing of a closed key is kept
    Open(MakeKey({"+-"}));
    EXPECT_FALSE(session_.OrMode());
    EXPECT_TRUE(session_.OpenEngine()->ClosedGroups().empty());
}

}  // namespace
}  // namespace vorn
