#pragma once

namespace vorn {

// How taxa are named in lists and captions: one of the three display modes (the others
// are NumberMode and CountMode, in the Session).
enum NameModeValue : int { ScientificNames = 0, CommonNames = 1, BothNames = 2 };

// The Key menu offers tolerances 0 to kMenuTolerance; the settings file keeps the same
// range.
constexpr int kMenuTolerance = 3;

}  // namespace vorn
