#pragma once

#include <array>
#include <string>

namespace vorn {

// The six keys opened most recently, full paths of their .DES files, most recent first;
// an empty string is an empty entry.
inline std::array<std::string, 6> KeyHistory;
// The key that was open when the program last ended, read from the settings file.
inline std::string StartupKeyPath;

// Move to front with six places; paths compare exactly, letter case included.
void AddToKeyHistory(const std::string& path);
// Removes the path and closes the gap; nothing when it is not listed.
void RemoveFromKeyHistory(const std::string& path);
std::string KeyHistoryEntry(int i);

// The text shown for entry i in the Key menu: the name and extension alone when the
// entry lies in the current directory, otherwise the whole path. (There are no drives on
// this desktop, so only directories are compared.)
std::string KeyHistoryDisplayName(int i);

struct KeyPathParts {
    std::string Drive;      // always empty on this desktop
    std::string Directory;  // up to and including the last "/"
    std::string Name;
    std::string Extension;  // from the last "." of the file name, dot included
};
KeyPathParts SplitKeyPath(const std::string& path);

struct DirectoryParts {
    std::string Drive;      // always empty on this desktop
    std::string Directory;  // ending in "/"
};
DirectoryParts SplitCurrentDirectory();

}  // namespace vorn
