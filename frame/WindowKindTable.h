#pragma once

#include <span>

#include "frame/ChildForm.h"

namespace vorn {

enum class WindowGroup { None, State, Taxa };
enum class AfterScoring { Nothing, Repaint, Load };

// One row per kind of child window: everything the window registry needs to open, refresh
// and close it. The rows live in desktop/WindowKinds.cpp, indexed by WindowKind.
struct WindowKindRow {
    WindowKind Kind;
    const char* Caption;  // the design caption, set before the window's FormCreate
    WindowGroup Group;    // which repaint, clear, load and Or-button broadcasts reach it
    AfterScoring Refresh;
    bool LoadedWithKey;  // reloaded by LoadCharWindows / LoadTaxWindows
    bool Several;        // any number may be open at once (text windows)
    TChildForm* (*Create)();
    // The window's section of the user's manual, a page of docs/manual/ with its anchor,
    // opened by Help (F1) while the window is the current one.
    const char* HelpAnchor = "index.html";
};

// The table of window kinds: a row per kind, and the kinds that close with a key, in the
// order they close.
struct WindowKindTable {
    std::span<const WindowKindRow, WindowKindCount> Rows;
    std::span<const WindowKind> ClosedWithKey;
};

}  // namespace vorn
