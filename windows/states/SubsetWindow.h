#pragma once

#include "core/key/IndexFile.h"
#include "frame/WindowTargets.h"
#include "windows/states/StateWindow.h"

namespace vorn {

// Character State Subset: the states of one index entry that still split the matching
// taxa. It keeps its own copy of the entry, because it outlives the Index window whose
// table it came from and is rebuilt after every scoring action.
class TCharSubset : public TCharForm, public SubsetTarget {
    Q_OBJECT
public:
    TCharSubset();

    // Copies entry `entry` of the Index window's table; an entry outside the table
    // stands for no states.
    void SetSubsetEntry(int entry) override;
    // Filled by ShowCharSubset only, not when shown.
    void FormShow() override {}

    QPushButton* ImageButton = nullptr;
    int32_t SubsetEntry = -1;

public slots:
    void ImageButtonClick();

protected:
    void AddStates() override;

private:
    IndexEntry entry_;
};

}  // namespace vorn
