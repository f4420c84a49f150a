#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vorn {

class Session;

// Loads a history list file (.HIS) into the session's identification, as one step for
// Undo. Each line is an
// action character, optional blanks, a state number counted from 1, and anything else:
// "+" scores the state Present and "-" Absent, each a full scoring action through
// ScoreState; a blank only lists the state, through `listState`. Lines with another
// first character (remarks) and empty lines are skipped; so are lines whose number is
// outside the key's states, which are counted: the count is returned, for the caller to
// tell (SkippedLinesText). A "+", "-" or blank line without a number ends the loading
// with an IoError naming the line; what was applied before stays applied.
int LoadHistoryList(Session& session, const std::string& fileName,
                    const std::function<void(int32_t)>& listState);

// What the user is told after LoadHistoryList(fileName) skipped `skipped` (one or more)
// lines whose numbers are outside the session's open key: how many and why. One text for
// the window's message and the command line's warning.
std::string SkippedLinesText(const Session& session, const std::string& fileName, int skipped);

// The history list file of `states` (indices from 0) in list order, as LoadHistoryList
// reads it back: per state one line of its action character and its number from 1,
// ended by CR LF. The character is "+" for a state scored Present, "-" for Absent, and
// a blank for an unscored state and for a member of an "Or" group, whose mark no line
// can express. States outside the open key's states are left out.
std::string HistoryListText(const Session& session, const std::vector<int32_t>& states);

// Writes HistoryListText(session, states) to `fileName` through WriteFileAtomically: the file
// that was there is replaced whole or, on failure, stays as it was. Throws IoError
// naming the file and the reason.
void SaveHistoryList(const Session& session, const std::string& fileName,
                     const std::vector<int32_t>& states);

}  // namespace vorn
