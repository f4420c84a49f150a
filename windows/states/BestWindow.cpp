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
}

}  // namespace vorn
