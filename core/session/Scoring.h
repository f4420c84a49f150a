#pragma once

#include <cstdint>
#include <functional>

#include "core/engine/Engine.h"

namespace vorn {

// What scoring asks of the windows. The window manager installs these; without windows
// (the command-line identifier, engine tests) they stay empty and nothing is called.
struct ScoringWindowHooks {
    // The History window's AddIndic, while that window is open.
    std::function<void(int32_t state)> AddToHistory;
    // The window manager's refresh after every change of scores.
    std::function<void()> RefreshAfterScoring;
    // Redraws the Or button of every open state window.
    std::function<void()> RedrawOrButtons;
};
inline ScoringWindowHooks ScoringHooks;

// The one entry point for scoring, used by every window and the history list loader.
// A negative state (nothing highlighted) does nothing at all; so does any state while
// no key is open or a state beyond the key's states.
void ScoreState(int32_t state, ScoreRequest request);

// Begins an "Or" group when none is open, else ends it; nothing without an open key.
void ToggleOrMode();

}  // namespace vorn
