#pragma once

#include <cstdint>
#include <string>

namespace vorn {

// The full path of the open key's .DES file; empty while no key is open.
inline std::string OpenKeyPath;
// The directory of the last key whose files were opened in this run, ending in "/".
inline std::string WorkDir;
// How many keys have been opened in this run: what caches of a key's texts compare to
// know the key they hold is still the open one.
inline int64_t KeysOpened = 0;

// The key-dependent state of the main window, as UpdateKeyMenu computes it.
struct KeyMenuState {
    bool IndexEnabled = false;  // Index1 and IndexButton
    std::string AboutKeyCaption = "About the &key";
    bool AboutKeyEnabled = false;
    bool MatchingCountVisible = false;
};

// What opening, closing and resetting a key ask of the desktop around them. The desktop
// program installs its own; the command-line identifier keeps this one, which has no
// windows and accepts every title page.
class KeyDesktop {
public:
    virtual ~KeyDesktop() = default;
    virtual void ProcessPendingEvents() {}
    virtual void SetMainCaption(const std::string& /*caption*/) {}
    virtual void SetKeyMenu(const KeyMenuState& /*state*/) {}
    virtual void UpdateMatchingCount() {}
    // Shows the key's title page modally; true when the user confirms it with OK.
    virtual bool ShowTitlePage() { return true; }
    virtual void AddToKeyHistory(const std::string& /*path*/) {}
    virtual void RemoveFromKeyHistory(const std::string& /*path*/) {}
    virtual void LoadAllWindows() {}
    // After a key is accepted: the Index window when it has an index, else the Score window.
    virtual void ShowFirstKeyWindows() {}
    virtual void ClearAllWindows() {}
    // Closes the windows that belong to a key: Index, Subset, Mismatched States,
    // Differentiating and Image, in that order.
    virtual void CloseKeyWindows() {}
};

// Installs `desktop` (not owned) and returns the one it replaces; nullptr restores the
// default.
KeyDesktop* SetKeyDesktop(KeyDesktop* desktop);
KeyDesktop& Desktop();

struct KeyFileNameParts {
    std::string Directory;  // up to and including the last "/"; empty when there is none
    std::string Name;
    std::string Extension;  // from the last "." after the last "/", dot included; may be empty
};
KeyFileNameParts SplitKeyFileName(const std::string& path);

// Opens the key whose .DES file is `path`: closes the open key, enters the key's
// directory, checks its four needed files, opens them, refuses a key beyond the
// capacity, resets the scores and shows the title page. Failures are told to the user
// through the message interface and leave no key open; an input/output error is thrown.
void OpenKey(const std::string& path);
// The second half of OpenKey, once the directory and files have been found.
void LoadKeyFiles(const std::string& path, const std::string& directory);
// Closes the open key, if any, and empties the windows that belong to it. Its counts
// go with it: with no key open there are no taxa, states or scores.
void CloseKey();
// Ends an open "Or" group, unscores every state and refreshes every window. With no key
// open it does nothing: nothing matches and no window is refreshed or opened.
void ResetKey();
// Sets the key-dependent menu items and panel of the main window.
void UpdateKeyMenu();

}  // namespace vorn
