#pragma once

#include <string>
#include <string_view>

namespace vorn {

// Keys come from a file system that ignores letter case, and real keys mix it
// (TREES.DES beside trees.dat). Every file opened by a name built from a key or typed
// by a user goes through ResolveFileName: the exact name first; otherwise, component
// by component, the directory entry whose name matches ignoring ASCII case (the first
// in byte order when several do). Returns the name unchanged when nothing matches, so
// the caller's open fails with the name the user knows.
std::string ResolveFileName(const std::string& name);

// True when the name resolves to an existing file that is not a directory.
bool FileExists(const std::string& name);

// True when the name resolves to an existing directory.
bool DirectoryExists(const std::string& name);

// Opens `name` (resolved as above) for reading and returns the descriptor. Only ordinary
// files are opened: a pipe or a device named as a key file, notes or a list would block
// or never end, so opening does not wait for one and the check is made on what was
// opened. Throws IoError naming the file.
int OpenForReading(const std::string& name);
// The same for a path taken exactly as it is, without looking for another letter case.
int OpenOrdinaryFile(const std::string& path);

// Names read from a key (notes, pictures, index pictures) were written with "\" as the
// directory separator; this desktop uses "/".
std::string KeyNameToPath(std::string_view keyName);

// The file that `name` (a name read from a key or a dataset: "\\" or "/" between
// folders) stands for inside `folder`, found ignoring letter case; empty, with `why` set,
// when there is none or when it would lead out of the folder: an absolute path, a ".."
// component, or a symbolic link whose target lies outside. Only ordinary files are
// found. `what` names the folder in `why` ("the dataset": "\"..\" leads out of the
// dataset").
std::string FileInFolder(const std::string& folder, const std::string& name,
                         const std::string& what, std::string* why);

}  // namespace vorn
