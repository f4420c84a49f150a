#include "windows/states/SubsetWindow.h"

#include <QPushButton>
#include <algorithm>

#include "core/platform/Text.h"
#include "core/session/Session.h"
#include "frame/Guarded.h"
#include "frame/WindowRegistry.h"

namespace vorn {

TCharSubset::TCharSubset() : TCharForm(WindowKind::CharSubset) {
    ImageButton = AddPanelButton("ImageButton", "Image", "Display image for these character states",
                                 4 * ButtonWidth);
    ImageButton->setEnabled(false);
    ConnectGuarded(ImageButton, &QPushButton::clicked, this, &TCharSubset::ImageButtonClick);
}

void TCharSubset::SetSubsetEntry(const IndexEntry& entry) {
    SubsetEntry = entry.Number;
    entry_ = entry;
}

void TCharSubset::AddStates() {
    if (!entry_) return;
    SetCaption(QString::fromStdString(KeyTextToUtf8(entry_->Caption())));
    ImageButton->setEnabled(entry_->ImageName.has_value());
    bool hasStates = false;
    if (!entry_->ListsNoStates()) {
        for (const EntryRange& range : entry_->Ranges) {
            // Only the key's own states: an index may name more than the key has.
            int32_t last = std::min(range.Last, CurrentSession().Key.StateCount - 1);
            for (int32_t state = std::max(range.First, 0); state <= last; ++state) {
                hasStates = true;
                if (CurrentSession().StateSplitsCountedTaxa(state)) AddState(state);
            }
        }
    }
    if (!hasStates) {
        NoteWhyEmpty("This entry has no states");
        return;
    }
    NoteWhyEmpty(NothingSeparates(CurrentSession().CountedTaxaCount(),
                                  "No state of this entry separates the %1 matching taxa"));
}

void TCharSubset::ImageButtonClick() {
    if (!entry_) return;
    Windows().ShowImageForm(QString::fromStdString(KeyTextToUtf8(entry_->Caption())),
                            entry_->ImageName.value_or(""));
}

}  // namespace vorn
