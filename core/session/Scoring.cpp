#include "core/session/Scoring.h"

#include "core/key/KeyFiles.h"
#include "core/session/Events.h"

namespace vorn {

void ScoreState(int32_t state, ScoreRequest request) {
    Engine* engine = OpenEngine();
    if (state < 0 || !Key.KeyOpen || !engine || state >= engine->StateCount()) return;
    engine->ApplyScoreRequest(state, request);
    if (engine->Score(state) != ScoreNone) Events().StateScored(state);
    Events().ScoresChanged();
}

void ToggleOrMode() {
    Engine* engine = OpenEngine();
    if (!Key.KeyOpen || !engine) return;
    if (engine->OrMode()) {
        engine->EndOrGroup();
    } else {
        engine->BeginOrGroup();
    }
    Events().OrModeChanged();
}

}  // namespace vorn
