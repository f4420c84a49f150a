#include "frame/CountPanel.h"

#include "core/session/Session.h"

namespace vorn {

// At tolerance 0 the panel says what it always said; once mismatches are allowed and
// still nothing matches, it offers one more.
std::string MatchingCountCaption(int32_t count, int tolerance) {
    std::string caption = MatchingCountText(count);
    if (count == 0 && tolerance > 0 && tolerance < kMenuTolerance) {
        caption += ": click to allow " + std::to_string(tolerance + 1);
    } else if (tolerance > 0) {
        caption += ", " + std::to_string(tolerance) + " allowed";
    }
    return caption;
}

bool CountPanelOffersTolerance(const Session& session) {
    return session.Key.KeyOpen && session.MatchingTaxaCount() == 0 && session.Tolerance() > 0 &&
           session.Tolerance() < kMenuTolerance;
}

}  // namespace vorn
