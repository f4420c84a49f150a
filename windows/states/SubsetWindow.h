#pragma once

#include <optional>

#include "core/key/IndexFile.h"
#include "frame/WindowTargets.h"
#include "windows/states/StateWindow.h"

namespace vorn {

// Character State Subset: the states of one index entry that still split the matching
// taxa. It keeps its own copy of the entry, handed to it by ShowCharSubset, because it
// outlives the Index window the entry came from and is rebuilt after every scoring action.
class TCharSubset : public TCharForm, public SubsetTarget {
    Q_OBJECT
public:
    TCharSubset();

    void SetSubsetEntry(const IndexEntry& entry) override;
    // Filled by ShowCharSubset only, not when shown.
    void FormShow() override {}

    QPushButton* ImageButton = nullptr;
    int32_t SubsetEntry = -1;  // the entry's number; -1 before it is handed one

public slots:
    void ImageButtonClick();

protected:
    void AddStates() override;

private:
    std::optional<IndexEntry> entry_;
};

}  // namespace vorn
