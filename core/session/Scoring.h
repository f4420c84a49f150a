#pragma once

#include <cstdint>
#include <functional>

#include "core/engine/Queries.h"

namespace vorn {

// The one entry point for scoring, used by every window and the history list loader: the
// engine applies the request, then the session's events are told (StateScored when the
// state has a score afterwards, then ScoresChanged). A negative state (nothing
// highlighted) does nothing at all; so does any state while no key is open or a state
// beyond the key's states.
void ScoreState(int32_t state, ScoreRequest request);

// Runs `actions`, which score through ScoreState, so that ScoresChanged is told once,
// after the last of them (also when one throws, with what was applied before it); so the
// windows are rebuilt, and their questions asked, once for the whole operation.
// StateScored is told for each state as usual.
void ScoreTogether(const std::function<void()>& actions);

// Tells ScoresChanged now, or once at the end of the ScoreTogether that runs.
void NoteScoresChanged();

// Sets ToleranceMode and applies it to the open key at once (ScoresChanged is told).
void ChangeTolerance(int tolerance);

// Begins an "Or" group when none is open, else ends it, and tells OrModeChanged; ending a
// group with members also tells ScoresChanged, as a scoring action does. Nothing without
// an open key.
void ToggleOrMode();

}  // namespace vorn
