#include "core/platform/WholeFile.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "core/platform/FileLookup.h"
#include "core/platform/IoError.h"

namespace vorn {
namespace {

WholeFileFault wholeFileFault;

// The step's injected errno, or 0.
int Injected(const std::string& name, std::string_view step) {
    return wholeFileFault ? wholeFileFault(name, step) : 0;
}

}  // namespace

WholeFileFault SetWholeFileFault(WholeFileFault replacement) {
    return std::exchange(wholeFileFault, std::move(replacement));
}

FileBytes ReadOpenFile(int fd, const std::string& name, size_t limit) {
    FileBytes file;
    char piece[1 << 16];
    int error = 0;
    // One byte past the limit tells whether there is more.
    size_t wanted = limit == kNoSizeLimit ? limit : limit + 1;
    while (file.Bytes.size() < wanted) {
        if ((error = Injected(name, "read")) != 0) break;
        ssize_t n = ::read(fd, piece, std::min(sizeof piece, wanted - file.Bytes.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        if (n <= 0) break;
        file.Bytes.append(piece, static_cast<size_t>(n));
    }
    // A failed close can lose what a file system reports late; EINTR still closed it.
    int closeError = Injected(name, "close");
    if (::close(fd) != 0 && errno != EINTR) closeError = errno;
    if (closeError && error == 0) throw IoError(name, "close", std::strerror(closeError));
    if (error) throw IoError(name, "read", std::strerror(error));
    if (file.Bytes.size() > limit) {
        file.More = true;
        file.Bytes.resize(limit);
    }
    return file;
}

FileBytes ReadWholeFile(const std::string& name, size_t limit) {
    return ReadOpenFile(OpenForReading(name), name, limit);
}

}  // namespace vorn
