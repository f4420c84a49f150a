#pragma once

#include <QString>
#include <array>
#include <functional>
#include <string>

#include "app/ChildForm.h"

namespace vorn {

class TMainForm;

// One entry per kind of child window: its single instance and whether it is open. The
// window sets the flag when it is created and clears it when it closes; the reference is
// valid exactly while the flag is set. Of text windows several can be open: the
// reference names the newest, and the flag follows every text window's creation and
// closing.
struct WindowEntry {
    TChildForm* Form = nullptr;
    bool Open = false;
};
inline std::array<WindowEntry, WindowKindCount> Registry;

inline bool IsOpen(WindowKind kind) {
    return Registry[static_cast<int>(kind)].Open;
}
// The open window of a kind, or null.
template <class T = TChildForm>
T* OpenWindow(WindowKind kind) {
    const WindowEntry& entry = Registry[static_cast<int>(kind)];
    return entry.Open ? static_cast<T*>(entry.Form) : nullptr;
}

// What ShowCharSubset, ShowCharMiss and ShowImageForm hand to their windows.
class SubsetTarget {
public:
    virtual ~SubsetTarget() = default;
    virtual void SetSubsetEntry(int entry) = 0;
};
class MissTarget {
public:
    virtual ~MissTarget() = default;
    // Caption: the window's design caption followed by `name`; the list follows `taxon`.
    virtual void SetMissTaxon(int taxon, const QString& name) = 0;
};
class ImageTarget {
public:
    virtual ~ImageTarget() = default;
    // Looks up, loads and lays out the picture; closes the window when the file is missing.
    virtual void ShowImage(const std::string& imageName) = 0;
};

// Creates the window of a kind; null for a kind this build has no window for. One entry
// per kind in app/WindowFactory.cpp.
TChildForm* CreateChildForm(WindowKind kind);

// Tests put windows of their own in place of the program's; an empty one restores them.
void SetChildFormFactory(std::function<TChildForm*(WindowKind)> factory);

// Connects the window manager to the main window, the engine's scoring and the key
// operations. Called once by the main window.
void InstallWindowManager(TMainForm* mainForm);
// Disconnects it again; the main window does this when it is destroyed.
void UninstallWindowManager();

// ---- Open or bring forward ------------------------------------------------------------
// An open window is restored when minimized and otherwise brought to the front, without
// reloading; a closed one is created, placed and filled by its own create and show.
// Each returns the window, or null when this build has no window of that kind.
TChildForm* ShowTaxMatch();
TChildForm* ShowTaxMismatch();
TChildForm* ShowCharIndex();
TChildForm* ShowCharScore();
TChildForm* ShowCharActive();
TChildForm* ShowCharHistory();
TChildForm* ShowCharDiff();
void ShowCharSubset(int entry);
void ShowCharMiss(int taxon, const QString& name);
void ShowImageForm(const QString& caption, const std::string& imageName);

// Restores a minimized window, else brings it to the front.
void BringForward(TChildForm* form);
// Creates a window of `kind` in the frame: create, then show. FormShow runs only when
// `runFormShow` is set (the Subset window is filled by its caller instead).
TChildForm* CreateAndShow(WindowKind kind, bool runFormShow = true);

// ---- Broadcasts, each over the open windows in registry order -------------------------
void RepaintCharWindows();
void RepaintTaxWindows();
void RepaintAllWindows();
void ClearCharWindows();
void ClearTaxWindows();
void ClearAllWindows();
void LoadCharWindows();  // not the History window
void LoadTaxWindows();
void LoadAllWindows();
void RedrawOrButtons();
void CloseAllWindows();
// Closes the windows that belong to a key: Index, Subset, Mismatched States,
// Differentiating and Image.
void CloseKeyWindows();

void UpdateMatchingCount();
// After every change of scores: the count, then every list in a fixed order; brings the
// Matching Taxa window forward when exactly one taxon is left and no "Or" group is open.
void RefreshAfterScoring();

// ---- Desktop layouts ------------------------------------------------------------------
void LayoutScoreStates();
void LayoutScoreWithActive();
void LayoutScoreWithHistory();

}  // namespace vorn
