#pragma once

#include <optional>
#include <string>

namespace vorn {

// How taxa are named in lists and captions: one of the three display modes (the others
// are NumberMode and CountMode, in the Session).
enum NameModeValue : int { ScientificNames = 0, CommonNames = 1, BothNames = 2 };

// A taxon's name as lists of taxa show it in `mode`: the scientific name; the common name,
// or the scientific one in brackets for a taxon without one; or both, "scientific,
// common", the scientific alone for a taxon without a common name. Bytes as in the key.
inline std::string TaxonListName(const std::string& scientific,
                                 const std::optional<std::string>& common, NameModeValue mode) {
    switch (mode) {
        case CommonNames:
            return common ? *common : "(" + scientific + ")";
        case BothNames:
            return common ? scientific + ", " + *common : scientific;
        default:
            return scientific;
    }
}

// The Key menu offers tolerances 0 to kMenuTolerance; the settings file keeps the same
// range.
constexpr int kMenuTolerance = 3;

}  // namespace vorn
