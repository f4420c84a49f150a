#include "web/WebSession.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

#include "core/key/CodeMatrix.h"
#include "core/key/PackedCodes.h"
#include "core/platform/IoError.h"
#include "core/platform/Messages.h"
#include "core/session/Events.h"
#include "core/session/HistoryList.h"
#include "core/session/Modes.h"
#include "core/session/OpenKey.h"
#include "web/Address.h"

namespace vorn::web {

// The core's messages and the states it scores come to the session while one of its
// methods runs; the installers are put back after.
class WebSession::Hooks : public UserInterface, public SessionEvents {
public:
    explicit Hooks(WebSession& owner)
        : owner_(owner), ui_(SetUserInterface(this)), events_(owner.session_.SetEvents(this)) {}
    ~Hooks() override {
        SetUserInterface(ui_);
        owner_.session_.SetEvents(events_);
    }
    void ShowMessage(MessageKind, const std::string& text) override { owner_.Say(text); }
    bool AskYesNo(MessageKind, const std::string& text, QuestionCheckBox*) override {
        owner_.Say(text);
        return true;
    }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest&) override { return {}; }
    bool PrintDocument(const PrintRequest&) override { return false; }
    void StateScored(int32_t state) override { owner_.List(state); }

private:
    WebSession& owner_;
    UserInterface* ui_;
    SessionEvents* events_;
};

namespace {

// The scores and groups of an engine: what two ways of reaching an identification must
// agree on.
struct Snapshot {
    std::vector<uint8_t> Scores;
    std::vector<std::vector<int32_t>> Closed;
    std::optional<std::vector<int32_t>> Open;
    bool operator==(const Snapshot&) const = default;
};

Snapshot SnapshotOf(const Session& session) {
    Snapshot snapshot;
    const Engine* engine = session.OpenEngine();
    if (!engine) return snapshot;
    for (int32_t s = 0; s < engine->StateCount(); ++s)
        snapshot.Scores.push_back(engine->Score(s));
    for (const OrGroup& group : engine->ClosedGroups())
        snapshot.Closed.push_back(group.Members);
    if (engine->OpenGroup()) snapshot.Open = engine->OpenGroup()->Members;
    return snapshot;
}

std::string Scored(char sign, int32_t state) {
    return sign + std::to_string(state + 1);
}

// The actions that make `snapshot` from no scores: reset first, then the plain scores in
// state order, then each group.
std::vector<std::string> ActionsMaking(const Snapshot& snapshot) {
    std::vector<std::string> actions{"reset"};
    for (size_t s = 0; s < snapshot.Scores.size(); ++s) {
        uint8_t score = snapshot.Scores[s];
        if (score == ScorePresent || score == ScoreAbsent)
            actions.push_back(Scored(score == ScorePresent ? '+' : '-', static_cast<int32_t>(s)));
    }
    auto group = [&](const std::vector<int32_t>& members, bool closed) {
        actions.push_back("or");
        for (int32_t m : members)
            actions.push_back(Scored(snapshot.Scores[m] == ScoreOrPresent ? '+' : '-', m));
        if (closed) actions.push_back("or");
    };
    for (const auto& members : snapshot.Closed)
        group(members, true);
    if (snapshot.Open) group(*snapshot.Open, false);
    return actions;
}

const char* kRefusedEnd = "  The identification starts empty.";

}  // namespace

WebSession::WebSession() = default;
WebSession::~WebSession() = default;

bool WebSession::Open(const std::string& name, std::string_view packedCodes) {
    int64_t room = BeginCodes(packedCodes);
    if (room < 0) return EndCodes(name, 0);
    std::string_view planes = packedCodes.substr(kPackedCodesHeader);
    if (!planes.empty())
        std::memcpy(pendingAt_, planes.data(), std::min<size_t>(planes.size(), room));
    return EndCodes(name, planes.size());
}

int64_t WebSession::BeginCodes(std::string_view header) {
    pending_.Clear();
    pendingAt_ = nullptr;
    pendingHeader_ = ReadPackedCodesHeader(header);
    if (!pendingHeader_->Why.empty()) return -1;
    try {
        pendingAt_ = pending_.PlanesToFill(pendingHeader_->Taxa, pendingHeader_->States);
    } catch (const std::bad_alloc&) {
        pendingHeader_->Why = "it is too large for the memory this browser gives the page";
        return -1;
    }
    return static_cast<int64_t>(pendingHeader_->PlaneBytes);
}

bool WebSession::EndCodes(const std::string& name, uint64_t received) {
    Hooks hooks(*this);
    done_.clear();
    undone_.clear();
    listed_.clear();
    isListed_.clear();
    std::optional<PackedCodesHeader> begun = std::move(pendingHeader_);
    CodeMatrix codes = std::move(pending_);
    pending_.Clear();
    pendingAt_ = nullptr;
    pendingHeader_.reset();
    if (!begun) return Refuse(name, "the key's codes are not in the form this page reads");
    const PackedCodesHeader& header = *begun;
    if (!header.Why.empty()) return Refuse(name, header.Why);
    if (std::string why = PlanesLengthProblem(header, received + kPackedCodesHeader); !why.empty())
        return Refuse(name, why);
    if (!codes.FinishPlanes()) return Refuse(name, kDamagedCodes);
    try {
        OpenPublishedKey(session_, name, std::move(codes));
    } catch (const std::bad_alloc&) {
        return Refuse(name, "it is too large for the memory this browser gives the page");
    }
    return true;
}

bool WebSession::Refuse(const std::string& name, const std::string& why) {
    Hooks hooks(*this);
    pending_.Clear();
    pendingAt_ = nullptr;
    CloseKey(session_);
    Say("The key " + name + " cannot be opened: " + why + ".");
    return false;
}

void WebSession::List(int32_t state) {
    if (state < 0 || state >= session_.Key.StateCount) return;
    if (isListed_.size() < static_cast<size_t>(session_.Key.StateCount))
        isListed_.resize(static_cast<size_t>(session_.Key.StateCount));
    if (isListed_[state]) return;
    isListed_[state] = true;
    listed_.push_back(state);
}

template <class F>
void WebSession::Record(std::vector<std::string> actions, F&& run) {
    size_t before = session_.Steps().Done();
    run();
    if (session_.Steps().Done() <= before) return;
    done_.push_back({std::move(actions)});
    undone_.clear();
}

bool WebSession::Apply(const Action& action) {
    switch (action.Kind) {
        case Action::Score: {
            std::optional<int32_t> state = ActionState(action, session_.Key.StateCount);
            if (!state) return false;
            Record({ActionText(action)}, [&] { session_.ScoreState(*state, action.Request); });
            return true;
        }
        case Action::Or:
            Record({"or"}, [&] { session_.ToggleOrMode(); });
            return true;
        case Action::Reset:
            Record({"reset"}, [&] { ResetKey(session_); });
            return true;
        case Action::Undo:
            if (!done_.empty() && session_.Undo()) {
                undone_.push_back(std::move(done_.back()));
                done_.pop_back();
            }
            return true;
        case Action::Redo:
            if (!undone_.empty() && session_.Redo()) {
                done_.push_back(std::move(undone_.back()));
                undone_.pop_back();
            }
            return true;
        case Action::History:
            break;
    }
    return false;
}

bool WebSession::Act(const std::string& text) {
    Hooks hooks(*this);
    std::optional<Action> action = ParseAction(text);
    if (!action || action->Kind == Action::History) {
        Say("\"" + text + "\" is no action of VORN.");
        return false;
    }
    if (!Apply(*action)) {
        Say("\"" + text + "\": the states of this key are 1 to " +
            std::to_string(session_.Key.StateCount) + ".");
        return false;
    }
    return true;
}

bool WebSession::Undo() {
    Hooks hooks(*this);
    size_t before = done_.size();
    Action undo;
    undo.Kind = Action::Undo;
    Apply(undo);
    return done_.size() < before;
}

bool WebSession::Redo() {
    Hooks hooks(*this);
    size_t before = done_.size();
    Action redo;
    redo.Kind = Action::Redo;
    Apply(redo);
    return done_.size() > before;
}

void WebSession::SetTolerance(int tolerance) {
    Hooks hooks(*this);
    session_.ChangeTolerance(std::clamp(tolerance, 0, kMenuTolerance));
}

void WebSession::Clear(int tolerance) {
    ResetKey(session_);
    session_.ClearSteps();
    session_.ChangeTolerance(tolerance);
    done_.clear();
    undone_.clear();
    listed_.clear();
    isListed_.clear();
}

std::vector<std::string> WebSession::ActionsOfNewestStep() {
    const UndoStep& step = session_.Steps().NextUndo();
    std::vector<std::string> actions;
    for (const EngineChange& change : step.Changes) {
        switch (change.Kind) {
            case EngineChange::Scored:
                actions.push_back(
                    change.After == ScoreNone
                        ? Scored('=', change.State)
                        : Scored(change.After == ScorePresent ? '+' : '-', change.State));
                break;
            case EngineChange::MemberAdded:
                actions.push_back(Scored(change.After == ScoreOrPresent ? '+' : '-', change.State));
                break;
            case EngineChange::GroupBegun:
            case EngineChange::GroupEnded:
                actions.push_back("or");
                break;
            case EngineChange::GroupDissolved:
                actions.push_back(Scored('=', change.State));
                break;
            case EngineChange::Cleared:
                actions.push_back("reset");
                break;
        }
    }
    // Done again in the step's place, the actions must give what the step gave; where they
    // would not (a way of loading that no action has), the identification is written out
    // whole instead. Either way the step stays one step.
    Snapshot after = SnapshotOf(session_);
    auto redo = [&](const std::vector<std::string>& list) {
        session_.Undo();
        session_.ScoreTogether(StepKind::LoadHistory, [&] {
            for (const std::string& text : list) {
                std::optional<Action> action = ParseAction(text);
                std::optional<int32_t> state =
                    action ? ActionState(*action, session_.Key.StateCount) : std::nullopt;
                if (action && action->Kind == Action::Or) session_.ToggleOrMode();
                if (action && action->Kind == Action::Reset) ResetKey(session_);
                if (state) session_.ScoreState(*state, action->Request);
            }
        });
        return SnapshotOf(session_) == after;
    };
    if (redo(actions)) return actions;
    actions = ActionsMaking(after);
    redo(actions);
    return actions;
}

bool WebSession::LoadHistoryList(const std::string& fileName) {
    Hooks hooks(*this);
    size_t before = session_.Steps().Done();
    bool read = true;
    try {
        SkippedLines skipped =
            vorn::LoadHistoryList(session_, fileName, [this](int32_t s) { List(s); });
        if (skipped.Total()) Say(SkippedLinesText(session_, fileName, skipped));
    } catch (const IoError& error) {
        Say(error.what());
        read = false;
    }
    if (session_.Steps().Done() > before) {
        done_.push_back({ActionsOfNewestStep()});
        undone_.clear();
    }
    return read;
}

std::string WebSession::HistoryListText() const {
    return vorn::HistoryListText(session_, listed_);
}

std::vector<std::string> WebSession::ActionsInForce() const {
    std::vector<std::string> actions;
    for (const Entry& entry : done_)
        actions.insert(actions.end(), entry.Actions.begin(), entry.Actions.end());
    return actions;
}

std::string WebSession::Address() const {
    return AddressText(ActionsInForce(), session_.ToleranceMode);
}

bool WebSession::Restore(const std::string& text) {
    Hooks hooks(*this);
    std::string why;
    std::optional<web::Address> address = ParseAddress(text, session_.Key.StateCount, &why);
    Clear(address ? address->Tolerance : 0);
    if (!session_.Key.KeyOpen) return false;
    if (!address) {
        Say("The address of this page was not applied: " + why + "." + kRefusedEnd);
        return false;
    }
    for (const Action& action : address->Actions)
        Apply(action);
    return true;
}

bool WebSession::Navigate(const std::string& text) {
    std::optional<web::Address> address = ParseAddress(text, session_.Key.StateCount, nullptr);
    if (!address) return Restore(text);
    std::vector<std::string> wanted;
    for (const Action& action : address->Actions)
        wanted.push_back(ActionText(action));
    std::vector<std::string> now = ActionsInForce();
    if (wanted == now) {
        SetTolerance(address->Tolerance);
        return true;
    }
    if (address->Tolerance == session_.ToleranceMode) {
        auto withEntry = [&](const Entry& entry) {
            std::vector<std::string> list = now;
            list.insert(list.end(), entry.Actions.begin(), entry.Actions.end());
            return list;
        };
        if (!done_.empty() &&
            wanted == std::vector<std::string>(
                          now.begin(),
                          now.end() - static_cast<std::ptrdiff_t>(done_.back().Actions.size())))
            return Undo();
        if (!undone_.empty() && wanted == withEntry(undone_.back())) return Redo();
    }
    return Restore(text);
}

std::vector<std::string> WebSession::TakeMessages() {
    std::vector<std::string> messages;
    messages.swap(messages_);
    return messages;
}

namespace {

std::string StepVerb(const UndoStep& step, KeyRecord& key) {
    UndoStep named = step;
    named.State = -1;  // the verb alone: the page has the state's text
    return StepText(named, key);
}

}  // namespace

std::string WebSession::NextUndo() {
    const UndoSteps& steps = session_.Steps();
    return steps.CanUndo() ? StepVerb(steps.NextUndo(), session_.Key) : std::string();
}

std::string WebSession::NextRedo() {
    const UndoSteps& steps = session_.Steps();
    return steps.CanRedo() ? StepVerb(steps.NextRedo(), session_.Key) : std::string();
}

int32_t WebSession::NextUndoState() const {
    return session_.Steps().CanUndo() ? session_.Steps().NextUndo().State : -1;
}

int32_t WebSession::NextRedoState() const {
    return session_.Steps().CanRedo() ? session_.Steps().NextRedo().State : -1;
}

std::vector<int32_t> WebSession::MatchingTaxa() const {
    if (session_.Tolerance() > 0) return session_.MatchingTaxaByMismatches();
    std::vector<int32_t> taxa;
    for (int32_t t = 0; t < session_.Key.TaxonCount; ++t)
        if (session_.TaxonMatches(t)) taxa.push_back(t);
    return taxa;
}

std::vector<int32_t> WebSession::StateCounts() {
    std::vector<int32_t> counts;
    counts.reserve(static_cast<size_t>(session_.Key.StateCount));
    for (int32_t s = 0; s < session_.Key.StateCount; ++s)
        counts.push_back(session_.StateMatchCount(s));
    return counts;
}

std::vector<int32_t> WebSession::ContradictingStates(int32_t taxon) const {
    std::vector<int32_t> states;
    if (taxon < 0 || taxon >= session_.Key.TaxonCount) return states;
    for (int32_t s = 0; s < session_.Key.StateCount; ++s)
        if (session_.StateContradicts(taxon, s)) states.push_back(s);
    return states;
}

std::vector<std::vector<int32_t>> WebSession::Groups() const {
    std::vector<std::vector<int32_t>> groups;
    const Engine* engine = session_.OpenEngine();
    if (!engine) return groups;
    for (const OrGroup& group : engine->ClosedGroups())
        groups.push_back(group.Members);
    if (engine->OpenGroup()) groups.push_back(engine->OpenGroup()->Members);
    return groups;
}

}  // namespace vorn::web
