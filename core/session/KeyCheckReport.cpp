#include "core/session/KeyCheckReport.h"

#include <algorithm>

#include "core/key/KeyFiles.h"

namespace vorn {
namespace {

std::string Numbered(int32_t index, const std::string& name) {
    return std::to_string(index + 1) + ". " + name;
}

std::string TaxonLine(KeyRecord& key, int32_t taxon) {
    return Numbered(taxon, SplitTaxonRecord(key.ReadTaxonName(taxon)).Text);
}

std::string StateLine(KeyRecord& key, int32_t state) {
    return Numbered(state, key.ReadStateText(state));
}

// A heading with the list's length, then at most `most` lines made by `line`.
template <class Items, class Line>
void AddList(std::string& text, const std::string& heading, const Items& items, size_t most,
             Line line) {
    text += "\n" + heading + ": " + std::to_string(items.size()) + "\n";
    if (items.empty()) text += "  (none)\n";
    size_t shown = std::min(items.size(), most);
    for (size_t i = 0; i < shown; ++i)
        text += "  " + line(items[i]) + "\n";
    if (items.size() > shown)
        text += "  ... and " + std::to_string(items.size() - shown) + " more\n";
}

}  // namespace

std::string KeyCheckText(KeyRecord& key, const KeyCheck& check, size_t listLines) {
    std::string text =
        "Taxa " + std::to_string(key.TaxonCount) + ", states " + std::to_string(key.StateCount) +
        ". Pairs of taxa no state separates for certain: " +
        std::to_string(check.InseparablePairs.size()) +
        ". States no taxon has: " + std::to_string(check.StatesNoTaxonHas.size()) +
        ". States every taxon has: " + std::to_string(check.StatesEveryTaxonHas.size()) +
        ". Taxa without \"+\": " + std::to_string(check.TaxaWithoutPresent.size()) + ".\n";
    if (!check.Complete) {
        std::string done = std::to_string(check.TaxaDone);
        text += "Cancelled after " + done + " of " + std::to_string(key.TaxonCount) +
                " taxa: the pairs below are those that include one of the first " + done +
                " taxa.\n";
    }
    AddList(
        text,
        "Pairs of taxa that no state separates for certain (\"+\" for one, \"-\" for the other)",
        check.InseparablePairs, listLines, [&key](const std::pair<int32_t, int32_t>& pair) {
            return TaxonLine(key, pair.first) + "  and  " + TaxonLine(key, pair.second);
        });
    auto stateLine = [&key](int32_t state) { return StateLine(key, state); };
    auto taxonLine = [&key](int32_t taxon) { return TaxonLine(key, taxon); };
    AddList(text, "States that no taxon has (no \"+\" or \"*\")", check.StatesNoTaxonHas, listLines,
            stateLine);
    AddList(text, "States that every taxon has (all \"+\")", check.StatesEveryTaxonHas, listLines,
            stateLine);
    AddList(text, "Taxa with no state coded \"+\"", check.TaxaWithoutPresent, listLines, taxonLine);
    return text;
}

}  // namespace vorn
