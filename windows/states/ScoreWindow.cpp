#include "windows/states/ScoreWindow.h"

#include "core/key/KeyFiles.h"
#include "core/session/Session.h"

namespace vorn {

TCharScore::TCharScore() : TCharForm(WindowKind::CharScore) {}

void TCharScore::AddStates() {
    for (int32_t state = 0; state < CurrentSession().Key.StateCount; ++state)
        AddState(state);
}

}  // namespace vorn
