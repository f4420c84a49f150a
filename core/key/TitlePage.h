#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vorn {

// The key's title page: the lines of NAME.DES as the title window shows them.

// Lines beyond this many would all stand at one place in the window: its pitch is 0 by
// then, so they are not read.
constexpr int kMaxTitleLines = 421;
// A line is one label, far narrower than this; longer lines are cut, so that a damaged
// file cannot fill memory with lines nobody can see.
constexpr size_t kMaxTitleLineBytes = 1000;

// One line as it is shown: blanks gone at both ends, a leading control character 0x03
// removed, the first "(c)" turned into the copyright sign. Bytes in the key's 8-bit text.
std::string TitleLine(std::string line);

// The first kMaxTitleLines lines of the title page `fileName`, each made a TitleLine
// after being cut to kMaxTitleLineBytes. Throws IoError when the file cannot be read.
std::vector<std::string> ReadTitlePage(const std::string& fileName);

}  // namespace vorn
