#include "windows/states/ActiveWindow.h"

#include "core/engine/Queries.h"

namespace vorn {

TCharActive::TCharActive() : TCharForm(WindowKind::CharActive) {}

void TCharActive::AddStates() {
    for (int32_t state = 0; state < Key.StateCount; ++state) {
        if (StateScore(state) != ScoreNone) AddState(state);
    }
}

}  // namespace vorn
