#include "windows/taxa/TaxonMismatchWindow.h"

#include <QPushButton>

#include "core/key/KeyFiles.h"
#include "core/platform/FileLookup.h"
#include "core/platform/Messages.h"
#include "core/platform/Text.h"
#include "core/session/Session.h"
#include "frame/BusyCursor.h"
#include "frame/Guarded.h"
#include "frame/OpenDocument.h"
#include "frame/RebuildQuestion.h"
#include "frame/VornListBox.h"
#include "frame/WindowRegistry.h"

namespace vorn {

TTaxMismatch::TTaxMismatch()
    : TTaxForm(WindowKind::TaxMismatch,
               {"TopPanel", "Display the image(s) for the highlighted taxon",
                "Display the notes for the highlighted taxon", 17}) {
    setObjectName("TaxMismatch");
    TopPanel = Bar;
    ConnectGuarded(ImageButton, &QPushButton::clicked, this, &TTaxMismatch::ImageButtonClick);
    ConnectGuarded(VornListBox, &TVornListBox::VornListBoxClick, this,
                   &TTaxMismatch::VornListBoxClick);
    ConnectGuarded(VornListBox, &TVornListBox::VornListBoxDblClick, this,
                   &TTaxMismatch::VornListBoxDblClick);
}

void TTaxMismatch::LoadList() {
    if (CurrentSession().Key.TaxonCount > 101 &&
        !AskBeforeRebuild(Kind(), MessageKind::Warning,
                          "Calculating Mismatched States for large keys can require some time.  "
                          "Do you want to continue this operation?")) {
        CloseForm();
        return;
    }
    BusyCursor busy;
    ClearList();
    if (!CurrentSession().Key.KeyOpen) return;
    VornListBox->AddIndics([this] {
        for (int32_t taxon : CurrentSession().TaxaByMismatches())
            VornListBox->AddIndic(TIndicatorObj::IndicTaxon, taxon, TIndicatorObj::CountMismatches);
    });
}

void TTaxMismatch::VornListBoxClick() {
    UpdateButtons();
    VornListBoxDblClick();
}

void TTaxMismatch::VornListBoxDblClick() {
    std::optional<TIndicatorObj> taxon = VornListBox->SelectedIndicator();
    if (!taxon) return;
    Windows().ShowCharMiss(taxon->Index, QString::fromStdString(KeyTextToUtf8(IndicName(*taxon))));
}

void TTaxMismatch::ImageButtonClick() {
    std::optional<TIndicatorObj> taxon = VornListBox->SelectedIndicator();
    if (!taxon || !taxon->ImageName || taxon->ImageName->empty()) return;
    // One message per click, also when the viewers refuse later.
    auto told = std::make_shared<bool>(false);
    for (int number = 1;; ++number) {
        std::string name = GifFileName(*taxon->ImageName, number);
        std::string path = KeyNameToPath(name);
        if (!FileExists(path)) {
            if (number == 1) {
                ShowInformation("Sorry, the image file \"" + KeyTextToUtf8(name) +
                                "\" could not be found.");
            }
            return;
        }
        // One message per click: the pictures after a refused one would be refused too.
        if (!ShellOpenFile(ResolveFileName(path), told)) return;
    }
}

bool ShellOpenFile(const std::string& fileName, std::shared_ptr<bool> toldOnce) {
    return ShowOnDesktop(fileName, std::move(toldOnce));
}

}  // namespace vorn
