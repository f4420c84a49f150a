#pragma once

#include "windows/states/StateWindow.h"

namespace vorn {

// Active Character States: the states that have a score, plain or as an "Or" member, in
// state order. Rebuilt after every scoring action.
class TCharActive : public TCharForm {
    Q_OBJECT
public:
    TCharActive();

protected:
    void AddStates() override;
};

}  // namespace vorn
