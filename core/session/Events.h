#pragma once

#include <cstdint>

namespace vorn {

// What a session tells the program around it: the one way up from the core. Each Session
// tells the events it was given (Session::SetEvents). The desktop program's window registry
// implements them (and asks the main window for what only the main window can do);
// vorn-identify, tests and fuzzers implement what they need; the default does nothing and
// accepts every title page.
class SessionEvents {
public:
    virtual ~SessionEvents() = default;

    // A scoring action left `state` with a score (also when it had that score already).
    virtual void StateScored(int32_t /*state*/) {}
    // A scoring action ran, or the scores were cleared: counts and lists are stale.
    virtual void ScoresChanged() {}
    // An "Or" group began or ended.
    virtual void OrModeChanged() {}
    // A step was added to the steps of Undo and Redo, taken back, done again, or the steps
    // were forgotten: what Undo and Redo would do has changed.
    virtual void StepsChanged() {}

    // Before a key's files are read: let pending events run, so that windows emptied by
    // closing the old key are drawn empty first.
    virtual void ProcessPendingEvents() {}
    // A key is open (Key.KeyOpen), its title page not yet confirmed.
    virtual void KeyOpened() {}
    // The key's title page, shown modally; true when the user confirms it with OK.
    virtual bool ConfirmTitlePage() { return true; }
    // The user confirmed the key: its windows are to be filled and the first ones opened.
    virtual void KeyAccepted() {}
    // The open key closed, or a close ran with none open: the windows that belong to a key
    // are to be emptied and closed.
    virtual void KeyClosed() {}
};

// The events that do nothing: what a session tells while nothing listens.
SessionEvents& NoEvents();

}  // namespace vorn
