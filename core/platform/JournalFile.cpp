#include "core/platform/JournalFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "core/platform/FileLookup.h"
#include "core/platform/IoError.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;

JournalFile::WriteFault journalWriteFault;

int Injected(std::string_view step) {
    return journalWriteFault ? journalWriteFault(step) : 0;
}

constexpr char kPrefix[] = "journal-";
constexpr char kJournalExtension[] = ".HIS";
constexpr char kLockExtension[] = ".lock";
constexpr char kAsideName[] = "aside.HIS";

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string LockOf(const std::string& journal) {
    return journal.substr(0, journal.size() - std::strlen(kJournalExtension)) + kLockExtension;
}

bool EndsWith(const std::string& text, const char* end) {
    size_t n = std::strlen(end);
    return text.size() >= n && text.compare(text.size() - n, n, end) == 0;
}

// True when no running process holds the lock at `lock` (or there is no lock).
bool LockIsFree(const std::string& lock) {
    int fd = ::open(lock.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return true;
    bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);  // and with it the lock taken just now
    return free;
}

void SyncFolder(const std::string& folder) {
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    ::fsync(dir);
    ::close(dir);
}

}  // namespace

std::string StateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && *state == '/') return WithSlash(state) + "vorn/";
    const char* home = std::getenv("HOME");
    if (home && *home == '/') return WithSlash(home) + ".local/state/vorn/";
    return {};
}

std::optional<FileIdentity> IdentityOf(const std::string& name) {
    struct stat st;
    if (::stat(ResolveFileName(name).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return FileIdentity{static_cast<int64_t>(st.st_size),
                        static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

JournalFile::~JournalFile() {
    if (lock_ >= 0) ::close(lock_);
}

JournalFile::WriteFault JournalFile::SetWriteFault(WriteFault fault) {
    WriteFault old = std::move(journalWriteFault);
    journalWriteFault = std::move(fault);
    return old;
}

void JournalFile::Open(const std::string& folder) {
    if (IsOpen()) return;
    std::string dir = WithSlash(folder);
    std::error_code error;
    fs::create_directories(dir, error);
    if (error) throw IoError(dir, "write", error.message());
    ::chmod(dir.c_str(), 0700);  // what a user was identifying is theirs alone
    std::string name = dir + kPrefix + "XXXXXX" + kLockExtension;
    int fd = ::mkostemps(name.data(), static_cast<int>(std::strlen(kLockExtension)), O_CLOEXEC);
    if (fd < 0) throw IoError(dir, "write", std::strerror(errno));
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int e = errno;
        ::close(fd);
        ::unlink(name.c_str());
        throw IoError(dir, "write", std::strerror(e));
    }
    lock_ = fd;
    lockPath_ = name;
    path_ = name.substr(0, name.size() - std::strlen(kLockExtension)) + kJournalExtension;
}

void JournalFile::Write(std::string_view bytes) {
    std::string temporary = path_ + ".new";
    int fd = -1;
    if (int e = Injected("create")) {
        errno = e;
    } else {
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    }
    if (fd < 0) throw IoError(path_, "write", std::strerror(errno));
    auto fail = [&](int error) {
        if (fd >= 0) ::close(fd);
        ::unlink(temporary.c_str());
        throw IoError(path_, "write", std::strerror(error));
    };
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
    int closing = ::close(fd);
    fd = -1;
    if (closing != 0) fail(errno);
    if (int e = Injected("rename")) fail(e);
    if (::rename(temporary.c_str(), path_.c_str()) != 0) fail(errno);
}

void JournalFile::Sync() {
    if (int e = Injected("sync")) throw IoError(path_, "write", std::strerror(e));
    int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return;  // removed since: nothing to keep
        throw IoError(path_, "write", std::strerror(errno));
    }
    int synced = ::fdatasync(fd);
    int error = errno;
    ::close(fd);
    if (synced != 0) throw IoError(path_, "write", std::strerror(error));
    SyncFolder(fs::path(path_).parent_path().string());
}

void JournalFile::Remove() {
    if (!path_.empty()) ::unlink(path_.c_str());
}

void JournalFile::Close() {
    if (!IsOpen()) return;
    Remove();
    ::unlink(lockPath_.c_str());
    ::close(lock_);
    lock_ = -1;
}

std::vector<std::string> JournalFile::Orphans(const std::string& folder) {
    std::vector<std::pair<fs::file_time_type, std::string>> found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(WithSlash(folder), error)) {
        std::string name = entry.path().filename().string();
        if (name.rfind(kPrefix, 0) != 0) continue;
        std::string path = entry.path().string();
        if (EndsWith(name, kLockExtension)) {
            // A lock left by a program that ended before it wrote a journal.
            std::string journal =
                path.substr(0, path.size() - std::strlen(kLockExtension)) + kJournalExtension;
            if (!fs::exists(journal, error) && LockIsFree(path)) ::unlink(path.c_str());
            continue;
        }
        if (!EndsWith(name, kJournalExtension) || !entry.is_regular_file(error)) continue;
        if (!LockIsFree(LockOf(path))) continue;
        found.emplace_back(entry.last_write_time(error), path);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a > b; });
    std::vector<std::string> orphans;
    for (auto& [time, path] : found)
        orphans.push_back(std::move(path));
    return orphans;
}

std::string JournalFile::SetAside(const std::string& journal) {
    std::string aside = fs::path(journal).parent_path().string() + "/" + kAsideName;
    if (::rename(journal.c_str(), aside.c_str()) != 0) return journal;
    if (EndsWith(journal, kJournalExtension)) ::unlink(LockOf(journal).c_str());
    return aside;
}

void JournalFile::Discard(const std::string& journal) {
    ::unlink(journal.c_str());
    if (EndsWith(journal, kJournalExtension)) ::unlink(LockOf(journal).c_str());
}

std::string JournalFile::Aside(const std::string& folder) {
    std::string aside = WithSlash(folder) + kAsideName;
    std::error_code error;
    return fs::is_regular_file(aside, error) ? aside : std::string();
}

void JournalFile::RemoveAside(const std::string& folder) {
    ::unlink((WithSlash(folder) + kAsideName).c_str());
}

}  // namespace vorn
