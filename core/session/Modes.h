#pragma once

namespace vorn {

// The three display modes, program-wide. The Mode menu and the settings file set them;
// list items read them each time they are drawn.
enum NameModeValue : int { ScientificNames = 0, CommonNames = 1, BothNames = 2 };

inline bool NumberMode = false;
inline bool CountMode = false;
inline NameModeValue NameMode = ScientificNames;

// How many mismatches a taxon may have and still match: a mode like the others, kept in
// the settings and applied to every key that opens. The Key menu offers 0 to
// kMenuTolerance; the settings file keeps the same range.
constexpr int kMenuTolerance = 3;
inline int ToleranceMode = 0;

}  // namespace vorn
