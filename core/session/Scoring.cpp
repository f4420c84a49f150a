#include "core/session/Scoring.h"

#include <algorithm>

#include "core/key/KeyFiles.h"
#include "core/session/Events.h"
#include "core/session/Modes.h"

namespace vorn {
namespace {

// While ScoreTogether runs: how deep, and whether a ScoresChanged is owed.
int together = 0;
bool changed = false;

}  // namespace

void NoteScoresChanged() {
    if (together > 0) {
        changed = true;
        return;
    }
    Events().ScoresChanged();
}

void ScoreTogether(const std::function<void()>& actions) {
    ++together;
    auto finish = [] {
        if (--together > 0 || !changed) return;
        changed = false;
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

void ScoreState(int32_t state, ScoreRequest request) {
    Engine* engine = OpenEngine();
    if (state < 0 || !Key.KeyOpen || !engine || state >= engine->StateCount()) return;
    engine->ApplyScoreRequest(state, request);
    if (engine->Score(state) != ScoreNone) Events().StateScored(state);
    NoteScoresChanged();
}

void ChangeTolerance(int tolerance) {
    ToleranceMode = std::max(tolerance, 0);
    Engine* engine = OpenEngine();
    if (!Key.KeyOpen || !engine) return;
    engine->SetTolerance(ToleranceMode);
    NoteScoresChanged();
}

void ToggleOrMode() {
    Engine* engine = OpenEngine();
    if (!Key.KeyOpen || !engine) return;
    if (engine->OrMode()) {
        bool members = !engine->OpenGroup()->Members.empty();
        engine->EndOrGroup();
        Events().OrModeChanged();
        // Closing the group gave a mismatch to every taxon that fails it: the counts and
        // lists change as after a scoring action.
        if (members) NoteScoresChanged();
        return;
    }
    engine->BeginOrGroup();
    Events().OrModeChanged();
}

}  // namespace vorn
