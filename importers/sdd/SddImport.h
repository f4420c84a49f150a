#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vorn::sdd {

// The program vorn-import-sdd: reads the SDD 1.1 document args[0] (an XML file, or a zip
// archive that holds exactly one), writes the key args[2] into the folder args[1] and
// prints a report on `out`; problems that stop it go to `err` as one line. Returns the
// exit status: 0 a key was written, 1 the document cannot become a key (or the key
// cannot be written), 2 bad usage or a file that is missing or is no SDD 1.1 document.
int RunImportSdd(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vorn::sdd
