#include "windows/states/MismatchedStatesWindow.h"

#include "core/session/Session.h"

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
}

}  // namespace vorn
