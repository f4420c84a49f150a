#pragma once

#include <string>

namespace vorn {

// Where the program finds the files it ships with. They live in share/vorn beside the
// program's bin/ folder (/usr/share/vorn for /usr/bin/vorn), found from the program's own
// location, so an install that is moved to another prefix still finds them. The build
// tree has the same layout (build/share/vorn beside build/programs), so a program run from the
// build and an installed one look in one way; no path of the source checkout is built in.
struct DataPaths {
    std::string Program;  // the running program's file, symbolic links resolved
    std::string Data;     // share/vorn/
    std::string Pages;    // share/vorn/docs/: the pages of the Web menu
    std::string Keys;     // share/vorn/keys/: the sample keys
};

// The folders for a program at `programFile`; each folder ends in "/". They need not exist.
DataPaths DataPathsFor(const std::string& programFile);
// The folders of the running program, read from its location each time. Empty members
// when its location cannot be read. A session starts with these (Session::Data); tests
// give theirs other folders.
DataPaths RunningProgramDataPaths();

// A shipped file, `relative` to the data folder of `paths`: its full path, or an empty
// string when it is missing (the caller names what is missing to the user).
std::string ShippedFile(const DataPaths& paths, const std::string& relative);

// The sample keys' folder of `paths` when it exists, else an empty string.
std::string SampleKeysFolder(const DataPaths& paths);

}  // namespace vorn
