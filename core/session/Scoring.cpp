#include "core/session/Scoring.h"

namespace vorn {

void ScoreState(int32_t state, ScoreRequest request) {
    if (state < 0 || !Key.KeyOpen || state >= Key.StateCount) return;
    ApplyScoreRequest(state, request);
    if (StateScore[state] != ScoreNone && ScoringHooks.AddToHistory) {
        ScoringHooks.AddToHistory(state);
    }
    if (ScoringHooks.RefreshAfterScoring) ScoringHooks.RefreshAfterScoring();
}

void ToggleOrMode() {
    if (!Key.KeyOpen) return;
    if (OrMode) {
        EndOrGroup();
    } else {
        BeginOrGroup();
    }
    if (ScoringHooks.RedrawOrButtons) ScoringHooks.RedrawOrButtons();
}

}  // namespace vorn
