#include "windows/taxa/TaxonNotes.h"

#include "core/platform/FileLookup.h"
#include "core/platform/Messages.h"
#include "core/platform/Text.h"
#include "frame/Indicator.h"
#include "frame/WindowRegistry.h"
#include "windows/taxa/TextWindow.h"

namespace vorn {

TTextForm* ShowTaxonNotes(const TIndicatorObj* indicator) {
    if (!indicator || !indicator->NotesName) return nullptr;
    const std::string& name = *indicator->NotesName;
    // An empty name names no file: FileExists is false for it.
    std::string path = KeyNameToPath(name);
    if (!FileExists(path)) {
        ShowInformation("Sorry, the notes file \"" + KeyTextToUtf8(name) +
                        "\" could not be found.");
        return nullptr;
    }
    auto* form = dynamic_cast<TTextForm*>(Windows().CreateAndShow(WindowKind::TextForm));
    if (!form) return nullptr;
    form->SetCaption("Notes:  " + QString::fromStdString(KeyTextToUtf8(IndicName(*indicator))));
    form->LoadLines(path);
    return form;
}

}  // namespace vorn
