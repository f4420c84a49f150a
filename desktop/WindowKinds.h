#pragma once

#include "frame/WindowManager.h"

namespace vorn {

// The table of window kinds: one row per kind, in the order of WindowKind.
WindowKindTable WindowKinds();

}  // namespace vorn
