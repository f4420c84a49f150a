#pragma once

#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "frame/ChildForm.h"

class QMdiArea;
class QWidget;

namespace vorn {

struct IndexEntry;

// ---- The frame, as the windows see it -------------------------------------------------

// Where the child windows take their places: the left column for taxa, the right one for
// states; recomputed by the frame whenever it is resized.
struct LayoutMetrics {
    int LeftPaneWidth = 0;
    int RightPaneWidth = 0;
    int PaneHeight = 0;
    int UpperPaneHeight = 0;
    int LowerPaneHeight = 0;
};

// What the window manager needs of the main window: the frame, and what only the main
// window can do when the core tells of a key. The main window hands itself over once
// (InstallWindowManager); no child window ever reaches the main window itself.
class WindowFrame {
public:
    virtual ~WindowFrame() = default;
    // The multiple-document area that holds every child window.
    virtual QMdiArea* ChildArea() const = 0;
    virtual LayoutMetrics Metrics() const = 0;
    // The parent of modal dialogs and message boxes.
    virtual QWidget* DialogParent() const = 0;
    virtual void SetMatchingCountText(const QString& text) = 0;
    // A key opened or closed: the caption, the key-dependent menu items and the count
    // panel follow the open key.
    virtual void ShowKeyState() = 0;
    // Shows the open key's title page modally; true when the user confirms it with OK.
    virtual bool ConfirmTitlePage() = 0;
};

// The frame's layout metrics of the moment; all zero without a frame.
LayoutMetrics FrameMetrics();
// The size of the area child windows live in (the visible part of the frame's
// multiple-document area); `fallback` without a frame.
QSize FrameClientSize(QSize fallback = QSize());
// The parent for dialogs and message boxes; null without a frame.
QWidget* DialogParent();
// Scrolls the frame's child area back to its origin, where windows are placed, after a
// window larger than the area (an index) was scrolled into view.
void ScrollFrameHome();

// ---- Window kinds -----------------------------------------------------------------------

enum class WindowGroup { None, State, Taxa };
enum class AfterScoring { Nothing, Repaint, Load };

// One row per kind of child window: everything the window manager needs to open, refresh
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

// ---- What the windows hand each other through the manager ------------------------------

class SubsetTarget {
public:
    virtual ~SubsetTarget() = default;
    // The index entry whose states the window lists: a copy of its own, since it outlives
    // the Index window the entry came from.
    virtual void SetSubsetEntry(const IndexEntry& entry) = 0;
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
class DifferencesTarget {
public:
    virtual ~DifferencesTarget() = default;
    // Chooses `taxon` as taxon A; the list of differences follows.
    virtual void SetTaxonA(int32_t taxon) = 0;
};
class HistoryTarget {
public:
    virtual ~HistoryTarget() = default;
    // Appends a state that now has a score, unless it is listed already.
    virtual void AddIndic(int32_t state) = 0;
};

// ---- Installing ---------------------------------------------------------------------------

// Connects the window manager to the frame and the table of window kinds, and installs
// it as what the core tells its events to (SessionEvents). Called once by the main window.
void InstallWindowManager(WindowFrame* frame, WindowKindTable kinds);
// Disconnects it again and restores the core's default events; the main window does this
// when it is destroyed.
void UninstallWindowManager();

// Tests put windows of their own in place of the program's: the factory's window is used
// where it returns one, the table's elsewhere. An empty factory restores the table's.
void SetChildFormFactory(std::function<TChildForm*(WindowKind)> factory);

// ---- The registry: written by the window manager alone ---------------------------------

// True while a window of the kind is open (registered and not closing).
bool IsOpen(WindowKind kind);
// The newest open window of a kind, or null.
TChildForm* OpenForm(WindowKind kind);
template <class T = TChildForm>
T* OpenWindow(WindowKind kind) {
    return dynamic_cast<T*>(OpenForm(kind));
}
// Every open window of a kind, oldest first.
std::vector<TChildForm*> OpenForms(WindowKind kind);

// ---- Open or bring forward --------------------------------------------------------------
// An open window is restored when minimized and otherwise brought to the front, without
// reloading; a closed one is created, placed and filled by its own create and show.
// Each returns the window, or null when it could not be created or closed itself at once.
TChildForm* ShowWindow(WindowKind kind);
void ShowCharSubset(const IndexEntry& entry);
void ShowCharMiss(int taxon, const QString& name);
void ShowImageForm(const QString& caption, const std::string& imageName);
// The Taxon Differences window, with the taxon highlighted in the current window (when it
// is a window of taxa) as its taxon A.
TChildForm* ShowTaxonDifferences();

// Restores a minimized window, else brings it to the front and gives it the focus.
void BringForward(TChildForm* form);
// Raises a window that follows the user's browsing elsewhere (the image of the highlighted
// taxon, its mismatched states), restoring it when minimized, without taking the focus
// from the list being browsed.
void RaiseWithoutFocus(TChildForm* form);
// Creates a window of `kind` in the frame: create and register, then show. FormShow runs
// only when `runFormShow` is set (the Subset window is filled by its caller instead). A
// window whose creation throws is removed again and the error goes on to the caller.
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
// Closes every child window, every text window included.
void CloseAllWindows();
// Closes the windows that belong to a key, in the order of the table of kinds.
void CloseKeyWindows();
// After a key is accepted: the Index window when it has an index, else the Score window.
void ShowFirstKeyWindows();

// The words of the count panel for `count` matching taxa at `tolerance` mismatches:
// "12 Taxa Match"; above 0 "12 Taxa Match, 2 allowed"; with no taxon left, some
// mismatches already allowed and more on the menu, "0 Taxa Match: click to allow 2"
// (one more than now).
std::string MatchingCountCaption(int32_t count, int tolerance);
// True when the count panel offers one more mismatch: a key open, no taxon matching, and
// the tolerance above 0 and below the menu's highest.
bool CountPanelOffersTolerance();
void UpdateMatchingCount();
// After every change of scores: the count, then every list in a fixed order; brings the
// Matching Taxa window forward when exactly one taxon is left and no "Or" group is open.
void RefreshAfterScoring();

// ---- Desktop layouts ------------------------------------------------------------------
void LayoutScoreStates();
void LayoutScoreWithActive();
void LayoutScoreWithHistory();

}  // namespace vorn
