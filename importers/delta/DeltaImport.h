#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vorn::delta {

// The program vorn-import-delta: reads the DELTA dataset in args[0], writes the key
// args[2] into the folder args[1] and prints a report on `out`; problems that stop it
// go to `err` as one line. Returns the exit status: 0 a key was written, 1 the dataset
// cannot become a key (or the key cannot be written), 2 bad usage or a dataset file
// that is missing or cannot be read.
int RunImportDelta(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vorn::delta
