#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/engine/Engine.h"

namespace vorn {

// One action as vorn-identify takes it on its command line and a published key's page in
// its address (N: a state number, counted from 1): "+N" Present, "-N" Absent, "~N" toggle
// (as a double-click), "=N" clear, "or" begin or end an "Or" group, "undo", "redo",
// "reset", and "@FILE" load a history list.
struct Action {
    enum KindValue { Score, Or, History, Undo, Redo, Reset };
    KindValue Kind = Score;
    ScoreRequest Request = RequestPresent;
    std::string Number;  // of a score, as typed: checked once the key's states are known
    std::string File;    // of a history list, as typed
    std::string Text;    // the whole action as typed, for messages
};

// The action `text` stands for, or nothing when it is none.
std::optional<Action> ParseAction(const std::string& text);

// The state (from 0) a score action names, when its number is a whole number from 1 to
// `stateCount`; nothing otherwise.
std::optional<int32_t> ActionState(const Action& action, int32_t stateCount);

}  // namespace vorn
