#pragma once

#include <cstddef>
#include <limits>
#include <string>

#include "core/engine/KeyCheck.h"
#include "core/key/KeyFiles.h"

namespace vorn {

// The most lines each list of a key check shows in its window.
constexpr size_t kKeyCheckListLines = 1000;

// The findings of a check of the open key as its window and vorn-identify --check-key
// show them: a line of counts, a line on how far a cancelled check got, then the pairs of
// taxa no state separates for certain, the states no taxon has, the states every taxon
// has and the taxa without "+", each under a heading with its length, at most
// `listLines` lines and then "... and N more". Taxa and states by number (from 1) and
// name, read from the key's files (may throw IoError); in the key's bytes. Linear in the
// lines shown.
std::string KeyCheckText(KeyRecord& key, const KeyCheck& check,
                         size_t listLines = std::numeric_limits<size_t>::max());

}  // namespace vorn
