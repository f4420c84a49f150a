#include "core/session/KeyHistory.h"

#include "core/platform/Directory.h"
#include "core/platform/Messages.h"
#include "core/session/OpenKey.h"

namespace vorn {

void AddToKeyHistory(const std::string& path) {
    if (KeyHistory[0] == path) return;
    size_t m = kKeyHistorySize - 1;
    for (size_t i = 1; i < kKeyHistorySize; ++i) {
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
    for (size_t m = 0; m < kKeyHistorySize; ++m) {
        if (KeyHistory[m] != path) continue;
        for (size_t i = m; i + 1 < kKeyHistorySize; ++i)
            KeyHistory[i] = KeyHistory[i + 1];
        KeyHistory.back().clear();
        return;
    }
}

std::string KeyHistoryEntry(int i) {
    return i >= 0 && i < kKeyHistorySize ? KeyHistory[static_cast<size_t>(i)] : std::string();
}

std::string KeyHistoryDisplayName(int i) {
    // The current directory may have been removed under us: say so once and start from
    // the root, as a lost current drive once did.
    if (CurrentDirectory().empty()) {
        ShowInformation(
            "Current default drive is invalid.  The default directory will be changed to /.");
        ChangeToDirectory("/");
    }
    KeyFileNameParts entry = SplitKeyFileName(KeyHistoryEntry(i));
    if (entry.Directory != CurrentDirectory()) {
        return entry.Directory + entry.Name + entry.Extension;
    }
    return entry.Name + entry.Extension;
}

}  // namespace vorn
