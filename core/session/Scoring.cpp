#include "core/session/Scoring.h"

#include "core/session/Events.h"

namespace vorn {

void ScoreState(int32_t state, ScoreRequest request) {
    if (state < 0 || !Key.KeyOpen || state >= Key.StateCount) return;
    ApplyScoreRequest(state, request);
    if (StateScore[state] != ScoreNone) Events().StateScored(state);
    Events().ScoresChanged();
}

void ToggleOrMode() {
    if (!Key.KeyOpen) return;
    if (OrMode) {
        EndOrGroup();
    } else {
        BeginOrGroup();
    }
    Events().OrModeChanged();
}

}  // namespace vorn
