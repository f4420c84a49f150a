#pragma once

#include <string>

#include "core/platform/Messages.h"
#include "frame/ChildForm.h"

namespace vorn {

// The label of the check box under the question a window asks before a slow rebuild.
inline constexpr const char* kDontAskAgain = "Don't ask again while this key is open";

// Asks `text` with Yes and No before a window of `kind` rebuilds a list that may take long
// on a large key, offering the check box kDontAskAgain; true for Yes. Yes with the box
// checked is remembered for the kind until the key closes or another key opens (compared
// through KeysOpened): until then this answers Yes without asking, also for a window of
// the kind opened anew. No, checked or not, is remembered by nothing: the window closes as
// it always did, and the next window of the kind asks again, since a remembered No would
// close each of them the moment it opened with no way back while the key stays open.
bool AskBeforeRebuild(WindowKind kind, MessageKind messageKind, const std::string& text);

}  // namespace vorn
