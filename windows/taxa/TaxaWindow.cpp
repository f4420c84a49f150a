#include "windows/taxa/TaxaWindow.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "frame/Guarded.h"
#include "frame/Look.h"
#include "frame/VornListBox.h"
#include "frame/WindowRegistry.h"
#include "windows/taxa/TaxonNotes.h"

namespace vorn {

TTaxForm::TTaxForm(WindowKind kind, const Look& look) : TChildForm(kind) {
    setFont(SystemFont(look.FontPixels));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Bar = ButtonBar(this, look.BarName);
    ImageButton = BarButton(Bar, "ImageButton", "&Image", look.ImageHint, 0);
    NotesButton = BarButton(Bar, "NotesButton", "&Notes", look.NotesHint, 60);
    ImageButton->setEnabled(false);
    NotesButton->setEnabled(false);
    ConnectGuarded(NotesButton, &QPushButton::clicked, this, &TTaxForm::NotesButtonClick);

    VornListBox = new TVornListBox(this);
    VornListBox->setFont(SystemFont(look.FontPixels));

    layout->addWidget(Bar);
    layout->addWidget(VornListBox, 1);
}

void TTaxForm::FormCreate() {
    LayoutMetrics m = FrameMetrics();
    SetBounds(0, 0, m.LeftPaneWidth, m.PaneHeight);
}

void TTaxForm::ClearList() {
    VornListBox->Clear();
    // Nothing is highlighted now: the buttons have no taxon to act on.
    UpdateButtons();
}

void TTaxForm::RepaintList() {
    VornListBox->RepaintList();
}

int32_t TTaxForm::HighlightedTaxon() const {
    return VornListBox->SelectedIndic();
}

bool TTaxForm::UpdateButtons() {
    std::optional<TIndicatorObj> taxon = VornListBox->SelectedIndicator();
    ImageButton->setEnabled(taxon && taxon->ImageName.has_value());
    NotesButton->setEnabled(taxon && taxon->NotesName.has_value());
    return taxon.has_value();
}

void TTaxForm::NotesButtonClick() {
    std::optional<TIndicatorObj> taxon = VornListBox->SelectedIndicator();
    ShowTaxonNotes(taxon ? &*taxon : nullptr);
}

}  // namespace vorn
