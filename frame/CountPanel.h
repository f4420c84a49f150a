#pragma once

#include <cstdint>
#include <string>

namespace vorn {

class Session;

// The words of the count panel for `count` matching taxa at `tolerance` mismatches:
// "12 Taxa Match"; above 0 "12 Taxa Match, 2 allowed"; with no taxon left, some
// mismatches already allowed and more on the menu, "0 Taxa Match: click to allow 2"
// (one more than now).
std::string MatchingCountCaption(int32_t count, int tolerance);

// True when the count panel offers one more mismatch: a key open, no taxon matching, and
// the tolerance above 0 and below the menu's highest.
bool CountPanelOffersTolerance(const Session& session);

}  // namespace vorn
