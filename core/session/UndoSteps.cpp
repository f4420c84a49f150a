#include "core/session/UndoSteps.h"

#include "core/key/KeyFiles.h"

namespace vorn {

size_t UndoSteps::Bytes() const {
    size_t bytes = (done_.capacity() + undone_.capacity()) * sizeof(UndoStep);
    for (const auto* list : {&done_, &undone_}) {
        for (const UndoStep& step : *list) {
            bytes += step.Changes.capacity() * sizeof(EngineChange);
            for (const EngineChange& change : step.Changes) {
                bytes += change.Scores.capacity() * sizeof(ScoredState) +
                         change.GroupSizes.capacity() * sizeof(int32_t);
            }
        }
    }
    return bytes;
}

StepKind StepKindOf(const EngineChange& change) {
    switch (change.Kind) {
        case EngineChange::Scored:
        case EngineChange::MemberAdded:
            return change.After == ScorePresent || change.After == ScoreOrPresent
                       ? StepKind::Present
                   : change.After == ScoreNone ? StepKind::Clear
                                               : StepKind::Absent;
        case EngineChange::GroupBegun:
            return StepKind::BeginOr;
        case EngineChange::GroupEnded:
            return StepKind::EndOr;
        case EngineChange::Cleared:
            return StepKind::Reset;
        case EngineChange::GroupDissolved:
            break;
    }
    return StepKind::Clear;
}

std::string StepText(const UndoStep& step, KeyRecord& key) {
    auto withState = [&](const char* verb) {
        std::string text = verb;
        if (step.State >= 0 && step.State < key.StateCount)
            text += ": " + key.ReadStateText(step.State);
        return text;
    };
    switch (step.Kind) {
        case StepKind::Present:
            return withState("Present");
        case StepKind::Absent:
            return withState("Absent");
        case StepKind::Clear:
            return withState("Clear");
        case StepKind::BeginOr:
            return "Begin Or";
        case StepKind::EndOr:
            return "End Or";
        case StepKind::Reset:
            return "Reset";
        case StepKind::LoadHistory:
            return "Load History List";
    }
    return {};
}

}  // namespace vorn
