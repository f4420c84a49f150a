#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

namespace vorn {

constexpr size_t kNoSizeLimit = std::numeric_limits<size_t>::max();

// What reading a file whole gives: at most the limit's bytes, and whether the file held
// more than that.
struct FileBytes {
    std::string Bytes;
    bool More = false;
};

// Reads the file open on `fd` from where it stands to its end, or to `limit` bytes,
// in pieces (a small file costs little), then closes it. `fd` is taken over: it is closed
// whatever happens. A failed read or close throws IoError naming `name`.
FileBytes ReadOpenFile(int fd, const std::string& name, size_t limit = kNoSizeLimit);

// Opens `name` with OpenForReading (letter case resolved, ordinary files only) and reads
// it as above. Throws IoError.
FileBytes ReadWholeFile(const std::string& name, size_t limit = kNoSizeLimit);

// Fault injection for tests: `fault` is called before each read and before the close of
// every later ReadOpenFile, with the file's name and the step ("read", "close"); a
// nonzero return fails that step as the system would with that errno value (the file is
// closed all the same). An empty function ends it. Returns the one it replaces.
using WholeFileFault = std::function<int(const std::string& name, std::string_view step)>;
WholeFileFault SetWholeFileFault(WholeFileFault fault);

}  // namespace vorn
