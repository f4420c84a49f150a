#include "core/platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "core/platform/IoError.h"

namespace vorn {
namespace {

WriteFault writeFault;

// Zero or the errno value injected for `step`.
int Injected(std::string_view step) {
    return writeFault ? writeFault(step) : 0;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links ends at; `path` itself when it is no link. The
// end may not exist yet (a link to a file still to be written).
std::string FollowLinks(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        char target[PATH_MAX];
        ssize_t n = ::readlink(current.c_str(), target, sizeof target - 1);
        if (n < 0) throw IoError(path, "write", std::strerror(errno));
        std::string next(target, static_cast<size_t>(n));
        if (next.empty()) throw IoError(path, "write", "it is an empty symbolic link");
        if (next[0] != '/') next = FolderOf(current) + "/" + next;
        current = next;
    }
    throw IoError(path, "write", std::strerror(ELOOP));
}

mode_t NewFileMode() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

WriteFault SetWriteFault(WriteFault fault) {
    WriteFault old = std::move(writeFault);
    writeFault = std::move(fault);
    return old;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    if (path.empty()) throw IoError(path, "write", "no file name was given");
    std::string target = FollowLinks(path);
    struct stat st;
    bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        throw IoError(path, "write", "a folder of that name is in the way");
    }
    if (exists && !S_ISREG(st.st_mode)) {
        throw IoError(path, "write", "it is not an ordinary file");
    }

    std::string folder = FolderOf(target);
    size_t slash = target.rfind('/');
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temporary = folder + "/." + base + ".XXXXXX";
    int fd = -1;
    if (int e = Injected("create")) {
        errno = e;
    } else {
        fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    }
    if (fd < 0) throw IoError(path, "write", std::strerror(errno));

    auto fail = [&](int error) {
        if (fd >= 0) ::close(fd);
        ::unlink(temporary.c_str());
        throw IoError(path, "write", std::strerror(error));
    };
    if (exists) {
        // Root may keep a user's file theirs; anyone else keeps their own.
        if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
            // Not ours to give away: the file becomes the writer's, as a new one would.
        }
        if (::fchmod(fd, st.st_mode & 07777) != 0) fail(errno);
    } else if (::fchmod(fd, NewFileMode()) != 0) {
        fail(errno);
    }
    size_t done = 0;
    while (done < bytes.size()) {
        if (int e = Injected("write")) fail(e);
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        done += static_cast<size_t>(n);
    }
    if (int e = Injected("sync")) fail(e);
    if (::fsync(fd) != 0) fail(errno);
    int closing = ::close(fd);
    fd = -1;
    if (closing != 0) fail(errno);
    if (int e = Injected("rename")) fail(e);
    if (::rename(temporary.c_str(), target.c_str()) != 0) fail(errno);

    // Make the rename itself durable; a folder that cannot be synced changes nothing.
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace vorn
