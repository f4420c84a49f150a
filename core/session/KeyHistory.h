#pragma once

#include <array>
#include <string>

namespace vorn {

// How many keys the key history keeps.
constexpr int kKeyHistorySize = 6;

// The keys opened most recently, full paths of their .DES files, most recent first; an
// empty string is an empty entry.
inline std::array<std::string, kKeyHistorySize> KeyHistory;
// The key that was open when the program last ended, read from the settings file.
inline std::string StartupKeyPath;

// Move to front with kKeyHistorySize places; paths compare exactly, letter case included.
void AddToKeyHistory(const std::string& path);
// Removes the path and closes the gap; nothing when it is not listed.
void RemoveFromKeyHistory(const std::string& path);
std::string KeyHistoryEntry(int i);

// The text shown for entry i in the Key menu: the name and extension alone when the
// entry lies in the current directory, otherwise the whole path. (There are no drives on
// this desktop, so only directories are compared.)
std::string KeyHistoryDisplayName(int i);
}  // namespace vorn
