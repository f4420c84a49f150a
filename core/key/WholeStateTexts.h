#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// A key's state file keeps each state's text in an 80-byte record; an imported key whose
// texts do not fit keeps them whole in a companion file, NAME.CHL: one line per state, in
// state order, the whole "character: state" text in the key's 8-bit text, lines ended by
// CR LF. Older readers ignore it and show the records.

// A whole text longer than this is cut: a state's text is a line of a list, not a page.
constexpr size_t kMaxWholeStateText = 1000;

struct WholeStateTexts {
    // One text per state, or none when the file cannot serve (Problem says why).
    std::vector<std::string> Texts;
    // Empty when the texts are usable; otherwise why not, in words for the user, starting
    // with the file's name: "NAME.CHL holds 12 lines for the key's 14 states".
    std::string Problem;
};

// The texts of `bytes`, a companion file named `fileName` for a key of `states` states:
// lines split at CR LF, CR or LF (a line end at the very end starts no further line),
// each cut at kMaxWholeStateText bytes. Usable only when there is exactly one line per
// state.
WholeStateTexts WholeStateTextsOf(std::string_view bytes, bool more, const std::string& fileName,
                                  int32_t states);

// Reads `fileName` (resolved as every key file is) for a key of `states` states, at most a
// size that one line per state allows. A file that cannot be read gives a Problem, never an
// error: the key opens with the records' texts.
WholeStateTexts ReadWholeStateTexts(const std::string& fileName, int32_t states);

}  // namespace vorn
