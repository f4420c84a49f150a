#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/engine/Engine.h"

namespace vorn {

struct KeyRecord;

// What the user did in one step, as the Undo and Redo items name it.
enum class StepKind : uint8_t { Present, Absent, Clear, BeginOr, EndOr, Reset, LoadHistory };

// One user action that changed a score or a group: what the engine changed, in order.
struct UndoStep {
    StepKind Kind = StepKind::Present;
    int32_t State = -1;  // the state a Present, Absent or Clear was asked for
    std::vector<EngineChange> Changes;
};

// The steps Undo and Redo go through, oldest first, and those undone, most recently
// undone last. A new step drops what could be redone. Each step keeps only what it
// changed (see EngineChange), so memory follows what the user did, not the key's size.
class UndoSteps {
public:
    bool CanUndo() const { return !done_.empty(); }
    bool CanRedo() const { return !undone_.empty(); }
    // The step Undo / Redo would take; only while CanUndo / CanRedo.
    const UndoStep& NextUndo() const { return done_.back(); }
    const UndoStep& NextRedo() const { return undone_.back(); }

    void Push(UndoStep step) {
        done_.push_back(std::move(step));
        undone_.clear();
    }
    // Moves the next step from one list to the other and returns it.
    const UndoStep& MoveToUndone() {
        undone_.push_back(std::move(done_.back()));
        done_.pop_back();
        return undone_.back();
    }
    const UndoStep& MoveToDone() {
        done_.push_back(std::move(undone_.back()));
        undone_.pop_back();
        return done_.back();
    }
    void Clear() {
        done_.clear();
        undone_.clear();
    }

    size_t Done() const { return done_.size(); }
    size_t Undone() const { return undone_.size(); }
    // The memory the steps hold, in bytes (vectors counted at their capacity).
    size_t Bytes() const;

private:
    std::vector<UndoStep> done_;
    std::vector<UndoStep> undone_;
};

// The kind of step a lone scoring action makes, from what it changed: the score it gave,
// a member's mark, or Clear for a score or group taken away.
StepKind StepKindOf(const EngineChange& change);

// The words that name a step after "Undo " or "Redo ": "Present: leaves opposite",
// "Reset", "End Or". The state's text is read from the key (may throw IoError); bytes
// as in the key.
std::string StepText(const UndoStep& step, KeyRecord& key);

}  // namespace vorn
