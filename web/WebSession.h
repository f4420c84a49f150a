#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <vector>
#include "core/key/CodeMatrix.h"
#include "core/key/PackedCodes.h"

#include "core/session/Actions.h"
#include "core/session/Session.h"

namespace vorn::web {

// One identification in a published key's page: a Session of its own over the key's
// published codes, the actions in force as the page's address writes them, and the
// messages the core showed. The page reaches the core through this class only
// (web/Bindings.cpp binds it for JavaScript); every answer it shows comes from here.
// Natively built, the tests and fuzzers use it the same way.
//
// Each action that changes the identification is one step for Undo and one entry of the
// actions in force; an action that changes nothing (Present on a state already Present, a
// score refused while an "Or" group is open) leaves neither, so the address never holds
// what it would not need. Undo takes the last entry back, Redo gives it again, and the
// address follows, so a browser's Back and Forward are Undo and Redo (Navigate).
//
// While a method runs, the core's messages and events come here (the installers are set
// and restored around each call), so several WebSessions may live in one process.
class WebSession {
public:
    WebSession();
    ~WebSession();
    WebSession(const WebSession&) = delete;
    WebSession& operator=(const WebSession&) = delete;

    // Opens the key `name` from its packed codes (core/key/PackedCodes.h). False, with a
    // message, when they cannot be read; no key is open then.
    bool Open(const std::string& name, std::string_view packedCodes);
    // The same for codes that arrive in parts, as the page streams key/codes.bin into the
    // engine's memory: BeginCodes reads the header (its first kPackedCodesHeader bytes)
    // and makes room for the planes: it gives how many bytes of them follow, or -1, with a
    // message from EndCodes, when the header is refused. The caller writes the planes at CodesAt(),
    // no more than that many bytes, then EndCodes opens the key `name` once `received` bytes came
    // after the header (counted whole, so that a longer file is refused too).
    int64_t BeginCodes(std::string_view header);
    char* CodesAt() { return pendingAt_; }
    bool EndCodes(const std::string& name, uint64_t received);
    bool KeyOpen() const { return session_.Key.KeyOpen; }

    // ---- What the user does --------------------------------------------------------------
    // Applies one action in vorn-identify's syntax: "+N", "-N", "~N", "=N", "or", "undo",
    // "redo", "reset". False, with a message, when the text is none of these (a history
    // list is loaded with LoadHistoryList) or names a state outside the key.
    bool Act(const std::string& action);
    bool Undo();
    bool Redo();
    // A tolerance from 0 to kMenuTolerance (others are brought within); not a step.
    void SetTolerance(int tolerance);
    // Loads the history list file `fileName` (in the current directory of the file
    // system, the browser's own in memory), as the History window's Load does: one step,
    // whose actions, as vorn-identify would write them, join the actions in force. Lines
    // outside the key are skipped and said once. False, with the reason, when the file
    // cannot be read or has a bad line; what came before that line stays applied.
    bool LoadHistoryList(const std::string& fileName);
    // The history list file of the states scored or listed so far, in the order they first
    // were, as the History window saves it (core/session/HistoryList.h).
    std::string HistoryListText() const;

    // ---- The address ---------------------------------------------------------------------
    // The address of the identification (web/Address.h): the actions in force and the
    // tolerance. Applying it to a fresh page, or to `vorn-identify KEY.DES ACTIONS
    // --tolerance K`, gives the same identification.
    std::string Address() const;
    // Starts the identification afresh from `address`, which is checked whole first: one
    // that cannot be read is refused with a message, and the identification starts empty
    // (false).
    bool Restore(const std::string& address);
    // Goes to `address` the way a browser's Back and Forward do: one Undo when it is the
    // address before the last entry, one Redo when it is the address with the entry Redo
    // would give, the tolerance alone when only that differs; else Restore.
    bool Navigate(const std::string& address);

    // ---- What the page shows -------------------------------------------------------------
    // The messages the core showed since the last call, oldest first (UTF-8).
    std::vector<std::string> TakeMessages();
    // What Undo and Redo would take back or do again: "Present", "Absent", "Clear", "Begin
    // Or", "End Or", "Reset", "Load History List"; empty when there is nothing. The state
    // of a score is NextUndoState / NextRedoState (-1 for none).
    std::string NextUndo();
    std::string NextRedo();
    int32_t NextUndoState() const;
    int32_t NextRedoState() const;

    // The questions of the windows, answered by the one Session.
    Session& Core() { return session_; }
    const Session& Core() const { return session_; }
    // The taxa the Matching Taxa window lists: in taxon order, or fewest mismatches first
    // while a tolerance is set.
    std::vector<int32_t> MatchingTaxa() const;
    // StateMatchCount of every state.
    std::vector<int32_t> StateCounts();
    // The states on which `taxon` mismatches (the Mismatched States window); none for a
    // taxon outside the key.
    std::vector<int32_t> ContradictingStates(int32_t taxon) const;
    // The "Or" groups: each closed one, oldest first, then the open one (possibly without
    // members); each its members in the order they joined.
    std::vector<std::vector<int32_t>> Groups() const;

private:
    class Hooks;
    struct Entry {
        std::vector<std::string> Actions;
    };

    // Runs one action already read; false when it names a state outside the key.
    bool Apply(const Action& action);
    // Runs `run`; when it made a step, records `actions` as its entry.
    template <class F>
    void Record(std::vector<std::string> actions, F&& run);
    // Forgets the identification: scores, groups, steps, entries, listed states, and sets
    // `tolerance`.
    void Clear(int tolerance);
    std::vector<std::string> ActionsInForce() const;
    // The actions the newest step stands for; verified by doing them again in its place.
    std::vector<std::string> ActionsOfNewestStep();
    void Say(const std::string& text) { messages_.push_back(text); }
    void List(int32_t state);

    // Refuses the key `name` for `why`; no key is open then.
    bool Refuse(const std::string& name, const std::string& why);

    Session session_;
    CodeMatrix pending_;                              // the codes BeginCodes made room for
    std::optional<PackedCodesHeader> pendingHeader_;  // none before BeginCodes
    char* pendingAt_ = nullptr;
    std::vector<Entry> done_;
    std::vector<Entry> undone_;
    std::vector<int32_t> listed_;
    std::vector<bool> isListed_;
    std::vector<std::string> messages_;
};

}  // namespace vorn::web
