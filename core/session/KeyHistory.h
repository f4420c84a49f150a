#pragma once

#include <array>
#include <string>

namespace vorn {

// How many keys the key history keeps.
constexpr int kKeyHistorySize = 6;

// The keys opened most recently, full paths of their .DES files, most recent first; an
// empty string is an empty entry.
using KeyHistoryList = std::array<std::string, kKeyHistorySize>;

// Move to front with kKeyHistorySize places; paths compare exactly, letter case included.
void AddToKeyHistory(KeyHistoryList& history, const std::string& path);
// Removes the path and closes the gap; nothing when it is not listed.
void RemoveFromKeyHistory(KeyHistoryList& history, const std::string& path);
std::string KeyHistoryEntry(const KeyHistoryList& history, int i);

// The text shown for entry i in the Key menu: the name and extension alone when the
// entry lies in the current directory, otherwise the whole path. (There are no drives on
// this desktop, so only directories are compared.)
std::string KeyHistoryDisplayName(const KeyHistoryList& history, int i);

}  // namespace vorn
