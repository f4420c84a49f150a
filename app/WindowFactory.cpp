// One entry per kind of child window. A kind without an entry has no window in this build;
// the commands that ask for it open nothing.
#include "app/WindowManager.h"

namespace vorn {

TChildForm* CreateChildForm(WindowKind kind) {
    switch (kind) {
        default:
            return nullptr;
    }
}

}  // namespace vorn
