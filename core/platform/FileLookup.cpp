#include "core/platform/FileLookup.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "core/platform/IoError.h"
#include "core/platform/Text.h"

namespace vorn {
namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// The entry of directory `dir` (a path ending in "/" or empty for the current one)
// that matches `component` ignoring case; empty when none does.
std::string MatchInDirectory(const std::string& dir, const std::string& component) {
    std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(dir.empty() ? "." : dir.c_str()), ::closedir);
    if (!d) return {};
    std::string best;
    while (dirent* e = ::readdir(d.get())) {
        std::string_view entry(e->d_name);
        if (EqualIgnoringCase(entry, component) && (best.empty() || entry < best)) {
            best = std::string(entry);
        }
    }
    return best;
}

}  // namespace

std::string ResolveFileName(const std::string& name) {
    if (name.empty() || Exists(name)) return name;
    std::string resolved;
    size_t pos = 0;
    if (name[0] == '/') {
        resolved = "/";
        pos = 1;
    }
    while (pos <= name.size()) {
        size_t slash = name.find('/', pos);
        bool last = slash == std::string::npos;
        std::string component = name.substr(pos, last ? std::string::npos : slash - pos);
        if (!component.empty()) {
            std::string candidate = resolved + component;
            if (component != "." && component != ".." && !Exists(candidate)) {
                std::string match = MatchInDirectory(resolved, component);
                if (match.empty()) return name;
                candidate = resolved + match;
            }
            resolved = candidate;
            if (!last) resolved += '/';
        }
        if (last) break;
        pos = slash + 1;
    }
    return resolved;
}

bool FileExists(const std::string& name) {
    struct stat st;
    std::string path = ResolveFileName(name);
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& name) {
    struct stat st;
    std::string path = ResolveFileName(name);
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

namespace {

// Opens `path`; errors name the file as the user knows it, `name`.
int OpenOrdinary(const std::string& path, const std::string& name) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) throw IoError(name, "open", std::strerror(errno));
    struct stat st;
    const char* problem = nullptr;
    if (::fstat(fd, &st) != 0) {
        problem = std::strerror(errno);
    } else if (S_ISDIR(st.st_mode)) {
        problem = "it is a directory";
    } else if (!S_ISREG(st.st_mode)) {
        problem = "it is not an ordinary file";
    }
    if (problem) {
        std::string reason = problem;
        ::close(fd);
        throw IoError(name, "open", reason);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

}  // namespace

int OpenForReading(const std::string& name) {
    return OpenOrdinary(ResolveFileName(name), name);
}

int OpenOrdinaryFile(const std::string& path) {
    return OpenOrdinary(path, path);
}

std::string KeyNameToPath(std::string_view keyName) {
    std::string path(keyName);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string FileInFolder(const std::string& folder, const std::string& name,
                         const std::string& what, std::string* why) {
    namespace fs = std::filesystem;
    std::string path = KeyNameToPath(name);
    auto refuse = [&](const std::string& reason) {
        if (why) *why = reason;
        return std::string();
    };
    if (path.empty()) return refuse("no file name");
    if (path[0] == '/' || (path.size() > 1 && path[1] == ':')) {
        return refuse("an absolute path, which may lead out of " + what);
    }
    for (const auto& part : fs::path(path)) {
        if (part == "..") return refuse("\"..\" leads out of " + what);
    }
    std::string found = ResolveFileName(folder + "/" + path);
    std::error_code error;
    if (!fs::is_regular_file(found, error)) return refuse("not found");
    fs::path real = fs::canonical(found, error);
    fs::path root = fs::canonical(folder, error);
    std::string inside = real.string() + "/", top = root.string();
    if (top.empty() || top.back() != '/') top += '/';
    if (error || inside.compare(0, top.size(), top) != 0) {
        return refuse("a symbolic link that leads out of " + what);
    }
    return found;
}

}  // namespace vorn
