#pragma once

#include <QPointer>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/session/Events.h"
#include "frame/ChildForm.h"
#include "frame/LineWidths.h"
#include "frame/WindowFrame.h"
#include "frame/WindowKindTable.h"

class QMdiSubWindow;
class QWidget;

namespace vorn {

class Session;
struct IndexEntry;

// The child windows of one main window: which are open, how each kind is opened and
// brought forward, what every broadcast reaches, and the desktop layouts. The main window
// owns it, hands it the frame, the table of window kinds and the session, and it installs
// itself as what the core tells its events to (SessionEvents) and as the registry the
// windows reach through Windows(); destroying it takes both back.
//
// The registry is written by this class alone; a window that has begun to close no
// longer counts as open, and a window Qt has deleted is forgotten.
class WindowRegistry : public SessionEvents {
public:
    WindowRegistry(WindowFrame& frame, WindowKindTable kinds, Session& session);
    ~WindowRegistry() override;
    WindowRegistry(const WindowRegistry&) = delete;
    WindowRegistry& operator=(const WindowRegistry&) = delete;

    const WindowKindRow& Row(WindowKind kind) const;

    // ---- The frame, as the windows see it ------------------------------------------------
    LayoutMetrics Metrics() const { return frame_.Metrics(); }
    // The size of the area child windows live in (the visible part of the frame's
    // multiple-document area).
    QSize ClientSize() const;
    QWidget* DialogParent() const { return frame_.DialogParent(); }
    // Scrolls the frame's child area back to its origin, where windows are placed, after
    // a window larger than the area (an index) was scrolled into view.
    void ScrollHome();

    // Tests put windows of their own in place of the program's: the factory's window is
    // used where it returns one, the table's elsewhere. An empty factory restores the
    // table's.
    void SetChildFormFactory(std::function<TChildForm*(WindowKind)> factory);

    // ---- Which are open ------------------------------------------------------------------
    // True while a window of the kind is open (registered and not closing).
    bool IsOpen(WindowKind kind) { return OpenForm(kind) != nullptr; }
    // The newest open window of a kind, or null.
    TChildForm* OpenForm(WindowKind kind);
    template <class T = TChildForm>
    T* OpenWindow(WindowKind kind) {
        return dynamic_cast<T*>(OpenForm(kind));
    }
    // Every open window of a kind, oldest first.
    std::vector<TChildForm*> OpenForms(WindowKind kind);

    // ---- Open or bring forward -----------------------------------------------------------
    // An open window is restored when minimized and otherwise brought to the front,
    // without reloading; a closed one is created, placed and filled by its own create and
    // show. Each returns the window, or null when it could not be created or closed itself
    // at once.
    TChildForm* ShowWindow(WindowKind kind);
    void ShowCharSubset(const IndexEntry& entry);
    void ShowCharMiss(int taxon, const QString& name);
    void ShowImageForm(const QString& caption, const std::string& imageName);
    // The Taxon Differences window, with the taxon highlighted in the current window (when
    // it is a window of taxa) as its taxon A.
    TChildForm* ShowTaxonDifferences();

    // Restores a minimized window, places it inside the workspace (KeepInWorkspace),
    // brings it to the front and gives it the focus.
    void BringForward(TChildForm* form);
    // Raises a window that follows the user's browsing elsewhere (the image of the
    // highlighted taxon, its mismatched states), restoring it when minimized, without
    // taking the focus from the list being browsed.
    void RaiseWithoutFocus(TChildForm* form);
    // Creates a window of `kind` in the frame: create and register, then show. FormShow
    // runs only when `runFormShow` is set (the Subset window is filled by its caller
    // instead). A window whose creation throws is removed again and the error goes on to
    // the caller.
    TChildForm* CreateAndShow(WindowKind kind, bool runFormShow = true);
    // Moves a window that is neither minimized nor maximized wholly into the part of the
    // workspace the user sees, when it fits; one larger than that gets its top-left
    // corner there, so its caption and buttons can be reached.
    void KeepInWorkspace(QMdiSubWindow* sub);

    // ---- Broadcasts, each over the open windows in registry order ----------------------
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

    void UpdateMatchingCount();
    // After every change of scores: the count, then every list in a fixed order; brings the
    // Matching Taxa window forward when exactly one taxon is left and no "Or" group is open.
    void RefreshAfterScoring();

    // ---- Desktop layouts -----------------------------------------------------------------
    void LayoutScoreStates();
    void LayoutScoreWithActive();
    void LayoutScoreWithHistory();

    // ---- Kept for the lists and questions of this registry's windows ---------------------
    // The widths of list lines, shared by every list of these windows.
    LineWidths& Widths() { return widths_; }
    // Per kind, the value of the session's KeysOpened for the key during which the user
    // chose not to be asked again before a slow rebuild; -1 for none (AskBeforeRebuild).
    int64_t& NotAskedDuring(WindowKind kind) { return notAskedDuring_[static_cast<size_t>(kind)]; }
    // The states scored since the key was accepted, each once, in the order they were
    // first scored: the list the History window would hold had it been open all along.
    const std::vector<int32_t>& ScoredOrder() const { return scoredOrder_; }

    // ---- What the core tells ---------------------------------------------------------------
    void StateScored(int32_t state) override;
    void ScoresChanged() override { RefreshAfterScoring(); }
    void OrModeChanged() override { RedrawOrButtons(); }
    void StepsChanged() override { frame_.StepsChanged(); }
    void ProcessPendingEvents() override;
    void KeyOpened() override;
    bool ConfirmTitlePage() override { return frame_.ConfirmTitlePage(); }
    void KeyAccepted() override;
    void KeyClosed() override;

private:
    std::vector<QPointer<TChildForm>>& Entries(WindowKind kind);
    // Calls f on every open window of `group`, in registry order.
    template <class F>
    void ForEachOpen(WindowGroup group, F&& f);
    void Close(WindowKind kind);
    void LayoutWithLower(WindowKind lower);

    WindowFrame& frame_;
    WindowKindTable kinds_;
    Session& session_;
    SessionEvents* previousEvents_;
    WindowRegistry* previousRegistry_;
    std::function<TChildForm*(WindowKind)> factoryOverride_;
    // Per kind, the windows created and not yet destroyed, oldest first. A QPointer turns
    // null when Qt deletes its window, so nothing here can point at a destroyed window.
    std::array<std::vector<QPointer<TChildForm>>, WindowKindCount> registry_;
    LineWidths widths_;
    std::array<int64_t, WindowKindCount> notAskedDuring_;
    std::vector<int32_t> scoredOrder_;
    std::vector<bool> inScoredOrder_;  // per state of the open key
};

// The registry of the main window, for the windows; null while there is none (a window
// made without a main window, in a test).
WindowRegistry* InstalledWindows();
// The same, where a main window is certain (every window's commands).
WindowRegistry& Windows();

// The frame's layout metrics of the moment; all zero without a main window.
LayoutMetrics FrameMetrics();
// The size of the area child windows live in; `fallback` without a main window.
QSize FrameClientSize(QSize fallback = QSize());
// The parent for dialogs and message boxes; null without a main window.
QWidget* DialogParent();

}  // namespace vorn
