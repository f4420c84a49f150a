#pragma once

#include "windows/states/StateWindow.h"

namespace vorn {

// Score Character States: every state of the key. Its items never change while a key is
// open, so after scoring it is only redrawn.
class TCharScore : public TCharForm {
    Q_OBJECT
public:
    TCharScore();

protected:
    void AddStates() override;
};

}  // namespace vorn
