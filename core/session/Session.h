#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/engine/Engine.h"
#include "core/key/KeyFiles.h"
#include "core/session/DataPaths.h"
#include "core/session/Events.h"
#include "core/session/KeyHistory.h"
#include "core/session/Modes.h"
#include "core/session/UndoSteps.h"

namespace vorn {

// One identification: the open key and its engine, the display modes and the tolerance,
// the paths and the key history, and the steps Undo and Redo go through. Everything the
// program identifies with lives here; a function that takes a Session says so. The
// desktop program has one, installed for its windows (SetSession); vorn-identify, the web
// engine, the tests and the fuzzers make their own.
//
// Opening and closing keys are core/session/OpenKey.h's, the settings core/session/
// Settings.h's; they fill the fields below. What happens is told through SessionEvents.
class Session {
public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // ---- The open key ------------------------------------------------------------------
    // Its names, counts and files; KeyOpen is false while no key is open.
    KeyRecord Key;
    // The engine of the open key, made for its codes when they are read and destroyed
    // when the key closes; null while no key is open.
    Engine* OpenEngine() { return engine_.get(); }
    const Engine* OpenEngine() const { return engine_.get(); }
    void StartEngine();
    void StopEngine();

    // ---- Settings: not steps; kept in the settings file --------------------------------
    // The display modes: list items read them each time they are drawn.
    bool NumberMode = false;
    bool CountMode = false;
    NameModeValue NameMode = ScientificNames;
    // How many mismatches a taxon may have and still match, applied to every key that
    // opens (0 to kMenuTolerance from the menu and the settings).
    int ToleranceMode = 0;

    // ---- Paths -------------------------------------------------------------------------
    // The full path of the open key's .DES file; empty while no key is open.
    std::string OpenKeyPath;
    // The directory of the last key whose files were opened, ending in "/".
    std::string WorkDir;
    // The working directory the settings made current at start, or empty when they named
    // none (or one that is gone): a first start, for the Open Key dialog.
    std::string InitialWorkDir;
    // The key that was open when the program last ended, from the settings.
    std::string StartupKeyPath;
    KeyHistoryList KeyHistory{};
    // How many keys have been opened: what caches of a key's texts compare to know the
    // key they hold is still the open one.
    int64_t KeysOpened = 0;
    // Where the program's shipped files are; empty unless the program sets them.
    DataPaths Data;

    // ---- What the windows ask ------------------------------------------------------------
    // With no key open there are no taxa and no states: nothing is scored, nothing
    // matches, every count is 0. Indices are the caller's to keep within the key.
    uint8_t StateScore(int32_t state) const;
    int32_t MatchingTaxaCount() const;
    bool TaxonMatches(int32_t taxon) const;
    bool OrMode() const;
    int Tolerance() const;
    int32_t TaxonMismatchCount(int32_t taxon) const;
    // -1 for a state scored absent or in an "Or" group; otherwise the number of taxa
    // within the tolerance that could have the state. Cached until the scores change.
    int32_t StateMatchCount(int32_t state);
    // The number of taxa the counts beside states are made from: the taxa within the
    // tolerance, an open "Or" group's narrowing ignored. Outside a group it is
    // MatchingTaxaCount. A count equal to it is shown as "(all)".
    int32_t CountedTaxaCount() const;
    // True when some but not all of the counted taxa could have the state (its count is
    // neither 0 nor CountedTaxaCount): the states a Subset window keeps. States scored
    // absent or in an "Or" group (count -1) always pass, so a group's members stay listed.
    bool StateSplitsCountedTaxa(int32_t state);
    // True when the state is scored present and the taxon lacks it, or scored absent and
    // the taxon has it. Members of "Or" groups never contradict. Note: taxon first.
    bool StateContradicts(int32_t taxon, int32_t state) const;
    // The unscored states that some but not all matching taxa can have, fewest first;
    // equal counts in state order. What the Differentiating window lists.
    std::vector<int32_t> DifferentiatingStates();
    // Every taxon, fewest mismatches first; equal counts in taxon order. What the taxa
    // Mismatch window lists.
    std::vector<int32_t> TaxaByMismatches() const;
    // The matching taxa, fewest mismatches first; equal counts in taxon order. What the
    // Matching Taxa window lists when mismatches are allowed.
    std::vector<int32_t> MatchingTaxaByMismatches() const;
    // The unscored states that split the taxa within the tolerance, best first, each with
    // its separation (see Engine::BestStates). What the Best Character States window lists.
    std::vector<StateSeparation> BestStates();
    // The closed "Or" groups the taxon satisfies none of, oldest first, each as its
    // members with their marks: the mismatches StateContradicts does not show. Empty for
    // a taxon outside the key.
    std::vector<std::vector<ScoredState>> GroupsFailedBy(int32_t taxon) const;
    // The states on which two taxa differ (see Engine::Differences).
    TaxonDifferences Differences(int32_t a, int32_t b) const;
    // The states on which at least two of `taxa` differ for certain, one coded "+" and
    // another "-" (see Engine::CertainDifferencesAmong).
    std::vector<int32_t> CertainDifferencesAmong(const std::vector<int32_t>& taxa) const;

    // ---- Scoring -------------------------------------------------------------------------
    // The one entry point for scoring, used by every window, the history list loader and
    // vorn-identify: the engine applies the request, a change becomes a step for Undo,
    // and the events are told (StateScored when the state has a score afterwards, then
    // ScoresChanged). A request on a scored state while an "Or" group is open is refused
    // with a message. A negative state (nothing highlighted) does nothing at all; so does
    // any state while no key is open or a state beyond the key's states.
    void ScoreState(int32_t state, ScoreRequest request);
    // Runs `actions`, which score through ScoreState, as one step of `kind` for Undo, with
    // ScoresChanged told once, after the last of them (also when one throws, with what was
    // applied before it kept, and a step for it); so the windows are rebuilt, and their
    // questions asked, once for the whole operation. StateScored is told for each state.
    void ScoreTogether(StepKind kind, const std::function<void()>& actions);
    // Scores `state` as a member of the open "Or" group, as a history list's member line
    // does: a state scored already is unscored first (a member of a closed group dissolving
    // that group, as Clear does); a member of the open group stays as it is. Nothing
    // without an open group.
    void ScoreAsMember(int32_t state, ScoreRequest request);
    // Tells ScoresChanged now, or once at the end of the ScoreTogether that runs.
    void NoteScoresChanged();
    // Sets ToleranceMode and applies it to the open key at once (ScoresChanged is told).
    // A setting, not a step.
    void ChangeTolerance(int tolerance);
    // Begins an "Or" group when none is open, else ends it, and tells OrModeChanged; ending
    // a group with members also tells ScoresChanged, as a scoring action does. Each is a
    // step. Nothing without an open key.
    void ToggleOrMode();
    // Ends an open "Or" group and unscores every state, as one step, and refreshes every
    // window. Without an engine it does nothing.
    void ResetScores();

    // ---- Events --------------------------------------------------------------------------
    // What the session tells of what happens goes to `events` (not owned; it must outlive
    // its use); nullptr stops it. Returns the events it replaces.
    SessionEvents* SetEvents(SessionEvents* events);
    SessionEvents& Events() const { return events_ ? *events_ : NoEvents(); }

    // ---- Undo and Redo -------------------------------------------------------------------
    // Takes the last step back (Undo) or does the last one undone again (Redo), restoring
    // the scores and groups as they were, and tells StepsChanged, OrModeChanged when the
    // "Or" mode changed, and ScoresChanged; StateScored is never told, so the History
    // window's lines stay where they are. False, doing nothing, when there is no such step.
    bool Undo();
    bool Redo();
    const UndoSteps& Steps() const { return steps_; }
    // Forgets every step (a key closed or another one opened) and tells StepsChanged.
    void ClearSteps();

private:
    // Makes `change` part of the step being gathered by ScoreTogether, or a step of its
    // own of `kind` for `state`.
    void Record(StepKind kind, int32_t state, std::optional<EngineChange> change);

    std::unique_ptr<Engine> engine_;
    SessionEvents* events_ = nullptr;
    UndoSteps steps_;
    // While ScoreTogether runs: how deep, the step it gathers, and whether a ScoresChanged
    // is owed.
    int together_ = 0;
    UndoStep gathering_;
    bool scoresOwed_ = false;
};

// The session the desktop program identifies in, installed once by its main window and
// asked by the windows: one installer, one accessor. `session` is not owned and must
// outlive its use; SetSession returns the one it replaces, and nullptr puts back an empty
// session of no key.
Session* SetSession(Session* session);
Session& CurrentSession();

// The words for a number of matching taxa: "1 Taxon Matches", "12 Taxa Match".
inline std::string MatchingCountText(int32_t count) {
    return std::to_string(count) + (count == 1 ? " Taxon Matches" : " Taxa Match");
}

}  // namespace vorn
