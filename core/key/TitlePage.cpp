#include "core/key/TitlePage.h"

#include "core/platform/Text.h"
#include "core/platform/TextFile.h"

namespace vorn {

std::string TitleLine(std::string line) {
    line = std::string(TrimBlanks(line));
    if (!line.empty() && line[0] == '\x03') line.erase(0, 1);
    size_t at = line.find("(c)");
    if (at == std::string::npos) return line;
    return line.substr(0, at) + '\xA9' + line.substr(at + 3);
}

std::vector<std::string> ReadTitlePage(const std::string& fileName) {
    std::vector<std::string> lines;
    TextFile file;
    file.Open(fileName);
    while (!file.AtEnd() && static_cast<int>(lines.size()) < kMaxTitleLines) {
        std::string line = file.ReadLine();
        if (line.size() > kMaxTitleLineBytes) line.resize(kMaxTitleLineBytes);
        lines.push_back(TitleLine(std::move(line)));
    }
    file.Close();
    return lines;
}

}  // namespace vorn
