#pragma once

#include "windows/states/StateWindow.h"

namespace vorn {

// Differentiating Character States: the unscored states that some but not all of the
// matching taxa can have, fewest such taxa first. Rebuilt after every scoring action;
// on a large key with many taxa left it asks first (frame/RebuildQuestion.h), and No
// closes it.
class TCharDiff : public TCharForm {
    Q_OBJECT
public:
    TCharDiff();

    void LoadList() override;

protected:
    // The engine counts every state before anything is placed, so a read error leaves
    // the list empty.
    void AddStates() override;
};

}  // namespace vorn
