// One entry per kind of child window. A kind without an entry has no window in this build;
// the commands that ask for it open nothing.
#include "app/WindowManager.h"
#include "taxwin/FTMatch.h"
#include "taxwin/FText.h"

namespace vorn {

TChildForm* CreateChildForm(WindowKind kind) {
    switch (kind) {
        case WindowKind::TaxMatch:
            return new TTaxMatch;
        case WindowKind::TextForm:
            return new TTextForm;
        default:
            return nullptr;
    }
}

}  // namespace vorn
