#include "windows/states/MismatchedStatesWindow.h"

#include "core/session/Session.h"
#include "frame/VornListBox.h"

namespace vorn {

TCharMiss::TCharMiss() : TCharForm(WindowKind::CharMiss) {}

void TCharMiss::FormCreate() {
    TCharForm::FormCreate();
    MissTaxon = 0;
    CaptionPrefix = Caption();
}

void TCharMiss::SetMissTaxon(int taxon, const QString& name) {
    SetCaption(CaptionPrefix + name);
    MissTaxon = taxon;
}

void TCharMiss::AddStates() {
    // A taxon outside the key lists nothing rather than reading past its records.
    if (MissTaxon < 0 || MissTaxon >= CurrentSession().Key.TaxonCount) return;
    for (int32_t state = 0; state < CurrentSession().Key.StateCount; ++state) {
        if (CurrentSession().StateContradicts(MissTaxon, state)) AddState(state);
    }
    // A closed group the taxon satisfies none of gave it a mismatch that no single state
    // shows: one note per group, naming its members by number and text.
    for (const std::vector<ScoredState>& group : CurrentSession().GroupsFailedBy(MissTaxon)) {
        std::string note = "(\"Or\" group: ";
        for (size_t k = 0; k < group.size(); ++k) {
            if (k > 0) note += " / ";
            if (group[k].Score == ScoreOrAbsent) note += "not ";
            note += std::to_string(group[k].State + 1) + " " +
                    CurrentSession().Key.ReadStateText(group[k].State);
        }
        VornListBox->AddNote(note + ")");
    }
}

}  // namespace vorn
