#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vorn {

// Replaces the file `path` with `bytes` so that a reader, a crash or a full disk never
// sees anything but the old file or the new one: the bytes go to a temporary file in the
// same folder, are flushed to the disk, and the temporary file is renamed over the
// target. A symbolic link is written through: the link stays and its target (followed
// to the end of the chain) is replaced, with the temporary file in the target's folder.
// An existing file keeps its permission bits (and its owner, where the system lets us);
// a new one gets the usual ones for the user's umask. Only an ordinary file is
// replaced: a folder or a pipe of that name is refused. Every failure throws IoError
// naming `path` and the reason; the old file is then untouched and no temporary file
// is left behind.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// Fault injection for tests: `fault` is called before each step of every later write,
// with the step's name ("create", "write", "sync", "rename"); a nonzero return fails
// that step as the system would with that errno value. An empty function ends it.
// Returns the one it replaces.
using WriteFault = std::function<int(std::string_view step)>;
WriteFault SetWriteFault(WriteFault fault);

}  // namespace vorn
