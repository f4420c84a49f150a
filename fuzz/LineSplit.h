#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn::fuzz {

// The lines of `bytes` ending at CR, LF or CR LF, written plainly as the harnesses'
// reference; a line end at the very end starts no further line.
inline std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            line += c;
            open = true;
        }
    }
    if (open) lines.push_back(line);
    return lines;
}

}  // namespace vorn::fuzz
