#include "windows/states/ActiveWindow.h"

#include "core/session/Session.h"

namespace vorn {

TCharActive::TCharActive() : TCharForm(WindowKind::CharActive) {}

void TCharActive::AddStates() {
    for (int32_t state = 0; state < CurrentSession().Key.StateCount; ++state) {
        if (CurrentSession().StateScore(state) != ScoreNone) AddState(state);
    }
}

}  // namespace vorn
