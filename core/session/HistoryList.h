#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vorn {

class Session;

// A history list file (.HIS) is a line per entry: a character, optional blanks, a number,
// and anything else. A state is numbered from 1:
//   "+N"  score state N Present          "-N"  score state N Absent
//   " N"  list state N without scoring it
//   "(0"  begin an "Or" group            ")0"  end it
//   "pN"  score state N as a member of the group begun, Present; "aN" the same, Absent.
// Lines with another first character are remarks, as are "(", ")", "p" and "a" lines
// without a number: readers that know only "+", "-" and blanks skip the group lines whole.

// The lines a load skipped, by why.
struct SkippedLines {
    int OutsideKey = 0;          // a state number outside the key's states
    int MemberOutsideGroup = 0;  // a "p" or "a" line with no group begun
    int EndWithoutGroup = 0;     // a ")" line with no group begun
    int Total() const { return OutsideKey + MemberOutsideGroup + EndWithoutGroup; }
};

// Loads a history list file into the session's identification, every line as the user's
// own action, the whole file one step for Undo: "+" and "-" are scoring actions through
// ScoreState (inside a group the session has open, members of it); a blank lists the
// state through `listState`. "(" begins a group, ending one the session has open first,
// as the Or button does; a member line scores its state in the group (a state scored
// already is unscored first, a member of a closed group dissolving that group as Clear
// does); ")" ends the group. A group is begun only with its first member, so a group
// left with no member is not applied; one whose ")" is missing at the end of the file
// stays open, as a group the user has not ended. Skipped lines are counted, for the
// caller to tell (SkippedLinesText). A "+", "-" or blank line without a number ends the
// loading with an IoError naming the line; what was applied before stays applied.
SkippedLines LoadHistoryList(Session& session, const std::string& fileName,
                             const std::function<void(int32_t)>& listState);

// What the user is told after LoadHistoryList(fileName) skipped lines (some): how many and
// why. One text for the window's message and the command line's warning.
std::string SkippedLinesText(const Session& session, const std::string& fileName,
                             const SkippedLines& skipped);

// The history list file of `states` (indices from 0) in list order, as LoadHistoryList
// reads it back, lines ended by CR LF: per state one line, "+" for a state scored
// Present, "-" for Absent, a blank for an unscored one; except that the members of an
// "Or" group are written as the group: "(0", a "p" or "a" line per member in the group's
// order, and ")0". A closed group stands at the place of its first listed member; the open
// group, which has no ")0", stands last, since every line after it would join it. A list
// without groups is the same bytes older versions wrote. States outside the open
// key's states are left out.
std::string HistoryListText(const Session& session, const std::vector<int32_t>& states);

// Every score and group of the session as a history list: the plain scores in state
// order, then the closed groups, oldest first, then the open group. Loaded into a fresh
// session of the key, it gives the same scores and groups.
std::string ScoresListText(const Session& session);

// Writes HistoryListText(session, states) to `fileName` through WriteFileAtomically: the
// file that was there is replaced whole or, on failure, stays as it was. Throws IoError
// naming the file and the reason.
void SaveHistoryList(const Session& session, const std::string& fileName,
                     const std::vector<int32_t>& states);

}  // namespace vorn
