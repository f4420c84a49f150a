#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vorn {

// The command-line identifier: opens a key, applies scoring actions in order exactly as
// the windows would, and reports the result as text or as one JSON object.
//
//   vorn-identify KEY.DES [ACTION ...] [--json]
//
// Returns the process's exit status: 0 done, 1 the key could not be opened, 2 bad input
// (nothing is then written to `out`). Messages go to `err`.
int RunIdentify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vorn
