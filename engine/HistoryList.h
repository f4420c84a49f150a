#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vorn {

// Loads a history list file (.HIS) into the current identification. Each line is an
// action character, optional blanks, a state number counted from 1, and anything else:
// "+" scores the state Present and "-" Absent, each a full scoring action through
// ScoreState; a blank only lists the state, through `listState`. Lines with another
// first character, empty lines and numbers outside the key's states are skipped. A "+",
// "-" or blank line without a number ends the loading with an IoError naming the line;
// what was applied before stays applied.
void LoadHistoryList(const std::string& fileName, const std::function<void(int32_t)>& listState);

}  // namespace vorn
