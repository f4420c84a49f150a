#include "charwin/FCScore.h"

#include "key/Util.h"

namespace vorn {

TCharScore::TCharScore() : TCharForm(WindowKind::CharScore) {}

void TCharScore::AddStates() {
    for (int32_t state = 0; state < Key.StateCount; ++state)
        AddState(state);
}

}  // namespace vorn
