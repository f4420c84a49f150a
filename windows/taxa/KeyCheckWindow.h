#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/engine/KeyCheck.h"

namespace vorn {

class TTextForm;

// The most lines each list of a key check shows in its window.
constexpr size_t kKeyCheckListLines = 1000;

// The findings of a check of the open key as its window shows them: a line of counts, a
// line on how far a cancelled check got, then the pairs of taxa no state separates for
// certain, the states no taxon has, the states every taxon has and the taxa without "+",
// each at most `listLines` lines and then "... and N more". Taxa and states by number
// (from 1) and name, read from the key's files (may throw IoError); in the key's bytes.
// Linear in the lines shown.
std::string KeyCheckText(const KeyCheck& check, size_t listLines = kKeyCheckListLines);

// Checks the open key under a progress dialog whose Cancel stops the check, the program
// answering all the while, and shows what it found in a new text window captioned
// "Key Check: " and the key's name; earlier ones stay open. Nothing without a key open,
// or when the key closed meanwhile. Returns the window, or null.
TTextForm* ShowKeyCheck();

}  // namespace vorn
