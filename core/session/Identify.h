#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vorn {

// The command-line identifier: opens a key, applies scoring actions in order exactly as
// the windows would, and reports the result as text or as one JSON object; or measures how
// many answers a user of the key needs (core/engine/Efficiency.h).
//
//   vorn-identify KEY.DES [ACTION ...] [--json] [--keep-going] [--save-history FILE]
//                 [--report FILE.html] [--tolerance K] [--differences A,B] [--check-key]
//   vorn-identify KEY.DES --efficiency [--tolerance K] [--sample N] [--json]
//
// Returns the process's exit status: 0 done; 1 the key could not be opened or read, an
// action failed under --keep-going, or the history list or the report could not be
// written; 2 bad input (nothing is then written to `out`); 3 `out` could not be written.
// Messages go to `err`.
int RunIdentify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vorn
