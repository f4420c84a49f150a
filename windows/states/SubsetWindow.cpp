#include "windows/states/SubsetWindow.h"

#include <QPushButton>
#include <algorithm>

#include "core/platform/Text.h"
#include "core/session/Session.h"
#include "frame/Guarded.h"
#include "frame/WindowRegistry.h"
#include "windows/states/IndexWindow.h"

namespace vorn {

TCharSubset::TCharSubset() : TCharForm(WindowKind::CharSubset) {
    ImageButton = AddPanelButton("ImageButton", "Image", "Display image for these character states",
                                 4 * ButtonWidth);
    ImageButton->setEnabled(false);
    ConnectGuarded(ImageButton, &QPushButton::clicked, this, &TCharSubset::ImageButtonClick);
}

void TCharSubset::SetSubsetEntry(int entry) {
    SubsetEntry = entry;
    entry_ = entry >= 0 && entry < MaxIndexEntries ? IndexTable[static_cast<size_t>(entry)]
                                                   : IndexEntry{};
}

void TCharSubset::AddStates() {
    if (entry_.Caption) SetCaption(QString::fromStdString(KeyTextToUtf8(*entry_.Caption)));
    ImageButton->setEnabled(entry_.ImageName.has_value());
    if (!entry_.ListsNoStates()) {
        int32_t ranges = std::min(entry_.RangeCount, MaxEntryRanges);
        for (int32_t r = 0; r < ranges; ++r) {
            // Only the key's own states: an index may name more than the key has.
            const EntryRange& range = entry_.Ranges[static_cast<size_t>(r)];
            int32_t last = std::min(range.Last, CurrentSession().Key.StateCount - 1);
            for (int32_t state = std::max(range.First, 0); state <= last; ++state) {
                if (CurrentSession().StateSplitsCountedTaxa(state)) AddState(state);
            }
        }
    }
}

void TCharSubset::ImageButtonClick() {
    Windows().ShowImageForm(QString::fromStdString(KeyTextToUtf8(entry_.Caption.value_or(""))),
                            entry_.ImageName.value_or(""));
}

}  // namespace vorn
