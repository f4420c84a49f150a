#include "core/session/KeyHistory.h"

#include "core/session/OpenKey.h"
#include "core/platform/Directory.h"
#include "core/platform/Messages.h"

namespace vorn {

void AddToKeyHistory(const std::string& path) {
    if (KeyHistory[0] == path) return;
    size_t m = 5;
    for (size_t i = 1; i < 6; ++i) {
        if (KeyHistory[i] == path) {
            m = i;
            break;
        }
    }
    for (size_t i = m; i > 0; --i)
        KeyHistory[i] = KeyHistory[i - 1];
    KeyHistory[0] = path;
}

void RemoveFromKeyHistory(const std::string& path) {
    for (size_t m = 0; m < 6; ++m) {
        if (KeyHistory[m] != path) continue;
        for (size_t i = m; i < 5; ++i)
            KeyHistory[i] = KeyHistory[i + 1];
        KeyHistory[5].clear();
        return;
    }
}

std::string KeyHistoryEntry(int i) {
    return i >= 0 && i < 6 ? KeyHistory[static_cast<size_t>(i)] : std::string();
}

KeyPathParts SplitKeyPath(const std::string& path) {
    // The same split as opening a key makes; there is no drive to take off first.
    KeyFileNameParts split = SplitKeyFileName(path);
    KeyPathParts parts;
    parts.Directory = std::move(split.Directory);
    parts.Name = std::move(split.Name);
    parts.Extension = std::move(split.Extension);
    return parts;
}

DirectoryParts SplitCurrentDirectory() {
    DirectoryParts parts;
    parts.Directory = CurrentDirectory();
    return parts;
}

std::string KeyHistoryDisplayName(int i) {
    // The current directory may have been removed under us: say so once and start from
    // the root, as a lost current drive once did.
    if (CurrentDirectory().empty()) {
        ShowInformation(
            "Current default drive is invalid.  The default directory will be changed to /.");
        ChangeToDirectory("/");
    }
    KeyPathParts entry = SplitKeyPath(KeyHistoryEntry(i));
    DirectoryParts current = SplitCurrentDirectory();
    if (entry.Drive != current.Drive) {
        return entry.Drive + entry.Directory + entry.Name + entry.Extension;
    }
    if (entry.Directory != current.Directory) {
        return entry.Directory + entry.Name + entry.Extension;
    }
    return entry.Name + entry.Extension;
}

}  // namespace vorn
