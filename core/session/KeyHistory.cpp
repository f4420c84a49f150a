#include "core/session/KeyHistory.h"

#include "core/platform/Directory.h"
#include "core/platform/Messages.h"
#include "core/session/OpenKey.h"

namespace vorn {

void AddToKeyHistory(KeyHistoryList& history, const std::string& path) {
    if (history[0] == path) return;
    size_t m = kKeyHistorySize - 1;
    for (size_t i = 1; i < kKeyHistorySize; ++i) {
        if (history[i] == path) {
            m = i;
            break;
        }
    }
    for (size_t i = m; i > 0; --i)
        history[i] = history[i - 1];
    history[0] = path;
}

void RemoveFromKeyHistory(KeyHistoryList& history, const std::string& path) {
    for (size_t m = 0; m < kKeyHistorySize; ++m) {
        if (history[m] != path) continue;
        for (size_t i = m; i + 1 < kKeyHistorySize; ++i)
            history[i] = history[i + 1];
        history.back().clear();
        return;
    }
}

std::string KeyHistoryEntry(const KeyHistoryList& history, int i) {
    return i >= 0 && i < kKeyHistorySize ? history[static_cast<size_t>(i)] : std::string();
}

std::string KeyHistoryDisplayName(const KeyHistoryList& history, int i) {
    // The current directory may have been removed under us: say so once and start from
    // the root, as a lost current drive once did.
    if (CurrentDirectory().empty()) {
        ShowInformation(
            "Current default drive is invalid.  The default directory will be changed to /.");
        ChangeToDirectory("/");
    }
    KeyFileNameParts entry = SplitKeyFileName(KeyHistoryEntry(history, i));
    if (entry.Directory != CurrentDirectory()) {
        return entry.Directory + entry.Name + entry.Extension;
    }
    return entry.Name + entry.Extension;
}

}  // namespace vorn
