#include "windows/taxa/MatchingTaxaWindow.h"

#include <QPushButton>

#include "core/key/KeyFiles.h"
#include "core/platform/Text.h"
#include "core/session/Session.h"
#include "frame/BusyCursor.h"
#include "frame/Guarded.h"
#include "frame/VornListBox.h"
#include "frame/WindowRegistry.h"

namespace vorn {

TTaxMatch::TTaxMatch()
    : TTaxForm(WindowKind::TaxMatch, {"Panel1", "Display image of highlighted taxon",
                                      "Display notes for the highlighted taxon", 13}) {
    setObjectName("TaxMatch");
    Panel1 = Bar;
    ConnectGuarded(ImageButton, &QPushButton::clicked, this, &TTaxMatch::ImageButtonClick);
    ConnectGuarded(VornListBox, &TVornListBox::VornListBoxClick, this,
                   &TTaxMatch::VornListBoxClick);
}

void TTaxMatch::LoadList() {
    BusyCursor busy;
    ClearList();
    if (!CurrentSession().Key.KeyOpen) return;
    VornListBox->AddIndics([this] {
        if (CurrentSession().Tolerance() > 0) {
            // Taxa that match despite mismatches: the fewest first, each with its count.
            for (int32_t taxon : CurrentSession().MatchingTaxaByMismatches())
                VornListBox->AddIndic(TIndicatorObj::IndicTaxon, taxon,
                                      TIndicatorObj::CountMismatches);
            return;
        }
        for (int32_t taxon = 0; taxon < CurrentSession().Key.TaxonCount; ++taxon) {
            if (CurrentSession().TaxonMatches(taxon)) {
                VornListBox->AddIndic(TIndicatorObj::IndicTaxon, taxon,
                                      TIndicatorObj::CountStandard);
            }
        }
    });
}

void TTaxMatch::VornListBoxClick() {
    if (!UpdateButtons()) return;
    if (ImageButton->isEnabled() && Windows().IsOpen(WindowKind::ImageForm)) ImageButtonClick();
}

void TTaxMatch::ImageButtonClick() {
    std::optional<TIndicatorObj> taxon = VornListBox->SelectedIndicator();
    if (!taxon || !taxon->ImageName || taxon->ImageName->empty()) return;
    Windows().ShowImageForm(QString::fromStdString(KeyTextToUtf8(IndicName(*taxon))),
                            *taxon->ImageName);
}

}  // namespace vorn
