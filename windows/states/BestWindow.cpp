#include "windows/states/BestWindow.h"

#include "core/engine/Queries.h"
#include "frame/VornListBox.h"

namespace vorn {

TCharBest::TCharBest() : TCharForm(WindowKind::CharBest) {}

void TCharBest::AddStates() {
    for (const StateSeparation& best : BestStates()) {
        VornListBox->AddIndic(TIndicatorObj::IndicState, best.State, TIndicatorObj::CountSeparation,
                              SeparationValue(best.Separation));
    }
}

}  // namespace vorn
