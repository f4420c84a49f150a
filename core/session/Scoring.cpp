#include <algorithm>

#include "core/platform/Messages.h"
#include "core/session/Events.h"
#include "core/session/Session.h"

namespace vorn {

void Session::NoteScoresChanged() {
    if (together_ > 0) {
        scoresOwed_ = true;
        return;
    }
    Events().ScoresChanged();
}

void Session::Record(StepKind kind, int32_t state, std::optional<EngineChange> change) {
    if (!change) return;
    if (together_ > 0) {
        gathering_.Changes.push_back(std::move(*change));
        return;
    }
    std::vector<EngineChange> changes;
    changes.push_back(std::move(*change));
    steps_.Push({kind, state, std::move(changes)});
    Events().StepsChanged();
}

void Session::ScoreTogether(StepKind kind, const std::function<void()>& actions) {
    if (together_++ == 0) gathering_ = UndoStep{kind, -1, {}};
    auto finish = [this] {
        if (--together_ > 0) return;
        if (!gathering_.Changes.empty()) {
            steps_.Push(std::move(gathering_));
            gathering_ = {};
            Events().StepsChanged();
        }
        if (!scoresOwed_) return;
        scoresOwed_ = false;
        Events().ScoresChanged();
    };
    try {
        actions();
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void Session::ScoreState(int32_t state, ScoreRequest request) {
    Engine* engine = OpenEngine();
    if (state < 0 || !Key.KeyOpen || !engine || state >= engine->StateCount()) return;
    ScoreOutcome outcome = engine->ApplyScoreRequest(state, request);
    if (outcome.Refused) {
        ShowError("You can only select unscored states while performing an \"Or.\"");
    } else if (outcome.Change) {
        StepKind kind = StepKindOf(*outcome.Change);
        Record(kind, state, std::move(outcome.Change));
    }
    if (engine->Score(state) != ScoreNone) Events().StateScored(state);
    NoteScoresChanged();
}

void Session::ScoreAsMember(int32_t state, ScoreRequest request) {
    Engine* engine = OpenEngine();
    if (state < 0 || !Key.KeyOpen || !engine || !engine->OrMode() || state >= engine->StateCount())
        return;
    const auto& members = engine->OpenGroup()->Members;
    if (std::find(members.begin(), members.end(), state) != members.end()) return;
    if (engine->Score(state) != ScoreNone) {
        std::optional<EngineChange> change = engine->Unscore(state);
        if (change) Record(StepKindOf(*change), state, std::move(change));
    }
    ScoreState(state, request);
}

void Session::ChangeTolerance(int tolerance) {
    ToleranceMode = std::max(tolerance, 0);
    Engine* engine = OpenEngine();
    if (!Key.KeyOpen || !engine) return;
    engine->SetTolerance(ToleranceMode);
    NoteScoresChanged();
}

void Session::ToggleOrMode() {
    Engine* engine = OpenEngine();
    if (!Key.KeyOpen || !engine) return;
    if (engine->OrMode()) {
        bool members = !engine->OpenGroup()->Members.empty();
        Record(StepKind::EndOr, -1, engine->EndOrGroup());
        Events().OrModeChanged();
        // Closing the group gave a mismatch to every taxon that fails it: the counts and
        // lists change as after a scoring action.
        if (members) NoteScoresChanged();
        return;
    }
    Record(StepKind::BeginOr, -1, engine->BeginOrGroup());
    Events().OrModeChanged();
}

void Session::ResetScores() {
    Engine* engine = OpenEngine();
    if (!engine) return;
    // One refresh and one step for the whole reset, also when it ends an open group first.
    ScoreTogether(StepKind::Reset, [this, engine] {
        if (engine->OrMode()) ToggleOrMode();
        Record(StepKind::Reset, -1, engine->ClearAllScores());
        NoteScoresChanged();
    });
}

bool Session::Undo() {
    Engine* engine = OpenEngine();
    if (!engine || together_ > 0 || !steps_.CanUndo()) return false;
    bool orMode = engine->OrMode();
    const UndoStep& step = steps_.MoveToUndone();
    for (auto change = step.Changes.rbegin(); change != step.Changes.rend(); ++change)
        engine->Revert(*change);
    Events().StepsChanged();
    if (engine->OrMode() != orMode) Events().OrModeChanged();
    NoteScoresChanged();
    return true;
}

bool Session::Redo() {
    Engine* engine = OpenEngine();
    if (!engine || together_ > 0 || !steps_.CanRedo()) return false;
    bool orMode = engine->OrMode();
    const UndoStep& step = steps_.MoveToDone();
    for (const EngineChange& change : step.Changes)
        engine->Reapply(change);
    Events().StepsChanged();
    if (engine->OrMode() != orMode) Events().OrModeChanged();
    NoteScoresChanged();
    return true;
}

void Session::ClearSteps() {
    bool any = steps_.CanUndo() || steps_.CanRedo();
    steps_.Clear();
    if (any) Events().StepsChanged();
}

}  // namespace vorn
