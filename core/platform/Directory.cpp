#include "core/platform/Directory.h"

#include <unistd.h>

#include <vector>

namespace vorn {

std::string CurrentDirectory() {
    std::vector<char> buffer(4096);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size())) break;
        if (errno != ERANGE || buffer.size() > (1u << 20)) return {};
        buffer.resize(buffer.size() * 2);
    }
    std::string dir(buffer.data());
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

bool ChangeToDirectory(const std::string& directory) {
    if (directory.empty()) return false;
    return ::chdir(directory.c_str()) == 0;
}

std::string AbsolutePath(const std::string& path) {
    std::string full = (!path.empty() && path[0] == '/') ? path : CurrentDirectory() + path;
    std::vector<std::string> parts;
    size_t pos = 0;
    while (pos <= full.size()) {
        size_t slash = full.find('/', pos);
        std::string part =
            full.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (slash == std::string::npos) break;
        pos = slash + 1;
    }
    std::string result;
    for (const std::string& part : parts)
        result += "/" + part;
    if (result.empty() || full.back() == '/') result += '/';
    return result;
}

}  // namespace vorn
