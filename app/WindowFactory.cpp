// One entry per kind of child window. A kind without an entry has no window in this build;
// the commands that ask for it open nothing.
#include "app/WindowManager.h"
#include "charwin/FCActive.h"
#include "charwin/FCIndex.h"
#include "charwin/FCMiss.h"
#include "charwin/FCScore.h"
#include "charwin/FCSubset.h"
#include "taxwin/FTMatch.h"
#include "taxwin/FText.h"

namespace vorn {

TChildForm* CreateChildForm(WindowKind kind) {
    switch (kind) {
        case WindowKind::CharScore:
            return new TCharScore;
        case WindowKind::CharActive:
            return new TCharActive;
        case WindowKind::CharSubset:
            return new TCharSubset;
        case WindowKind::CharMiss:
            return new TCharMiss;
        case WindowKind::CharIndex:
            return new TCharIndex;
        case WindowKind::TaxMatch:
            return new TTaxMatch;
        case WindowKind::TextForm:
            return new TTextForm;
        default:
            return nullptr;
    }
}

}  // namespace vorn
