#include "taxwin/FTMatch.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "app/BusyCursor.h"
#include "app/Guarded.h"
#include "app/Look.h"
#include "app/WindowManager.h"
#include "charwin/VornList.h"
#include "engine/Util.h"
#include "key/Util.h"
#include "platform/Text.h"
#include "taxwin/Notes.h"

namespace vorn {

TTaxMatch::TTaxMatch() : TChildForm(WindowKind::TaxMatch) {
    setObjectName("TaxMatch");
    setFont(SystemFont(13));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = ButtonBar(this, "Panel1");
    ImageButton =
        BarButton(Panel1, "ImageButton", "Image", "Display image of highlighted taxon", 0);
    NotesButton =
        BarButton(Panel1, "NotesButton", "Notes", "Display notes for the highlighted taxon", 60);
    ImageButton->setEnabled(false);
    NotesButton->setEnabled(false);
    ConnectGuarded(ImageButton, &QPushButton::clicked, this, &TTaxMatch::ImageButtonClick);
    ConnectGuarded(NotesButton, &QPushButton::clicked, this, &TTaxMatch::NotesButtonClick);

    VornListBox = new TVornListBox(this);
    VornListBox->setFont(SystemFont(13));
    ConnectGuarded(VornListBox, &TVornListBox::VornListBoxClick, this,
                   &TTaxMatch::VornListBoxClick);

    layout->addWidget(Panel1);
    layout->addWidget(VornListBox, 1);
}

void TTaxMatch::FormCreate() {
    LayoutMetrics m = FrameMetrics();
    SetBounds(0, 0, m.LeftPaneWidth, m.PaneHeight);
}

void TTaxMatch::FormShow() {
    LoadList();
}

void TTaxMatch::LoadList() {
    BusyCursor busy;
    ClearList();
    if (!Key.KeyOpen) return;
    for (int32_t taxon = 0; taxon < Key.TaxonCount; ++taxon) {
        if (TaxonMatches[static_cast<size_t>(taxon)]) {
            VornListBox->AddIndic(TIndicatorObj::IndicTaxon, taxon, TIndicatorObj::CountStandard);
        }
    }
}

void TTaxMatch::ClearList() {
    VornListBox->Clear();
}

void TTaxMatch::RepaintList() {
    VornListBox->RepaintList();
}

void TTaxMatch::VornListBoxClick() {
    const TIndicatorObj* taxon = VornListBox->SelectedIndicator();
    if (!taxon) return;
    ImageButton->setEnabled(taxon->ImageName.has_value());
    NotesButton->setEnabled(taxon->NotesName.has_value());
    if (ImageButton->isEnabled() && IsOpen(WindowKind::ImageForm)) ImageButtonClick();
}

void TTaxMatch::ImageButtonClick() {
    const TIndicatorObj* taxon = VornListBox->SelectedIndicator();
    if (!taxon || !taxon->ImageName || taxon->ImageName->empty()) return;
    ShowImageForm(QString::fromStdString(KeyTextToUtf8(IndicName(*taxon))), *taxon->ImageName);
}

void TTaxMatch::NotesButtonClick() {
    ShowTaxonNotes(VornListBox->SelectedIndicator());
}

}  // namespace vorn
