#pragma once

#include "frame/WindowRegistry.h"

namespace vorn {

// The table of window kinds: one row per kind, in the order of WindowKind.
WindowKindTable WindowKinds();

}  // namespace vorn
