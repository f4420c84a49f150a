#include "windows/states/BestWindow.h"

#include "core/session/Session.h"
#include "frame/VornListBox.h"

namespace vorn {

TCharBest::TCharBest() : TCharForm(WindowKind::CharBest) {}

void TCharBest::AddStates() {
    for (const StateSeparation& best : CurrentSession().BestStates()) {
        VornListBox->AddIndic(TIndicatorObj::IndicState, best.State, TIndicatorObj::CountSeparation,
                              SeparationValue(best.Separation));
    }
    // The states are ranked over the taxa within the tolerance, so those are the ones
    // nothing divides.
    NoteWhyEmpty(NothingSeparates(CurrentSession().CountedTaxaCount(),
                                  "Nothing is left to ask: no state divides the %1 matching taxa"));
}

}  // namespace vorn
