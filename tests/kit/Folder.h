#pragma once

#include <dirent.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vorn::testing {

// The names in a folder, "." and ".." left out, sorted: what a user would see there.
inline std::vector<std::string> ListDirectory(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(d)) {
            std::string name = e->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace vorn::testing
