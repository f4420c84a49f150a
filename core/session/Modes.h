#pragma once

namespace vorn {

// The three display modes, program-wide. The Mode menu and the settings file set them;
// list items read them each time they are drawn.
enum NameModeValue : int { ScientificNames = 0, CommonNames = 1, BothNames = 2 };

inline bool NumberMode = false;
inline bool CountMode = false;
inline NameModeValue NameMode = ScientificNames;

}  // namespace vorn
