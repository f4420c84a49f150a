// Undo and Redo: after any random sequence of scoring actions, "Or" groups, resets, undos
// and redos, the session is exactly what a fresh session gives when it replays the steps
// still done, in order: the same scores, groups (open or closed, with their members in
// their order), mismatches, matching taxa, counts and orders the windows show.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/session/OpenKey.h"
#include "core/session/Session.h"
#include "tests/kit/KeyFixture.h"

namespace vorn {
namespace {

using testing::KeyFixture;
using testing::KeySpec;

// One user action, as a step records it for the replay.
struct Step {
    enum Kind { Score, Or, Reset } kind = Score;
    int32_t state = 0;
    ScoreRequest request = RequestPresent;
};

void Apply(Session& session, const Step& step) {
    switch (step.kind) {
        case Step::Score:
            session.ScoreState(step.state, step.request);
            break;
        case Step::Or:
            session.ToggleOrMode();
            break;
        case Step::Reset:
            ResetKey(session);
            break;
    }
}

// Everything a window but History shows, and the groups themselves.
std::string Picture(Session& session) {
    std::string picture;
    const Engine& engine = *session.OpenEngine();
    for (int32_t s = 0; s < session.Key.StateCount; ++s)
        picture += static_cast<char>('0' + session.StateScore(s));
    picture += "|mismatches";
    for (int32_t t = 0; t < session.Key.TaxonCount; ++t)
        picture += " " + std::to_string(session.TaxonMismatchCount(t)) +
                   (session.TaxonMatches(t) ? "m" : "");
    picture += "|matching " + std::to_string(session.MatchingTaxaCount()) + " counted " +
               std::to_string(session.CountedTaxaCount());
    picture += "|closed";
    for (const OrGroup& group : engine.ClosedGroups()) {
        picture += " (";
        for (int32_t member : group.Members)
            picture += std::to_string(member) + ",";
        picture += ")";
    }
    picture += "|open";
    if (engine.OpenGroup()) {
        picture += " (";
        for (int32_t member : engine.OpenGroup()->Members)
            picture += std::to_string(member) + ",";
        picture += ")";
    }
    picture += "|counts";
    for (int32_t s = 0; s < session.Key.StateCount; ++s)
        picture += " " + std::to_string(session.StateMatchCount(s));
    picture += "|differentiating";
    for (int32_t s : session.DifferentiatingStates())
        picture += " " + std::to_string(s);
    picture += "|best";
    for (const StateSeparation& best : session.BestStates())
        picture += " " + std::to_string(best.State);
    picture += "|mismatch order";
    for (int32_t t : session.TaxaByMismatches())
        picture += " " + std::to_string(t);
    return picture;
}

class UndoAgainstReplay : public KeyFixture {
protected:
    // Plays `actions` random actions on a key of `taxa` x `states`, checking after each one
    // that the session equals a fresh one that replays the steps still done.
    void Play(int32_t taxa, int32_t states, uint32_t seed, int actions, int tolerance = 0) {
        SCOPED_TRACE("key of " + std::to_string(taxa) + " taxa, seed " + std::to_string(seed));
        KeySpec keySpec = testing::RandomKey(taxa, states, seed);
        std::string des = testing::WriteKey(dir_.Path(), keySpec);
        OpenKey(session_, des);
        ASSERT_TRUE(session_.Key.KeyOpen);
        session_.ChangeTolerance(tolerance);

        std::mt19937 random(seed);
        std::vector<Step> done, undone;
        for (int i = 0; i < actions; ++i) {
            int pick = static_cast<int>(random() % 100);
            size_t before = session_.Steps().Done();
            if (pick < 15) {
                bool did = session_.Undo();
                ASSERT_EQ(did, !done.empty());
                if (did) {
                    undone.push_back(done.back());
                    done.pop_back();
                }
            } else if (pick < 25) {
                bool did = session_.Redo();
                ASSERT_EQ(did, !undone.empty());
                if (did) {
                    done.push_back(undone.back());
                    undone.pop_back();
                }
            } else {
                Step step;
                if (pick < 33) {
                    step.kind = Step::Or;
                } else if (pick < 37) {
                    step.kind = Step::Reset;
                } else {
                    // States near the start come up often, so groups and rescoring meet.
                    step.state =
                        static_cast<int32_t>(random() % 2 ? random() % 8 : random() % states);
                    step.request = static_cast<ScoreRequest>(random() % 4);
                }
                Apply(session_, step);
                // An action that changed nothing is no step; one that did drops the redo.
                if (session_.Steps().Done() > before) {
                    done.push_back(step);
                    undone.clear();
                }
                ASSERT_EQ(session_.Steps().Done(), done.size());
                ASSERT_EQ(session_.Steps().Undone(), undone.size());
            }

            Session replay;
            OpenKey(replay, des);
            replay.ChangeTolerance(tolerance);
            for (const Step& step : done)
                Apply(replay, step);
            ASSERT_EQ(Picture(session_), Picture(replay)) << "after action " << i;
            ASSERT_EQ(session_.OpenEngine()->RecountMismatches(),
                      replay.OpenEngine()->RecountMismatches());
        }
        CloseKey(session_);
    }
};

TEST_F(UndoAgainstReplay, RandomSequencesAtWordBoundaries) {
    uint32_t seed = 1;
    for (int32_t taxa : {1, 63, 64, 65, 127, 128, 129})
        Play(taxa, 12, seed++, 300);
}

TEST_F(UndoAgainstReplay, RandomSequencesOnAKeyAboveTheOldCapacity) {
    Play(1250, 40, 77, 120);
}

TEST_F(UndoAgainstReplay, RandomSequencesWithMismatchesAllowed) {
    Play(130, 16, 9, 150, 1);
    Play(70, 16, 10, 150, 2);
}

// At the engine itself, any change taken back and done again, including a clear of
// everything while a group is open (which the session never does: it ends the group
// first).
TEST(EngineChanges, RevertAndReapplyRetraceEveryChange) {
    KeySpec keySpec = testing::RandomKey(70, 10, 5);
    CodeMatrix codes;
    codes.Assign(70, keySpec.Codes);
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        Engine engine(codes);
        std::mt19937 random(seed);
        std::vector<EngineChange> changes;
        std::vector<std::vector<int32_t>> mismatches{engine.RecountMismatches()};
        std::vector<std::string> scores;
        auto note = [&] {
            std::string text;
            for (int32_t s = 0; s < engine.StateCount(); ++s)
                text += static_cast<char>('0' + engine.Score(s));
            text += engine.OrMode() ? " open" : "";
            text += " " + std::to_string(engine.ClosedGroups().size());
            scores.push_back(text);
            mismatches.push_back(engine.RecountMismatches());
        };
        scores.push_back(std::string(10, '0') + " 0");
        for (int i = 0; i < 40; ++i) {
            int pick = static_cast<int>(random() % 10);
            std::optional<EngineChange> change;
            if (pick == 0) {
                change = engine.OrMode() ? engine.EndOrGroup() : engine.BeginOrGroup();
            } else if (pick == 1) {
                change = engine.ClearAllScores();
            } else {
                change = engine
                             .ApplyScoreRequest(static_cast<int32_t>(random() % 10),
                                                static_cast<ScoreRequest>(random() % 4))
                             .Change;
            }
            if (!change) continue;
            changes.push_back(*change);
            note();
        }
        for (size_t i = changes.size(); i-- > 0;) {
            engine.Revert(changes[i]);
            std::string text;
            for (int32_t s = 0; s < engine.StateCount(); ++s)
                text += static_cast<char>('0' + engine.Score(s));
            text += engine.OrMode() ? " open" : "";
            text += " " + std::to_string(engine.ClosedGroups().size());
            ASSERT_EQ(text, scores[i]) << "seed " << seed << ", change " << i;
            ASSERT_EQ(engine.RecountMismatches(), mismatches[i]);
            std::vector<int32_t> kept;
            for (int32_t t = 0; t < engine.TaxonCount(); ++t)
                kept.push_back(engine.Mismatches(t));
            ASSERT_EQ(kept, mismatches[i]) << "the counts kept equal a recount";
        }
        for (size_t i = 0; i < changes.size(); ++i)
            engine.Reapply(changes[i]);
        ASSERT_EQ(engine.RecountMismatches(), mismatches.back());
    }
}

// What a step keeps, and when the steps go.
TEST_F(UndoAgainstReplay, StepsAreWhatChangedAndGoWithTheKey) {
    Open(MakeKey({"+-+-", "--++", "+-?*", "-+-+"}));
    // No step: clearing an unscored state, Present twice, a refused action.
    session_.ScoreState(0, RequestClear);
    EXPECT_FALSE(session_.Steps().CanUndo());
    session_.ScoreState(0, RequestPresent);
    session_.ScoreState(0, RequestPresent);
    EXPECT_EQ(session_.Steps().Done(), 1u);
    session_.ToggleOrMode();
    session_.ScoreState(0, RequestAbsent);  // scored: refused inside the group
    EXPECT_EQ(ui_.Texts().back(),
              "You can only select unscored states while performing an \"Or.\"");
    EXPECT_EQ(session_.Steps().Done(), 2u);  // Begin Or only
    session_.ScoreState(1, RequestPresent);
    session_.ScoreState(2, RequestAbsent);
    session_.ToggleOrMode();
    EXPECT_EQ(StepText(session_.Steps().NextUndo(), session_.Key), "End Or");
    // Clearing a member dissolves the group; undone, the group is back whole.
    session_.ScoreState(2, RequestClear);
    EXPECT_EQ(StepText(session_.Steps().NextUndo(), session_.Key), "Clear: State 2");
    EXPECT_EQ(session_.StateScore(1), ScoreNone);
    EXPECT_TRUE(session_.Undo());
    EXPECT_EQ(session_.StateScore(1), ScoreOrPresent);
    EXPECT_EQ(session_.StateScore(2), ScoreOrAbsent);
    ASSERT_EQ(session_.OpenEngine()->ClosedGroups().size(), 1u);
    EXPECT_EQ(session_.OpenEngine()->ClosedGroups()[0].Members, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(StepText(session_.Steps().NextRedo(), session_.Key), "Clear: State 2");

    // A reset keeps what it unscored, not the key: 3 scores here, however many states.
    session_.ScoreState(3, RequestAbsent);
    ResetKey(session_);
    const UndoStep& reset = session_.Steps().NextUndo();
    EXPECT_EQ(StepText(reset, session_.Key), "Reset");
    ASSERT_EQ(reset.Changes.size(), 1u);
    EXPECT_EQ(reset.Changes[0].Scores.size(), 4u);  // states 0 and 3, and the group's 1 and 2
    EXPECT_FALSE(session_.Steps().CanRedo());       // a new step drops the redo

    // Tolerance is a setting: no step.
    size_t steps = session_.Steps().Done();
    session_.ChangeTolerance(1);
    EXPECT_EQ(session_.Steps().Done(), steps);

    // A reset that ends an open group gives the group back open, members and all.
    session_.ToggleOrMode();
    session_.ScoreState(0, RequestAbsent);
    ResetKey(session_);
    EXPECT_FALSE(session_.OrMode());
    EXPECT_TRUE(session_.Undo());
    EXPECT_TRUE(session_.OrMode());
    EXPECT_EQ(session_.OpenEngine()->OpenGroup()->Members, (std::vector<int32_t>{0}));
    EXPECT_EQ(session_.StateScore(0), ScoreOrAbsent);

    CloseKey(session_);
    EXPECT_FALSE(session_.Steps().CanUndo());
    EXPECT_FALSE(session_.Undo());
}

}  // namespace
}  // namespace vorn
