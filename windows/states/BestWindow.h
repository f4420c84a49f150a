#pragma once

#include "windows/states/StateWindow.h"

namespace vorn {

// Best Character States: the unscored states by how much one answer about them is
// expected to tell of the taxa still within the tolerance, best first, each line led by
// that separation with two decimals (core/engine/Engine.h, BestStates). Rebuilt after every
// scoring action without asking: the engine's pass is fast, and the values ride in the
// list's rows, so nothing is read or computed again when the lines are drawn.
class TCharBest : public TCharForm {
    Q_OBJECT
public:
    TCharBest();

protected:
    void AddStates() override;
};

}  // namespace vorn
