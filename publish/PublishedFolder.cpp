#include "publish/PublishedFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <set>

#include "core/platform/IoError.h"
#include "core/platform/WholeFile.h"

namespace vorn::publish {
namespace {

constexpr size_t kMaxPathBytes = 1000;
constexpr size_t kMaxListedPaths = 100000;

std::string Reason() {
    return std::strerror(errno);
}

// The folders `path` lies in, outermost first ("a/b/c" gives "a", "a/b").
std::vector<std::string> FoldersOf(const std::string& path) {
    std::vector<std::string> folders;
    for (size_t slash = path.find('/'); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        folders.push_back(path.substr(0, slash));
    return folders;
}

// True when every folder `path` lies in under `dir` is a folder itself, not a link.
bool InRealFolders(const std::string& dir, const std::string& path) {
    for (const std::string& folder : FoldersOf(path)) {
        struct stat st;
        if (::lstat((dir + folder).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    }
    return true;
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

bool FolderIsEmpty(const std::string& dir) {
    std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(dir.c_str()), ::closedir);
    if (!d) throw Failure{1, "cannot read the folder " + dir + ": " + Reason()};
    while (dirent* e = ::readdir(d.get())) {
        std::string_view name(e->d_name);
        if (name != "." && name != "..") return false;
    }
    return true;
}

}  // namespace

std::string PublishedListText(const std::vector<std::string>& paths) {
    std::string text =
        "# Written by vorn-publish: the files of this published key. vorn-publish --force\n"
        "# removes exactly these before it publishes again.\n";
    for (const std::string& path : paths)
        text += path + "\n";
    return text;
}

bool IsPublishedPath(std::string_view path) {
    if (path.empty() || path.size() > kMaxPathBytes) return false;
    for (unsigned char c : path) {
        if (c < 0x20 || c == 0x7f || c == '\\') return false;
    }
    for (size_t at = 0; at <= path.size();) {
        size_t slash = path.find('/', at);
        if (slash == std::string_view::npos) slash = path.size();
        std::string_view part = path.substr(at, slash - at);
        if (part.empty() || part == "." || part == "..") return false;
        at = slash + 1;
    }
    return true;
}

std::optional<std::vector<std::string>> ReadPublishedList(std::string_view text, std::string* why) {
    std::vector<std::string> paths;
    int line = 0;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view path = text.substr(at, end - at);
        at = end + 1;
        ++line;
        if (!path.empty() && path.back() == '\r') path.remove_suffix(1);
        if (!path.empty() && path[0] == '#') continue;
        if (!IsPublishedPath(path) || paths.size() >= kMaxListedPaths) {
            if (why) {
                *why =
                    "line " + std::to_string(line) +
                    (paths.size() >= kMaxListedPaths ? " is beyond the 100,000 files a list holds"
                                                     : " names no file inside the folder");
            }
            return std::nullopt;
        }
        paths.emplace_back(path);
    }
    return paths;
}

OutputFolder::OutputFolder(const std::string& outDir, bool force,
                           const std::vector<std::string>& planned)
    : planned_(planned) {
    std::string dir = outDir;
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    struct stat st;
    if (::stat(dir.c_str(), &st) != 0) {
        if (errno != ENOENT) throw Failure{1, "cannot read " + outDir + ": " + Reason()};
        size_t slash = dir.rfind('/');
        std::string parent = slash == std::string::npos ? "."
                             : slash == 0               ? "/"
                                                        : dir.substr(0, slash);
        struct stat up;
        if (::stat(parent.c_str(), &up) != 0 || !S_ISDIR(up.st_mode))
            throw Failure{2, "the folder " + parent + " of " + outDir + " does not exist"};
        if (::mkdir(dir.c_str(), 0755) != 0)
            throw Failure{1, "cannot create " + outDir + ": " + Reason()};
        dir_ = dir + "/";
        return;
    }
    if (!S_ISDIR(st.st_mode)) throw Failure{2, outDir + " exists and is not a folder"};
    dir_ = dir == "/" ? dir : dir + "/";
    if (FolderIsEmpty(dir_)) return;
    std::string list = dir_ + kPublishedList;
    struct stat listed;
    if (::lstat(list.c_str(), &listed) != 0 || !S_ISREG(listed.st_mode)) {
        throw Failure{2, outDir +
                             " is not empty and holds no key published by vorn-publish; "
                             "choose a new or empty folder"};
    }
    if (!force) {
        throw Failure{2, outDir + " holds a key published earlier; give --force to replace it"};
    }
    std::string why;
    std::optional<std::vector<std::string>> earlier;
    try {
        earlier = ReadPublishedList(ReadWholeFile(list, 64 << 20).Bytes, &why);
    } catch (const IoError& error) {
        throw Failure{1, error.what()};
    }
    if (!earlier) {
        throw Failure{2, "the list " + list + " of the earlier run is damaged (" + why +
                             "); remove the folder's files by hand"};
    }
    earlier_ = std::move(*earlier);
    std::set<std::string> ours(earlier_.begin(), earlier_.end());
    for (const std::string& path : planned_) {
        for (const std::string& folder : FoldersOf(path)) {
            struct stat st;
            if (::lstat((dir_ + folder).c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) {
                throw Failure{2,
                              dir_ + folder +
                                  " is not a folder, and vorn-publish writes through no link: move "
                                  "it away or choose another folder"};
            }
        }
        if (!ours.count(path) && Exists(dir_ + path)) {
            throw Failure{2, dir_ + path +
                                 " was not written by vorn-publish, which never replaces it: move "
                                 "it away or choose another folder"};
        }
    }
}

void OutputFolder::Begin() {
    std::set<std::string> folders;
    for (const std::string& path : earlier_) {
        if (!InRealFolders(dir_, path)) continue;
        std::string file = dir_ + path;
        struct stat st;
        if (::lstat(file.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) continue;
        if (::unlink(file.c_str()) != 0)
            throw Failure{1, "cannot remove " + file + ": " + Reason()};
        for (const std::string& folder : FoldersOf(path))
            folders.insert(folder);
    }
    // Deepest first; a folder that holds anything else stays.
    std::vector<std::string> emptied(folders.begin(), folders.end());
    std::sort(emptied.begin(), emptied.end(), [](const std::string& a, const std::string& b) {
        return std::count(a.begin(), a.end(), '/') > std::count(b.begin(), b.end(), '/');
    });
    for (const std::string& folder : emptied)
        ::rmdir((dir_ + folder).c_str());
    std::string list = dir_ + kPublishedList;
    if (Exists(list) && ::unlink(list.c_str()) != 0)
        throw Failure{1, "cannot remove " + list + ": " + Reason()};
    Write(kPublishedList, PublishedListText(planned_));
}

void OutputFolder::Write(const std::string& path, FileParts parts) {
    if (!IsPublishedPath(path))
        throw Failure{1, "\"" + path + "\" is no file name of a published key"};
    for (const std::string& folder : FoldersOf(path)) {
        std::string at = dir_ + folder;
        struct stat st;
        if (::lstat(at.c_str(), &st) == 0) {
            if (!S_ISDIR(st.st_mode)) {
                throw Failure{1, at + " is not a folder (a link is never written through)"};
            }
            continue;
        }
        if (::mkdir(at.c_str(), 0755) != 0)
            throw Failure{1, "cannot create " + at + ": " + Reason()};
    }
    std::string file = dir_ + path;
    // O_EXCL: a file or link of that name, however it came there, is never written through.
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) throw Failure{1, "cannot write " + file + ": " + Reason()};
    for (std::string_view bytes : parts) {
        for (size_t done = 0; done < bytes.size();) {
            ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                std::string reason = Reason();
                ::close(fd);
                throw Failure{1, "cannot write " + file + ": " + reason};
            }
            done += static_cast<size_t>(n);
        }
    }
    if (::close(fd) != 0) throw Failure{1, "cannot write " + file + ": " + Reason()};
}

}  // namespace vorn::publish
