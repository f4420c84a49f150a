#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

#include "core/engine/KeyCheck.h"

namespace vorn {

// The lines that report a check of the open key, as the Key Check window and
// vorn-identify --check-key show them: a line of counts, then each list under its
// heading, taxa and states by number (from 1) and name. A list longer than `cap` shows
// its first `cap` lines and then "... and N more". Names are the key's bytes
// (Windows-1252). Reads the key's names (may throw IoError).
std::vector<std::string> KeyCheckLines(const KeyCheck& check,
                                       size_t cap = std::numeric_limits<size_t>::max());

}  // namespace vorn
