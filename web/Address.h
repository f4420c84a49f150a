#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/session/Actions.h"

namespace vorn::web {

// The address of a published key's page keeps its identification after "#": "a=" and the
// actions in force in vorn-identify's syntax, separated by commas, then "&t=K" for a
// tolerance K other than 0 ("a=+3,-12,or,+4,+7,or&t=1"). A "+" is a plus sign, never a
// blank; "%XX" stands for the byte XX, as a browser may write it. A link is typed or sent,
// never a file: an address longer than this is not read.
constexpr size_t kMaxAddressBytes = 1 << 20;

// What an address holds: its actions (scores, "or", "undo", "redo", "reset"; never "@FILE"),
// in order, and the tolerance.
struct Address {
    std::vector<Action> Actions;
    int Tolerance = 0;
};

// Reads `text` (what follows "#"; empty for a fresh identification) for a key of
// `stateCount` states, all of it before anything is applied: nothing, with `why` saying
// what is wrong in words for the user, when a part is not "a=" or "t=", or given twice,
// an action is none or names a state outside the key, or the tolerance is not a whole
// number from 0 to kMenuTolerance.
std::optional<Address> ParseAddress(std::string_view text, int32_t stateCount, std::string* why);

// The action as an address writes it: a score's number without leading zeros ("+03" is
// "+3"), others as they are.
std::string ActionText(const Action& action);

// The address of `actions` (each as ActionText gives it) at `tolerance`; empty for none at
// tolerance 0.
std::string AddressText(const std::vector<std::string>& actions, int tolerance);

}  // namespace vorn::web
