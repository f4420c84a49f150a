#pragma once

#include <string>

namespace vorn {

// The process's current directory, with a final "/". Empty when it cannot be found.
std::string CurrentDirectory();

// Makes `directory` current (a final "/" is allowed). True on success. Nothing is
// changed on failure.
bool ChangeToDirectory(const std::string& directory);

// An absolute form of `path`, resolved against the current directory, with "." and ".."
// components folded and repeated "/" joined. Symbolic links are kept as they are.
std::string AbsolutePath(const std::string& path);

}  // namespace vorn
